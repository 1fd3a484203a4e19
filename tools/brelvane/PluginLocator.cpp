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

// Shell completion writes a folder with a trailing slash; the bundle's name is the last
// component without it (the VST3 loader derives the module's file name from it).
std::string WithoutTrailingSlashes(const std::string& path) {
  std::string::size_type end = path.find_last_not_of('/');
  return end == std::string::npos ? path.substr(0, 1) : path.substr(0, end + 1);
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

std::vector<std::string> DefaultPluginCandidates(const std::string& executableDir, PluginApi api,
                                                 const std::string& homeDir) {
  const std::string dir = executableDir.empty() ? "." : executableDir;
  const bool bundle = api == PluginApi::Vst3;
  const std::string name = bundle ? kBundleName : kModuleName;
  // A command in a build tree takes that tree's module before any installed one.
  std::vector<std::string> candidates = {dir + "/" + name};
  if (!bundle) candidates.push_back(dir + "/../adapters/vst2/" + name);
  candidates.push_back(dir + (bundle ? "/../modules/vst3/" : "/../modules/vst2/") + name);
  candidates.push_back(dir + (bundle ? "/../lib/vst3/" : "/../lib/vst/") + name);
  if (!homeDir.empty()) candidates.push_back(homeDir + (bundle ? "/.vst3/" : "/.vst/") + name);
  return candidates;
}

bool IsVst3Bundle(const std::string& path) {
  const std::string name = WithoutTrailingSlashes(path);
  const std::string suffix = ".vst3";
  return name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool LocatePlugin(const std::string& pluginOption, const std::string& executableDir,
                  const std::string& homeDir, std::string& path, std::string& error,
                  std::optional<PluginApi> api) {
  if (!pluginOption.empty()) {
    const std::string plugin = WithoutTrailingSlashes(pluginOption);
    if (api && (*api == PluginApi::Vst3) != IsVst3Bundle(plugin)) {
      error = *api == PluginApi::Vst3
                  ? "--api vst3 needs a VST3 bundle (a folder NAME.vst3), not '" + plugin + "'"
                  : "--api vst2 needs a VST2 module, not the VST3 bundle '" + plugin + "'";
      return false;
    }
    path = plugin;
    return true;
  }
  const PluginApi kind = api.value_or(PluginApi::Vst2);
  std::vector<std::string> candidates = DefaultPluginCandidates(executableDir, kind, homeDir);
  for (const std::string& candidate : candidates)
    if (Exists(candidate, kind)) {
      path = candidate;
      return true;
    }
  error = "cannot find the plug-in (looked for " + Listed(candidates) + "); name it with --plugin PATH";
  return false;
}

}  // namespace brel::cmd
