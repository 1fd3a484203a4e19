#include "tools/brelvane/PluginLocator.h"

#include <sys/stat.h>

namespace brel::cmd {
namespace {

const char* const kModuleName = "Brelvane.so";

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::vector<std::string> DefaultPluginCandidates(const std::string& executableDir) {
  std::string dir = executableDir.empty() ? "." : executableDir;
  return {dir + "/" + kModuleName, dir + "/../adapters/vst2/" + kModuleName,
          dir + "/../modules/vst2/" + kModuleName};
}

bool LocatePlugin(const std::string& pluginOption, const std::string& executableDir, std::string& path,
                  std::string& error) {
  if (!pluginOption.empty()) {
    path = pluginOption;
    return true;
  }
  std::vector<std::string> candidates = DefaultPluginCandidates(executableDir);
  for (const std::string& candidate : candidates)
    if (IsFile(candidate)) {
      path = candidate;
      return true;
    }
  error = "cannot find the plug-in (looked for " + candidates[0] + ", " + candidates[1] + " and " +
          candidates[2] + "); name it with --plugin PATH";
  return false;
}

}  // namespace brel::cmd
