#include "tools/brelvane/InProcessParamPort.h"

#include "core/IPlugBase.h"

namespace brel::cmd {

int InProcessParamPort::ParamCount() { return mPlug.NParams(); }

std::string InProcessParamPort::ParamName(int index) {
  const IParamDef* param = mPlug.GetParam(index);
  return param ? param->GetName() : "";
}

// As a VST2 host reads it: no unit while the value shows a display text.
std::string InProcessParamPort::ParamLabel(int index) {
  IPlugBase::ScopedLock hold(mPlug);
  const IParamDef* param = mPlug.GetParam(index);
  return param ? param->LabelForDisplay() : "";
}

float InProcessParamPort::GetParameter(int index) {
  return static_cast<float>(mPlug.GetParamNormalized(index));
}

void InProcessParamPort::SetParameter(int index, float normalized) {
  mPlug.SetParamFromHost(index, normalized);
}

bool InProcessParamPort::SetParameterText(int index, const std::string& text) {
  return mPlug.SetParamFromHostText(index, text.c_str());
}

bool InProcessParamPort::FormatNormalized(int index, float normalized, std::string& text) {
  IPlugBase::ScopedLock hold(mPlug);
  const IParamDef* param = mPlug.GetParam(index);
  if (!param) return false;
  char shown[IParamDef::kTextSize] = {};
  param->FormatValue(normalized, true, shown, sizeof shown, true);
  text = shown;
  return true;
}

bool InProcessParamPort::IsRealValued(int index) {
  const IParamDef* param = mPlug.GetParam(index);
  return param && param->GetType() == ParamType::Double;
}

}  // namespace brel::cmd
