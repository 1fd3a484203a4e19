#pragma once
// Which adapter the plug-in class derives from in this module: the VST2 one.
#include "adapters/vst2/IPlugVST.h"

using PluginAdapter = IPlugVST;
using PluginInstanceInfo = IPlugInstanceInfo;
