#pragma once
// Finds the plug-in module the command loads when --plugin does not name one: Brelvane.so next
// to the executable, else in the build tree's adapters/vst2 or modules/vst2 folder beside the
// executable's.
#include <string>
#include <vector>

namespace brel::cmd {

std::vector<std::string> DefaultPluginCandidates(const std::string& executableDir);

// The --plugin path when given, else the first existing candidate; false with an error
// listing the places looked at when none exists.
bool LocatePlugin(const std::string& pluginOption, const std::string& executableDir, std::string& path,
                  std::string& error);

}  // namespace brel::cmd
