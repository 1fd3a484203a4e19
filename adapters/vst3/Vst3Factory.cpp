// The VST3 module's factory: the maker's information, the one plug-in class and its creation.

#include <mutex>

#include "adapters/vst3/IPlugVST3.h"
#include "adapters/vst3/Vst3ClassInfo.h"
#include "core/AudioPath.h"
#include "public.sdk/source/main/pluginfactory.h"

using namespace Steinberg;

namespace {

// Serialises construction across every thread of the host: the constructor fills caches the
// whole module shares. Created on first use, thread-safely.
std::mutex& CreationLock() {
  static std::mutex lock;
  return lock;
}

FUnknown* CreatePlug(void*) {
  BREL_EXPECT_OFF_AUDIO_PATH("plug-in construction");
  std::lock_guard<std::mutex> guard(CreationLock());
  IPlugVST3* plug = nullptr;
  try {
    plug = MakePlug(IPlugVST3InstanceInfo{});
  } catch (...) {
    // Out of memory while building the instance: the host is told there is none.
    return nullptr;
  }
  // The object's first reference goes to the factory, which asks it for the host's interface.
  return plug ? static_cast<Vst::IAudioProcessor*>(plug) : nullptr;
}

}  // namespace

// The factory lives while the host holds it; the last release clears it, and the next call
// builds a new one.
SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory() {
  if (gPluginFactory) {
    gPluginFactory->addRef();
    return gPluginFactory;
  }
  static PFactoryInfo factoryInfo(vst3module::kVendor, vst3module::kUrl, vst3module::kEmail,
                                  PFactoryInfo::kUnicode);
  static PClassInfo2 classInfo(reinterpret_cast<const char8*>(vst3module::kClassId),
                               PClassInfo::kManyInstances, vst3module::kCategory, vst3module::kName,
                               Vst::kSimpleModeSupported, vst3module::kSubCategories, "",
                               vst3module::kVersion, vst3module::kSdkVersion);
  gPluginFactory = new CPluginFactory(factoryInfo);
  gPluginFactory->registerClass(&classInfo, CreatePlug);
  return gPluginFactory;
}
