#pragma once
// Declares one core parameter from its entry in the parameter table, exactly as a plug-in
// constructor would by hand. Header-only, so a test or fuzz target built on the core alone can
// declare the product's parameters without the plug-in class.

#include "core/IParamDef.h"
#include "engine/BrelvaneParams.h"

inline void DeclareParam(IParamDef& param, const ParamSpec& spec) {
  switch (spec.type) {
    case ParamType::Bool:
      // The core's switch brings its own "off" and "on", the texts the table lists for it.
      param.DefineBool(spec.name, spec.defaultValue >= 0.5);
      return;
    case ParamType::Int:
      param.DefineInt(spec.name, static_cast<int>(spec.defaultValue), static_cast<int>(spec.min),
                      static_cast<int>(spec.max), spec.label);
      break;
    case ParamType::Enum:
      param.DefineEnum(spec.name, static_cast<int>(spec.defaultValue), static_cast<int>(spec.max) + 1,
                       spec.label);
      break;
    default:
      param.DefineDouble(spec.name, spec.defaultValue, spec.min, spec.max, spec.step, spec.label, spec.shape);
      break;
  }
  for (int i = 0; i < spec.textCount; ++i) param.AddDisplayText(spec.texts[i].value, spec.texts[i].text);
}
