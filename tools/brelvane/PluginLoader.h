#pragma once
// Loads the plug-in at a located path with the host of its kind: a VST3 bundle through the VST3
// host library, a .clap module through the CLAP host library, an LV2 bundle (where this build hosts
// LV2) through the LV2 host library, anything else as a VST2 module.
#include <memory>
#include <string>

#include "tools/brelvane/PluginPort.h"

namespace brel::cmd {

std::unique_ptr<PluginPort> LoadPlugin(const std::string& path, std::string& error);

}  // namespace brel::cmd
