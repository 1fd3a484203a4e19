// Writes a bundle's moduleinfo.json, the description of its classes that current hosts read
// instead of loading the module: vst3_moduleinfo BUNDLE OUTPUT. It loads the module as a host
// does and describes what the factory really answers; the module's version is its first
// class's.

#include <fstream>
#include <iostream>
#include <string>

#include "public.sdk/source/vst/hosting/module.h"
#include "public.sdk/source/vst/moduleinfo/moduleinfocreator.h"

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::cerr << "usage: vst3_moduleinfo BUNDLE OUTPUT\n";
    return 2;
  }
  const std::string bundle = argv[1];
  std::string error;
  VST3::Hosting::Module::Ptr module = VST3::Hosting::Module::create(bundle, error);
  if (!module) {
    std::cerr << "vst3_moduleinfo: cannot load '" << bundle << "': " << error << "\n";
    return 1;
  }
  Steinberg::ModuleInfo info = Steinberg::ModuleInfoLib::createModuleInfo(*module, false);
  if (!info.classes.empty()) info.version = info.classes.front().version;
  std::ofstream output(argv[2], std::ios::binary | std::ios::trunc);
  Steinberg::ModuleInfoLib::outputJson(info, output);
  output.close();
  if (!output) {
    std::cerr << "vst3_moduleinfo: cannot write '" << argv[2] << "'\n";
    return 1;
  }
  return 0;
}
