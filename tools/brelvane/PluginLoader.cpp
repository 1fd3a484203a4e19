#include "tools/brelvane/PluginLoader.h"

#include "tools/brelvane/ClapPluginPort.h"
#if BREL_CMD_HOSTS_LV2
#include "tools/brelvane/Lv2PluginPort.h"
#endif
#include "tools/brelvane/PluginLocator.h"
#include "tools/brelvane/Vst3PluginPort.h"
#include "tools/brelvane/VstPluginPort.h"

namespace brel::cmd {

std::unique_ptr<PluginPort> LoadPlugin(const std::string& path, std::string& error) {
  switch (ApiOfPath(path)) {
    case PluginApi::Vst3: return LoadVst3Plugin(path, error);
    case PluginApi::Clap: return LoadClapPlugin(path, error);
    case PluginApi::Lv2:
#if BREL_CMD_HOSTS_LV2
      return LoadLv2Plugin(path, error);
#else
      error = "this build of the command hosts no LV2 plug-ins";
      return nullptr;
#endif
    case PluginApi::Vst2: break;
  }
  return LoadVstPlugin(path, error);
}

}  // namespace brel::cmd
