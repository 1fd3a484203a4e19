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

// The SDK's factory, answering a careless host's missing pointers instead of writing or
// reading through them.
class Vst3PluginFactory : public CPluginFactory {
public:
  using CPluginFactory::CPluginFactory;

  tresult PLUGIN_API queryInterface(FIDString iid, void** obj) noexcept override {
    if (!obj) return kInvalidArgument;
    return CPluginFactory::queryInterface(iid, obj);
  }
  tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) noexcept override {
    if (!info) return kInvalidArgument;
    return CPluginFactory::getFactoryInfo(info);
  }
  tresult PLUGIN_API createInstance(FIDString cid, FIDString iid, void** obj) noexcept override {
    if (!obj) return kInvalidArgument;
    if (!cid || !iid) {
      *obj = nullptr;
      return kInvalidArgument;
    }
    return CPluginFactory::createInstance(cid, iid, obj);
  }
};

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
  gPluginFactory = new Vst3PluginFactory(factoryInfo);
  gPluginFactory->registerClass(&classInfo, CreatePlug);
  return gPluginFactory;
}
