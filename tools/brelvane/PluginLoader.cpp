#include "tools/brelvane/PluginLoader.h"

#include "tools/brelvane/ClapPluginPort.h"
#include "tools/brelvane/PluginLocator.h"
#include "tools/brelvane/Vst3PluginPort.h"
#include "tools/brelvane/VstPluginPort.h"

namespace brel::cmd {

std::unique_ptr<PluginPort> LoadPlugin(const std::string& path, std::string& error) {
  switch (ApiOfPath(path)) {
    case PluginApi::Vst3: return LoadVst3Plugin(path, error);
    case PluginApi::Clap: return LoadClapPlugin(path, error);
    case PluginApi::Vst2: break;
  }
  return LoadVstPlugin(path, error);
}

}  // namespace brel::cmd
