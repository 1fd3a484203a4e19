// A loaded shared library (a plug-in module of any format): checked, opened by path, its exported
// functions looked up, released. One implementation per platform (hosts/module/linux,
// hosts/module/win).
#pragma once

#include <string>

namespace brel {

class LoadedModule {
public:
  using Function = void (*)();

  LoadedModule() = default;
  ~LoadedModule() { Close(); }
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  // False with a message naming the path and the system's reason when the module cannot load.
  bool Open(const std::string& path, std::string& error);
  // The exported function of that name, or null.
  Function Find(const char* name) const;
  // The exported data of that name (a CLAP module's clap_entry record), or null.
  const void* FindData(const char* name) const;
  void Close();
  bool IsOpen() const { return mHandle != nullptr; }

private:
  void* mHandle = nullptr;
};

}  // namespace brel
