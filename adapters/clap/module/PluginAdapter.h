#pragma once
// Which adapter the plug-in class derives from in this module: the CLAP one.
#include "adapters/clap/IPlugCLAP.h"

using PluginAdapter = IPlugCLAP;
using PluginInstanceInfo = IPlugCLAPInstanceInfo;
