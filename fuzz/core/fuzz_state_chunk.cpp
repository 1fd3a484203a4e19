// Feeds arbitrary bytes to the core's state-chunk loader, as a program and as a bank, on a
// plug-in with the product's parameter table. Any crash, out-of-bounds access, or a parameter
// left outside its range (or not a number) is a finding.

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/FourCC.h"
#include "core/IPlugBase.h"
#include "engine/DeclareParam.h"

namespace {

class FuzzPlug : public IPlugBase {
public:
  FuzzPlug()
      : IPlugBase(BrelvaneParamIndex::kNumParams, 3, "1-1 2-2", "Brelvane", "", "Orrindale", 0x3F99999A,
                  FourCC('Q', 'v', 'e', 'l'), FourCC('O', 'r', 'r', 'n'), ApiId::Vst2) {
    for (const ParamSpec& spec : kBrelvaneParams) DeclareParam(*GetParam(spec.index), spec);
    FillEmptyPresets("-", 1);
  }
};

void CheckInvariants(const IPlugBase& plug) {
  for (int i = 0; i < plug.NParams(); ++i) {
    const IParamDef* param = plug.GetParam(i);
    const double v = param->GetValue();
    if (std::isnan(v) || v < param->GetMin() || v > param->GetMax()) std::abort();
  }
  for (int i = 0; i < plug.NPresets(); ++i) {
    const char* name = plug.PresetName(i);
    int length = 0;
    while (length < 256 && name[length]) ++length;
    if (length > 255) std::abort();
  }
}

void LoadAndCheck(const StateChunk& chunk, bool isBank) {
  FuzzPlug plug;
  plug.LoadChunk(chunk, isBank);
  CheckInvariants(plug);
  // Whatever was accepted must save and load back to the same values.
  StateChunk saved;
  if (!plug.SaveBankChunk(saved)) std::abort();
  FuzzPlug copy;
  if (copy.LoadChunk(saved, true) != saved.GetSize()) std::abort();
  for (int i = 0; i < plug.NParams(); ++i) {
    if (copy.GetParam(i)->GetValue() != plug.GetParam(i)->GetValue()) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 20) return 0;
  StateChunk chunk;
  chunk.AppendBytes(data, static_cast<int>(size));
  LoadAndCheck(chunk, false);
  LoadAndCheck(chunk, true);
  return 0;
}
