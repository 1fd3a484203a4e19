#include "engine/Brelvane.h"

#include <algorithm>

#include "core/FourCC.h"
#include "engine/DeclareParam.h"

namespace {

constexpr std::int32_t kVersionWord = 0x3F99999A;

}  // namespace

Brelvane::Brelvane(const PluginInstanceInfo& instanceInfo)
    : PluginAdapter(instanceInfo, kNumParams, "1-1 2-2", kNumPresets, "Brelvane", "", "Orrindale",
                    kVersionWord, FourCC('Q', 'v', 'e', 'l'), FourCC('O', 'r', 'r', 'n')) {
  DeclareParameters();
  mChain.SetMeters(&mPresMeter, &mFinalMeter);
  FillEmptyPresets("-", 1);
}

void Brelvane::DeclareParameters() {
  for (const ParamSpec& spec : kBrelvaneParams) DeclareParam(*GetParam(spec.index), spec);
}

int Brelvane::HostRate() const {
  // 0 stands for "no usable rate" (the chain then keeps its own); anything beyond an int is
  // beyond every host.
  const double rate = GetSampleRate();
  if (!(rate >= 1.0)) return 0;
  return static_cast<int>(std::min(rate, 2147483647.0));
}

void Brelvane::OnReset() {
  ScopedLock lock(*this);
  mChain.SetSampleRate(HostRate());
}

void Brelvane::OnParamChanged(int paramIndex) {
  ScopedLock lock(*this);
  if (const IParamDef* param = GetParam(paramIndex)) {
    mChain.OnParamChanged(paramIndex, param->GetValue());
  }
}

void Brelvane::ProcessDouble(double** inputs, double** outputs, int nFrames) {
  mChain.Process(inputs, outputs, nFrames, GetParam(kPower)->GetValue(), HostRate());
}

PluginAdapter* MakePlug(const PluginInstanceInfo& instanceInfo) { return new Brelvane(instanceInfo); }
