#pragma once
// Which editor class the plug-in creates on this platform.
#include "editor/win/IGraphicsWin.h"

using EditorWindowHost = IGraphicsWin;
