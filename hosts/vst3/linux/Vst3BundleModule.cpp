// On Linux the loader opens Contents/<machine>-linux/<bundle name>.so, the machine as uname
// names it, and takes nothing but a bundle folder.
#include <sys/utsname.h>

#include <filesystem>

#include "hosts/vst3/Vst3BundleModule.h"

namespace brel {

std::string Vst3ModuleFileOf(const std::string& path) {
  std::error_code error;
  struct utsname names {};
  if (!std::filesystem::is_directory(path, error) || ::uname(&names) != 0) return std::string();
  const std::filesystem::path bundle(path);
  return (bundle / "Contents" / (std::string(names.machine) + "-linux") / bundle.stem()).string() + ".so";
}

}  // namespace brel
