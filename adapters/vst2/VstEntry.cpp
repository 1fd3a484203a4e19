// The VST2 module's entry points: the host calls one of them once per plug-in instance.
#include <mutex>

#include "adapters/vst2/IPlugVST.h"
#include "adapters/vst2/VstExport.h"
#include "core/AudioPath.h"

namespace {

// Serialises construction of instances across every thread of the host. A function-local
// static is created once, on first use, thread-safely, and destroyed when the module unloads.
std::mutex& ConstructionLock() {
  static std::mutex lock;
  return lock;
}

AEffect* CreateInstance(audioMasterCallback hostCallback) noexcept {
  BREL_EXPECT_OFF_AUDIO_PATH("plug-in construction");
  std::lock_guard<std::mutex> guard(ConstructionLock());
  IPlugVST* plug = nullptr;
  try {
    plug = MakePlug(IPlugInstanceInfo{hostCallback});
  } catch (...) {
    // Out of memory while building the instance: the host is told there is none.
    return nullptr;
  }
  if (!plug) return nullptr;
  plug->FillEmptyPresets("Empty", plug->NPresets());
  AEffect* effect = plug->GetAEffect();
  if (effect->numPrograms < 1) effect->numPrograms = 1;
  return effect;
}

}  // namespace

BREL_VST_EXPORT AEffect* VSTPluginMain(audioMasterCallback hostCallback) {
  return CreateInstance(hostCallback);
}

// The entry's older name, which some hosts still look for.
BREL_VST_EXPORT AEffect* VstLegacyMain(audioMasterCallback hostCallback) BREL_VST_MAIN_SYMBOL;
AEffect* VstLegacyMain(audioMasterCallback hostCallback) { return CreateInstance(hostCallback); }
