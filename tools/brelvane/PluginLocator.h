#pragma once
// Finds the plug-in the command loads when --plugin does not name one: the module of the --api
// kind (Brelvane.so, the bundle Brelvane.vst3, Brelvane.clap, the bundle Brelvane.lv2) next to
// the executable, else in the build tree's folder of that kind beside the executable's
// (modules/vst2 or adapters/vst2, modules/vst3, modules/clap, modules/lv2), else where an install
// put it (lib/vst, lib/vst3, lib/clap, lib/lv2 beside the executable's folder, or the user's
// ~/.vst, ~/.vst3, ~/.clap, ~/.lv2).
#include <optional>
#include <string>
#include <vector>

#include "tools/brelvane/CommandLine.h"

namespace brel::cmd {

// homeDir empty: no user folders.
std::vector<std::string> DefaultPluginCandidates(const std::string& executableDir,
                                                 PluginApi api = PluginApi::Vst2,
                                                 const std::string& homeDir = "");

// A VST3 plug-in is a bundle, a folder whose name ends in ".vst3"; an LV2 plug-in one whose name
// ends in ".lv2"; a CLAP plug-in a module file whose name ends in ".clap"; anything else is taken
// for a VST2 module.
bool IsVst3Bundle(const std::string& path);
PluginApi ApiOfPath(const std::string& path);

// The --plugin path when given (which must be of the --api kind when that is given too), without
// trailing slashes ("/" stays "/"), else the first existing candidate of the --api kind; false
// with an error listing the places looked at when none exists.
bool LocatePlugin(const std::string& pluginOption, const std::string& executableDir,
                  const std::string& homeDir, std::string& path, std::string& error,
                  std::optional<PluginApi> api = std::nullopt);
// The same, looking in no user folders.
inline bool LocatePlugin(const std::string& pluginOption, const std::string& executableDir, std::string& path,
                         std::string& error, std::optional<PluginApi> api = std::nullopt) {
  return LocatePlugin(pluginOption, executableDir, "", path, error, api);
}

}  // namespace brel::cmd
