#pragma once
// Where the shared library of a VST3 bundle lies on this platform, found as the SDK's loader
// finds it, so the file can be checked before that loader maps it. One implementation per
// platform (hosts/vst3/linux, hosts/vst3/win).
#include <string>

namespace brel {

// The module file the SDK's loader would open for `path` (a bundle folder, or on Windows also
// a module file given directly); empty when the loader would refuse `path` without opening
// anything.
std::string Vst3ModuleFileOf(const std::string& path);

}  // namespace brel
