#pragma once
// Which editor class the plug-in creates on this platform.
#include "editor/linux/IGraphicsLinux.h"

using EditorWindowHost = IGraphicsLinux;
