#pragma once
// The command's plug-in port over the CLAP host library: a render is an offline host.
#include <memory>
#include <string>

#include "tools/brelvane/PluginPort.h"

namespace brel::cmd {

// Loads the module at `path` and creates its plug-in; null with an error when that fails.
std::unique_ptr<PluginPort> LoadClapPlugin(const std::string& path, std::string& error);

}  // namespace brel::cmd
