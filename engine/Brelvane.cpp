#include "engine/Brelvane.h"

#include <algorithm>

#include "core/FourCC.h"

namespace {

constexpr std::int32_t kVersionWord = 0x3F99999A;

struct KnobParam {
  const char* name;
  double defaultValue, min, max;
  const char* label;
};

// The seven knobs, in parameter order. Every knob moves in steps of 0.01, linearly.
constexpr KnobParam kKnobs[] = {
    {"Pres Comp", 12.5, -5.0, 25.0, "dB"}, {"LowCut", 100.0, 20.0, 300.0, "Hz"},
    {"Tighten", 53.5, 0.0, 100.0, "%"},    {"Bass", 0.0, -10.0, 10.0, "dB"},
    {"Crispy", 0.0, 0.0, 6.0, "dB"},       {"Final Comp", 0.0, -25.0, 25.0, "dB"},
    {"Db Output", 0.0, -30.0, 20.0, "dB"},
};
constexpr double kKnobStep = 0.01;

}  // namespace

Brelvane::Brelvane(const PluginInstanceInfo& instanceInfo)
    : PluginAdapter(instanceInfo, kNumParams, "1-1 2-2", kNumPresets, "Brelvane", "", "Orrindale",
                    kVersionWord, FourCC('Q', 'v', 'e', 'l'), FourCC('O', 'r', 'r', 'n')) {
  DeclareParameters();
  mChain.SetMeters(&mPresMeter, &mFinalMeter);
  FillEmptyPresets("-", 1);
}

void Brelvane::DeclareParameters() {
  for (int i = kPresComp; i <= kDbOutput; ++i) {
    const KnobParam& knob = kKnobs[i];
    GetParam(i)->DefineDouble(knob.name, knob.defaultValue, knob.min, knob.max, kKnobStep, knob.label);
  }
  GetParam(kPower)->DefineBool("Power", true);
  GetParam(kPLimit)->DefineBool("P Limit", true);
  GetParam(kFLimit)->DefineBool("F Limit", false);

  // Mode 0 is legal for hosts and behaves as "keep the current timing"; it reads as "A".
  IParamDef* mode = GetParam(kMode);
  mode->DefineInt("Mode", 1, 0, 4, "");
  mode->AddDisplayText(0, "A");
  mode->AddDisplayText(1, "A");
  mode->AddDisplayText(2, "B");
  mode->AddDisplayText(3, "C");
  mode->AddDisplayText(4, "D");
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
