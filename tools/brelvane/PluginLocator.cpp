#include "tools/brelvane/PluginLocator.h"

#include <sys/stat.h>

namespace brel::cmd {
namespace {

const char* const kModuleName = "Brelvane.so";
const char* const kBundleName = "Brelvane.vst3";

bool Exists(const std::string& path, PluginApi api) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  return api == PluginApi::Vst3 ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode);
}

std::string Listed(const std::vector<std::string>& candidates) {
  std::string list;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    if (i > 0) list += i + 1 == candidates.size() ? " and " : ", ";
    list += candidates[i];
  }
  return list;
}

}  // namespace

std::vector<std::string> DefaultPluginCandidates(const std::string& executableDir, PluginApi api) {
  std::string dir = executableDir.empty() ? "." : executableDir;
  if (api == PluginApi::Vst3) return {dir + "/" + kBundleName, dir + "/../modules/vst3/" + kBundleName};
  return {dir + "/" + kModuleName, dir + "/../adapters/vst2/" + kModuleName,
          dir + "/../modules/vst2/" + kModuleName};
}

bool IsVst3Bundle(const std::string& path) {
  std::string name = path;
  while (name.size() > 1 && name.back() == '/') name.pop_back();
  const std::string suffix = ".vst3";
  return name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool LocatePlugin(const std::string& pluginOption, const std::string& executableDir, std::string& path,
                  std::string& error, std::optional<PluginApi> api) {
  if (!pluginOption.empty()) {
    if (api && (*api == PluginApi::Vst3) != IsVst3Bundle(pluginOption)) {
      error = *api == PluginApi::Vst3
                  ? "--api vst3 needs a VST3 bundle (a folder NAME.vst3), not '" + pluginOption + "'"
                  : "--api vst2 needs a VST2 module, not the VST3 bundle '" + pluginOption + "'";
      return false;
    }
    path = pluginOption;
    return true;
  }
  const PluginApi kind = api.value_or(PluginApi::Vst2);
  std::vector<std::string> candidates = DefaultPluginCandidates(executableDir, kind);
  for (const std::string& candidate : candidates)
    if (Exists(candidate, kind)) {
      path = candidate;
      return true;
    }
  error = "cannot find the plug-in (looked for " + Listed(candidates) + "); name it with --plugin PATH";
  return false;
}

}  // namespace brel::cmd
