// A loaded shared library (a plug-in module): open by path, look up exported functions, release.
// One implementation per platform (hosts/vst2/linux, hosts/vst2/win).
#pragma once

#include <string>

namespace brel {

class VstModule {
public:
  using Function = void (*)();

  VstModule() = default;
  ~VstModule() { Close(); }
  VstModule(const VstModule&) = delete;
  VstModule& operator=(const VstModule&) = delete;

  // False with a message naming the path and the system's reason when the module cannot load.
  bool Open(const std::string& path, std::string& error);
  // The exported function of that name, or null.
  Function Find(const char* name) const;
  void Close();
  bool IsOpen() const { return mHandle != nullptr; }

private:
  void* mHandle = nullptr;
};

}  // namespace brel
