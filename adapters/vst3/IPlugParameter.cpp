#include "adapters/vst3/IPlugParameter.h"

#include "adapters/vst3/Vst3Text.h"

using namespace Steinberg;

namespace {

constexpr int kDisplaySize = 128;  // what a String128 holds, terminator included

}  // namespace

IPlugParameter::IPlugParameter(const IParamDef* param, Vst::ParamID id, Vst::UnitID unitId) : mParam(param) {
  info.id = id;
  WidenText(param->GetName(), info.title);
  info.shortTitle[0] = 0;
  // Taken once: the label of a value shown by a display text is empty, and stays what it was here.
  WidenText(param->LabelForDisplay(), info.units);
  info.stepCount =
      param->GetType() == ParamType::Double ? 0 : static_cast<int32>(param->GetMax() - param->GetMin());
  info.defaultNormalizedValue = param->ToNormalized(param->GetDefault());
  valueNormalized = info.defaultNormalizedValue;
  info.unitId = unitId;
  info.flags = param->GetCanAutomate() ? Vst::ParameterInfo::kCanAutomate : 0;
  precision = param->GetDisplayPrecision();
}

void IPlugParameter::toString(Vst::ParamValue normalized, Vst::String128 string) const {
  DisplayTextOf(*mParam, normalized, string);
}

bool IPlugParameter::fromString(const Vst::TChar* string, Vst::ParamValue& normalized) const {
  // The same text is the same value as in every other host interface.
  char text[kDisplaySize];
  NarrowText(string, text, kDisplaySize);
  double value = 0.0;
  if (!mParam->ValueFromHostText(text, value)) return false;
  normalized = mParam->ToNormalized(value);
  return true;
}

Vst::ParamValue IPlugParameter::toPlain(Vst::ParamValue normalized) const {
  return mParam->FromNormalized(normalized);
}

Vst::ParamValue IPlugParameter::toNormalized(Vst::ParamValue plain) const {
  return mParam->ToNormalized(plain);
}

void DisplayTextOf(const IParamDef& param, double normalized, Vst::String128 string) {
  char text[kDisplaySize];
  param.FormatValue(normalized, true, text, kDisplaySize, true);
  WidenText(text, string, kDisplaySize);
}
