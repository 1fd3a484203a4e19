#pragma once
// Finds the plug-in the command loads when --plugin does not name one. The VST2 module:
// Brelvane.so next to the executable, else in the build tree's adapters/vst2 or modules/vst2
// folder beside the executable's. The VST3 bundle: Brelvane.vst3 next to the executable, else in
// the build tree's modules/vst3 folder.
#include <optional>
#include <string>
#include <vector>

#include "tools/brelvane/CommandLine.h"

namespace brel::cmd {

std::vector<std::string> DefaultPluginCandidates(const std::string& executableDir,
                                                 PluginApi api = PluginApi::Vst2);

// A VST3 plug-in is a bundle, a folder whose name ends in ".vst3"; anything else is taken for a
// VST2 module.
bool IsVst3Bundle(const std::string& path);

// The --plugin path when given (which must be of the --api kind when that is given too), without
// trailing slashes ("/" stays "/"), else the first existing candidate of the --api kind; false
// with an error listing the places looked at when none exists.
bool LocatePlugin(const std::string& pluginOption, const std::string& executableDir, std::string& path,
                  std::string& error, std::optional<PluginApi> api = std::nullopt);

}  // namespace brel::cmd
