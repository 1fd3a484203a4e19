// Feeds arbitrary bytes as a VST3 state stream to the Brelvane plug-in built on the VST3 adapter,
// through the component's setState. Any crash, out-of-bounds access, a parameter left outside
// its range (or not a number), or a saved state that does not restore to itself is a finding.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "adapters/vst3/IPlugVST3.h"
#include "public.sdk/source/common/memorystream.h"

namespace {

void CheckRanges(const IPlugBase& plug) {
  for (int i = 0; i < plug.NParams(); ++i) {
    const IParamDef* param = plug.GetParam(i);
    const double v = param->GetValue();
    if (std::isnan(v) || v < param->GetMin() || v > param->GetMax()) std::abort();
  }
}

IPlugVST3& Plug() {
  static IPlugVST3* plug = [] {
    IPlugVST3* made = MakePlug(IPlugVST3InstanceInfo{});
    made->initialize(nullptr);
    return made;
  }();
  return *plug;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  IPlugVST3& plug = Plug();
  Steinberg::MemoryStream hostile(const_cast<std::uint8_t*>(data), static_cast<Steinberg::TSize>(size));
  plug.setState(&hostile);
  CheckRanges(plug);

  Steinberg::MemoryStream saved;
  if (plug.getState(&saved) != Steinberg::kResultOk) std::abort();
  saved.seek(0, Steinberg::IBStream::kIBSeekSet, nullptr);
  if (plug.setState(&saved) != Steinberg::kResultOk) std::abort();
  Steinberg::MemoryStream again;
  plug.getState(&again);
  if (again.getSize() != saved.getSize() ||
      std::memcmp(again.getData(), saved.getData(), saved.getSize()) != 0)
    std::abort();
  return 0;
}
