#pragma once
// Which adapter the plug-in class derives from in this module: the LV2 one.
#include "adapters/lv2/IPlugLV2.h"

using PluginAdapter = IPlugLV2;
using PluginInstanceInfo = IPlugLV2InstanceInfo;
