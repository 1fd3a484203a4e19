// Modules on Linux are ELF shared objects opened with the dynamic loader.
#include "hosts/module/LoadedModule.h"

#include <dlfcn.h>

#include "hosts/module/ModuleFile.h"

namespace brel {

bool LoadedModule::Open(const std::string& path, std::string& error) {
  Close();
  // A bare file name would make the loader search the library path; a host means the file itself.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  std::string why;
  if (!CheckModuleFile(file, why)) {
    error = "cannot load module '" + path + "': the file " + why;
    return false;
  }
  mHandle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (mHandle == nullptr) {
    const char* reason = dlerror();
    error = "cannot load module '" + path + "': " + (reason != nullptr ? reason : "unknown reason");
    return false;
  }
  return true;
}

LoadedModule::Function LoadedModule::Find(const char* name) const {
  if (mHandle == nullptr || name == nullptr) return nullptr;
  return reinterpret_cast<Function>(dlsym(mHandle, name));
}

const void* LoadedModule::FindData(const char* name) const {
  if (mHandle == nullptr || name == nullptr) return nullptr;
  return dlsym(mHandle, name);
}

void LoadedModule::Close() {
  if (mHandle != nullptr) dlclose(mHandle);
  mHandle = nullptr;
}

}  // namespace brel
