#include "tools/brelvane/PluginLoader.h"

#include "tools/brelvane/PluginLocator.h"
#include "tools/brelvane/Vst3PluginPort.h"
#include "tools/brelvane/VstPluginPort.h"

namespace brel::cmd {

std::unique_ptr<PluginPort> LoadPlugin(const std::string& path, std::string& error) {
  return IsVst3Bundle(path) ? LoadVst3Plugin(path, error) : LoadVstPlugin(path, error);
}

}  // namespace brel::cmd
