#pragma once
// A core parameter as the VST 3 controller lists it: its info is filled once from the core
// parameter, and its conversions (display text, typed text, plain and normalized values) are the
// core parameter's own. The core parameter outlives it.

#include "adapters/vst3/Vst3Sdk.h"
#include "core/IParamDef.h"

class IPlugParameter : public Steinberg::Vst::Parameter {
public:
  IPlugParameter(const IParamDef* param, Steinberg::Vst::ParamID id, Steinberg::Vst::UnitID unitId);

  void toString(Steinberg::Vst::ParamValue normalized, Steinberg::Vst::String128 string) const override;
  bool fromString(const Steinberg::Vst::TChar* string, Steinberg::Vst::ParamValue& normalized) const override;
  Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue normalized) const override;
  Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue plain) const override;

  OBJ_METHODS(IPlugParameter, Parameter)

private:
  const IParamDef* mParam;
};

// The display text of a core parameter for a normalized value, as hosts show it.
void DisplayTextOf(const IParamDef& param, double normalized, Steinberg::Vst::String128 string);
