// Modules on Windows are DLLs loaded with LoadLibraryA.
#include "hosts/module/LoadedModule.h"

#include <windows.h>

#include <algorithm>

#include "hosts/module/ModuleFile.h"

namespace brel {

namespace {

std::string SystemMessage(DWORD code) {
  char text[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                      code, 0, text, sizeof(text) - 1, nullptr);
  std::string message(text, length);
  while (!message.empty() &&
         (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' || message.back() == '.'))
    message.pop_back();
  if (message.empty()) message = "system error " + std::to_string(code);
  return message;
}

}  // namespace

bool LoadedModule::Open(const std::string& path, std::string& error) {
  Close();
  // LoadLibraryA wants backslashes; paths from scripts and build files often carry slashes.
  std::string file = path;
  std::replace(file.begin(), file.end(), '/', '\\');
  std::string why;
  if (!CheckModuleFile(file, why)) {
    error = "cannot load module '" + path + "': the file " + why;
    return false;
  }
  // No error dialog for a missing or broken DLL: the caller reports the failure itself.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA(file.c_str());
  const DWORD code = GetLastError();
  SetErrorMode(oldMode);
  if (module == nullptr) {
    error = "cannot load module '" + path + "': " + SystemMessage(code);
    return false;
  }
  mHandle = reinterpret_cast<void*>(module);
  return true;
}

LoadedModule::Function LoadedModule::Find(const char* name) const {
  if (mHandle == nullptr || name == nullptr) return nullptr;
  return reinterpret_cast<Function>(GetProcAddress(static_cast<HMODULE>(mHandle), name));
}

const void* LoadedModule::FindData(const char* name) const {
  if (mHandle == nullptr || name == nullptr) return nullptr;
  return reinterpret_cast<const void*>(GetProcAddress(static_cast<HMODULE>(mHandle), name));
}

void LoadedModule::Close() {
  if (mHandle != nullptr) FreeLibrary(static_cast<HMODULE>(mHandle));
  mHandle = nullptr;
}

}  // namespace brel
