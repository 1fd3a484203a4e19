#pragma once
// The command's plug-in port over the LV2 host library: a render is an offline host.
#include <memory>
#include <string>

#include "tools/brelvane/PluginPort.h"

namespace brel::cmd {

// Loads the bundle folder at `path` and instantiates its stereo plug-in (the mono one once one
// channel is asked for); null with an error when that fails.
std::unique_ptr<PluginPort> LoadLv2Plugin(const std::string& path, std::string& error);

}  // namespace brel::cmd
