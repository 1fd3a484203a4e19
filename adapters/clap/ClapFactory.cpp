// The CLAP module's entry and plug-in factory: the one plug-in's descriptor and the creation of
// its instances. The entry's init and deinit may come in pairs more than once; they are counted.

#include <cstring>
#include <mutex>

#include "adapters/clap/ClapDescriptor.h"
#include "adapters/clap/IPlugCLAP.h"
#include "core/AudioPath.h"

namespace {

const clap_plugin_descriptor_t kDescriptor = {
    CLAP_VERSION,
    clapmodule::kPluginId,
    clapmodule::kName,
    clapmodule::kVendor,
    clapmodule::kUrl,
    "",
    "",
    clapmodule::kVersion,
    clapmodule::kDescription,
    clapmodule::kFeatures,
};

// Serialises construction of instances across every thread of the host: the constructor fills
// caches the whole module shares. Created on first use, thread-safely.
std::mutex& ConstructionLock() {
  static std::mutex lock;
  return lock;
}

std::mutex& EntryLock() {
  static std::mutex lock;
  return lock;
}
int gEntryCount = 0;  // init calls not yet matched by a deinit, under EntryLock

bool IsEntered() {
  std::lock_guard<std::mutex> hold(EntryLock());
  return gEntryCount > 0;
}

std::uint32_t CLAP_ABI PluginCount(const clap_plugin_factory_t* factory) noexcept { return factory ? 1 : 0; }

const clap_plugin_descriptor_t* CLAP_ABI PluginDescriptor(const clap_plugin_factory_t* factory,
                                                          std::uint32_t index) noexcept {
  return factory && index == 0 ? &kDescriptor : nullptr;
}

// No host call is made here: the instance asks for the host's extensions in its init.
const clap_plugin_t* CLAP_ABI CreatePlugin(const clap_plugin_factory_t* factory, const clap_host_t* host,
                                           const char* pluginId) noexcept {
  if (!factory || !host || !pluginId || std::strcmp(pluginId, kDescriptor.id) != 0) return nullptr;
  if (!clap_version_is_compatible(host->clap_version) || !IsEntered()) return nullptr;
  BREL_EXPECT_OFF_AUDIO_PATH("plug-in construction");
  try {
    std::lock_guard<std::mutex> guard(ConstructionLock());
    IPlugCLAP* plug = MakePlug(IPlugCLAPInstanceInfo{host, &kDescriptor});
    return plug ? plug->ClapPlugin() : nullptr;
  } catch (...) {
    // Out of memory while building the instance: the host is told there is none.
    return nullptr;
  }
}

const clap_plugin_factory_t kFactory = {PluginCount, PluginDescriptor, CreatePlugin};

bool CLAP_ABI EntryInit(const char*) noexcept {
  std::lock_guard<std::mutex> hold(EntryLock());
  ++gEntryCount;
  return true;
}

void CLAP_ABI EntryDeinit() noexcept {
  std::lock_guard<std::mutex> hold(EntryLock());
  if (gEntryCount > 0) --gEntryCount;
}

// The factory is there for an entered module only.
const void* CLAP_ABI EntryFactory(const char* factoryId) noexcept {
  if (!factoryId || std::strcmp(factoryId, CLAP_PLUGIN_FACTORY_ID) != 0 || !IsEntered()) return nullptr;
  return &kFactory;
}

}  // namespace

extern "C" CLAP_EXPORT const clap_plugin_entry_t clap_entry = {CLAP_VERSION, EntryInit, EntryDeinit,
                                                               EntryFactory};
