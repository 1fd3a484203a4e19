#pragma once
// The eleven parameters of Brelvane, written once: the plug-in declares them from this table, the
// chain takes its ranges from it, and the VST3 parameter ids, the editor layout, the tests and the
// fuzz targets read it. An entry's position is its index, which is also the id hosts know it by.
// Changing an entry changes what every host, chunk and saved song sees.

#include "core/ParamType.h"

// The indices, as members of whoever derives from this (Brelvane::kMode, VocalChain::kMode).
struct BrelvaneParamIndex {
  enum Param : int {
    kPresComp = 0,
    kLowCut,
    kTighten,
    kBass,
    kCrispy,
    kFinalComp,
    kDbOutput,
    kPower,
    kMode,
    kPLimit,
    kFLimit,
    kNumParams
  };
};

// A text shown instead of the number for one value.
struct ParamTextSpec {
  int value;
  const char* text;
};

struct ParamSpec {
  int index;
  const char* name;
  const char* label;
  ParamType type;
  double min, max, defaultValue, step, shape;
  int precision;  // decimals shown; follows from the step
  const ParamTextSpec* texts;
  int textCount;
};

namespace brelvane_params {

// Every switch reads "off" and "on", as the core's switches always do.
inline constexpr ParamTextSpec kSwitchTexts[] = {{0, "off"}, {1, "on"}};
// Mode 0 is legal for hosts and behaves as "keep the current timing"; it reads as "A".
inline constexpr ParamTextSpec kModeTexts[] = {{0, "A"}, {1, "A"}, {2, "B"}, {3, "C"}, {4, "D"}};

// Every knob moves in steps of 0.01, linearly, and shows two decimals.
constexpr ParamSpec Knob(int index, const char* name, const char* label, double min, double max,
                         double defaultValue) {
  return {index, name, label, ParamType::Double, min, max, defaultValue, 0.01, 1.0, 2, nullptr, 0};
}
constexpr ParamSpec Switch(int index, const char* name, bool on) {
  return {index, name, "", ParamType::Bool, 0.0, 1.0, on ? 1.0 : 0.0, 1.0, 1.0, 0, kSwitchTexts, 2};
}

}  // namespace brelvane_params

inline constexpr ParamSpec kBrelvaneParams[BrelvaneParamIndex::kNumParams] = {
    brelvane_params::Knob(BrelvaneParamIndex::kPresComp, "Pres Comp", "dB", -5.0, 25.0, 12.5),
    brelvane_params::Knob(BrelvaneParamIndex::kLowCut, "LowCut", "Hz", 20.0, 300.0, 100.0),
    brelvane_params::Knob(BrelvaneParamIndex::kTighten, "Tighten", "%", 0.0, 100.0, 53.5),
    brelvane_params::Knob(BrelvaneParamIndex::kBass, "Bass", "dB", -10.0, 10.0, 0.0),
    brelvane_params::Knob(BrelvaneParamIndex::kCrispy, "Crispy", "dB", 0.0, 6.0, 0.0),
    brelvane_params::Knob(BrelvaneParamIndex::kFinalComp, "Final Comp", "dB", -25.0, 25.0, 0.0),
    brelvane_params::Knob(BrelvaneParamIndex::kDbOutput, "Db Output", "dB", -30.0, 20.0, 0.0),
    brelvane_params::Switch(BrelvaneParamIndex::kPower, "Power", true),
    {BrelvaneParamIndex::kMode, "Mode", "", ParamType::Int, 0.0, 4.0, 1.0, 1.0, 1.0, 0,
     brelvane_params::kModeTexts, 5},
    brelvane_params::Switch(BrelvaneParamIndex::kPLimit, "P Limit", true),
    brelvane_params::Switch(BrelvaneParamIndex::kFLimit, "F Limit", false),
};

constexpr bool BrelvaneParamsInOrder() {
  for (int i = 0; i < BrelvaneParamIndex::kNumParams; ++i)
    if (kBrelvaneParams[i].index != i) return false;
  return true;
}
static_assert(BrelvaneParamsInOrder(), "an entry's position is its index");
