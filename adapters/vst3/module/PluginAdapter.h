#pragma once
// Which adapter the plug-in class derives from in this module: the VST3 one.
#include "adapters/vst3/IPlugVST3.h"

using PluginAdapter = IPlugVST3;
using PluginInstanceInfo = IPlugVST3InstanceInfo;
