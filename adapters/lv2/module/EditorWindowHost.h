#pragma once
// The LV2 plug-in binary opens no window: its editor is the bundle's UI binary. The plug-in class
// still builds its editor model here (the meters' feeds live in it), drawn nowhere.
#include "editor/EmbeddedImageGraphics.h"

using EditorWindowHost = EmbeddedImageGraphics;
