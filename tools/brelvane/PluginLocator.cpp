#include "tools/brelvane/PluginLocator.h"

#include <sys/stat.h>

namespace brel::cmd {
namespace {

// Where each kind lives: its file or folder name, the build tree's folder, the installed folder
// beside the executable's, the user's own folder.
struct KindPlaces {
  const char* name;
  const char* built;
  const char* installed;
  const char* user;
};

const KindPlaces& PlacesOf(PluginApi api) {
  static const KindPlaces kVst2{"Brelvane.so", "/../modules/vst2/", "/../lib/vst/", "/.vst/"};
  static const KindPlaces kVst3{"Brelvane.vst3", "/../modules/vst3/", "/../lib/vst3/", "/.vst3/"};
  static const KindPlaces kClap{"Brelvane.clap", "/../modules/clap/", "/../lib/clap/", "/.clap/"};
  static const KindPlaces kLv2{"Brelvane.lv2", "/../modules/lv2/", "/../lib/lv2/", "/.lv2/"};
  switch (api) {
    case PluginApi::Vst3: return kVst3;
    case PluginApi::Clap: return kClap;
    case PluginApi::Lv2: return kLv2;
    case PluginApi::Vst2: break;
  }
  return kVst2;
}

// VST3 and LV2 plug-ins are bundles, folders; the others module files.
bool IsBundleKind(PluginApi api) { return api == PluginApi::Vst3 || api == PluginApi::Lv2; }

bool Exists(const std::string& path, PluginApi api) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  return IsBundleKind(api) ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode);
}

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() > suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// How messages name each kind: its --api word, what a path of it is, and one such path.
struct KindNames {
  const char* api;
  const char* path;
  const char* the;
};

const KindNames& NamesOf(PluginApi api) {
  static const KindNames kVst2{"vst2", "a VST2 module", "the VST2 module"};
  static const KindNames kVst3{"vst3", "a VST3 bundle (a folder NAME.vst3)", "the VST3 bundle"};
  static const KindNames kClap{"clap", "a CLAP module (a file NAME.clap)", "the CLAP module"};
  static const KindNames kLv2{"lv2", "an LV2 bundle (a folder NAME.lv2)", "the LV2 bundle"};
  switch (api) {
    case PluginApi::Vst3: return kVst3;
    case PluginApi::Clap: return kClap;
    case PluginApi::Lv2: return kLv2;
    case PluginApi::Vst2: break;
  }
  return kVst2;
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
  const KindPlaces& places = PlacesOf(api);
  // A command in a build tree takes that tree's module before any installed one.
  std::vector<std::string> candidates = {dir + "/" + places.name};
  if (api == PluginApi::Vst2) candidates.push_back(dir + "/../adapters/vst2/" + places.name);
  candidates.push_back(dir + places.built + places.name);
  candidates.push_back(dir + places.installed + places.name);
  if (!homeDir.empty()) candidates.push_back(homeDir + places.user + places.name);
  return candidates;
}

bool IsVst3Bundle(const std::string& path) { return EndsWith(WithoutTrailingSlashes(path), ".vst3"); }

PluginApi ApiOfPath(const std::string& path) {
  if (IsVst3Bundle(path)) return PluginApi::Vst3;
  if (EndsWith(WithoutTrailingSlashes(path), ".lv2")) return PluginApi::Lv2;
  return EndsWith(path, ".clap") ? PluginApi::Clap : PluginApi::Vst2;
}

bool LocatePlugin(const std::string& pluginOption, const std::string& executableDir,
                  const std::string& homeDir, std::string& path, std::string& error,
                  std::optional<PluginApi> api) {
  if (!pluginOption.empty()) {
    const std::string plugin = WithoutTrailingSlashes(pluginOption);
    const PluginApi given = ApiOfPath(plugin);
    if (api && *api != given) {
      error = std::string("--api ") + NamesOf(*api).api + " needs " + NamesOf(*api).path + ", not " +
              (given == PluginApi::Vst2 ? "'" + plugin + "'" : NamesOf(given).the + (" '" + plugin + "'"));
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
