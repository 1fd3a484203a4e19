// The LV2 module's entry: the bundle's two plug-ins (stereo and mono, one class) and the C entries
// a host calls on their instances, each keeping every exception inside the module.

#include <cstring>
#include <mutex>

#include "BrelvaneRelease.h"
#include "adapters/lv2/IPlugLV2.h"
#include "core/AudioPath.h"

namespace {

// Serialises construction of instances across every thread of the host: the constructor fills
// caches the whole module shares.
std::mutex& ConstructionLock() {
  static std::mutex lock;
  return lock;
}

IPlugLV2* PlugOf(LV2_Handle instance) noexcept { return static_cast<IPlugLV2*>(instance); }

template <class Result, class Body>
Result Guarded(LV2_Handle instance, Result failure, Body&& body) noexcept {
  IPlugLV2* plug = PlugOf(instance);
  if (!plug) return failure;
  try {
    return body(*plug);
  } catch (...) {
    return failure;
  }
}

int ChannelsOf(const LV2_Descriptor* descriptor) {
  return std::strcmp(descriptor->URI, release::kLv2MonoUri) == 0 ? 1 : 2;
}

LV2_Handle Instantiate(const LV2_Descriptor* descriptor, double rate, const char*,
                       const LV2_Feature* const*) noexcept {
  if (!descriptor || !(rate > 0.0)) return nullptr;
  BREL_EXPECT_OFF_AUDIO_PATH("plug-in construction");
  try {
    std::lock_guard<std::mutex> guard(ConstructionLock());
    IPlugLV2* plug = MakePlug(IPlugLV2InstanceInfo{rate, ChannelsOf(descriptor)});
    if (plug) plug->Prepare();
    return plug;
  } catch (...) {
    // Out of memory while building the instance: the host is told there is none.
    return nullptr;
  }
}

void ConnectPort(LV2_Handle instance, std::uint32_t port, void* data) noexcept {
  Guarded(instance, 0, [&](IPlugLV2& plug) {
    plug.ConnectPort(port, data);
    return 0;
  });
}

void Activate(LV2_Handle instance) noexcept {
  Guarded(instance, 0, [](IPlugLV2& plug) {
    plug.Activate();
    return 0;
  });
}

void Run(LV2_Handle instance, std::uint32_t frames) noexcept {
  Guarded(instance, 0, [&](IPlugLV2& plug) {
    plug.Run(frames);
    return 0;
  });
}

void Deactivate(LV2_Handle instance) noexcept {
  Guarded(instance, 0, [](IPlugLV2& plug) {
    plug.Deactivate();
    return 0;
  });
}

void Cleanup(LV2_Handle instance) noexcept {
  IPlugLV2* plug = PlugOf(instance);
  if (!plug) return;
  try {
    plug->Deactivate();
  } catch (...) {}
  delete plug;
}

// ---- Our own requests.

std::int32_t ProcessedDelay(LV2_Handle instance) noexcept {
  return Guarded(instance, std::int32_t{-1}, [](IPlugLV2& plug) {
    IPlugBase::ScopedLock lock(plug);
    return static_cast<std::int32_t>(plug.GetProcessedDelay());
  });
}

bool FormatValue(LV2_Handle instance, std::uint32_t param, double value, char* text, char* label,
                 std::uint32_t size) noexcept {
  return Guarded(instance, false,
                 [&](IPlugLV2& plug) { return plug.FormatParamValue(param, value, text, label, size); });
}

bool ParseValue(LV2_Handle instance, std::uint32_t param, const char* text, double* value) noexcept {
  if (!value) return false;
  return Guarded(instance, false, [&](IPlugLV2& plug) { return plug.ParseParamValue(param, text, *value); });
}

double ParamValue(LV2_Handle instance, std::uint32_t param) noexcept {
  return Guarded(instance, 0.0, [&](IPlugLV2& plug) { return plug.ParamValue(param); });
}

std::uint32_t SaveChunk(LV2_Handle instance, std::uint8_t* out, std::uint32_t capacity) noexcept {
  return Guarded(instance, std::uint32_t{0}, [&](IPlugLV2& plug) { return plug.SaveChunk(out, capacity); });
}

bool LoadChunk(LV2_Handle instance, const std::uint8_t* data, std::uint32_t size) noexcept {
  return Guarded(instance, false, [&](IPlugLV2& plug) { return plug.LoadChunk(data, size); });
}

bool ReadMeter(LV2_Handle instance, std::uint32_t meter, Lv2MeterReading* reading) noexcept {
  if (!reading) return false;
  return Guarded(instance, false, [&](IPlugLV2& plug) { return plug.ReadMeter(meter, *reading); });
}

const Lv2BrelvanePrivate kPrivate = {ProcessedDelay, FormatValue, ParseValue, ParamValue,
                                     SaveChunk,      LoadChunk,   ReadMeter};

// Only our own table; any other URI, a made-up one included, is answered with nothing.
const void* ExtensionData(const char* uri) noexcept {
  return uri && std::strcmp(uri, release::kLv2PrivateUri) == 0 ? &kPrivate : nullptr;
}

const LV2_Descriptor kDescriptors[] = {
    {release::kLv2StereoUri, Instantiate, ConnectPort, Activate, Run, Deactivate, Cleanup, ExtensionData},
    {release::kLv2MonoUri, Instantiate, ConnectPort, Activate, Run, Deactivate, Cleanup, ExtensionData},
};

}  // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(std::uint32_t index) {
  return index < sizeof kDescriptors / sizeof kDescriptors[0] ? &kDescriptors[index] : nullptr;
}
