// On Windows the loader opens Contents/<architecture>-win/<bundle name> inside a bundle folder,
// and any other path as the DLL itself.
#include <filesystem>

#include "hosts/vst3/Vst3BundleModule.h"

namespace brel {
namespace {

#if defined(__x86_64__) || defined(_M_X64)
constexpr const char* kArchitecture = "x86_64-win";
#elif defined(__aarch64__) || defined(_M_ARM64)
constexpr const char* kArchitecture = "arm64-win";
#elif defined(__i386__) || defined(_M_IX86)
constexpr const char* kArchitecture = "x86-win";
#else
#error "unknown machine: name its VST3 architecture folder here"
#endif

}  // namespace

std::string Vst3ModuleFileOf(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_directory(path, error)) return path;
  const std::filesystem::path bundle(path);
  return (bundle / "Contents" / kArchitecture / bundle.filename()).string();
}

}  // namespace brel
