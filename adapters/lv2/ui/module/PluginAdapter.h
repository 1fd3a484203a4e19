#pragma once
// Which adapter the plug-in class derives from in the LV2 UI binary: the editor's own, whose
// instance is the model the editor shows.
#include "adapters/lv2/ui/IPlugLV2UI.h"

using PluginAdapter = IPlugLV2UI;
using PluginInstanceInfo = IPlugLV2UIInstanceInfo;
