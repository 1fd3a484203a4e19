// IPlugBase: the host-neutral half of every host request. The adapters translate their host's
// calls into these and nothing more, so both modules refuse, order and report alike.

#include <climits>
#include <cmath>

#include "core/IPlugBase.h"

bool IPlugBase::SetParamFromHost(int paramIndex, double normalized) {
  ScopedLock hold(*this);
  IParamDef* param = GetParam(paramIndex);
  // NaN or an infinity is no position of a control: -inf would be stored as it is (nothing
  // clamps at the bottom), shown as "-inf" and saved with the state.
  if (!param || !std::isfinite(normalized)) return false;
  if (mEditor) mEditor->ApplyParameterFromPlug(paramIndex, normalized, true);
  param->SetFromNormalized(normalized);
  OnParamChanged(paramIndex);
  return true;
}

bool IPlugBase::SetParamValueFromHost(int paramIndex, double value) {
  ScopedLock hold(*this);
  IParamDef* param = GetParam(paramIndex);
  if (!param || !std::isfinite(value)) return false;
  const double stored = param->SnappedValue(value);
  if (mEditor) mEditor->ApplyParameterFromPlug(paramIndex, stored, false);
  param->SetValue(stored);
  OnParamChanged(paramIndex);
  return true;
}

bool IPlugBase::SetParamFromHostText(int paramIndex, const char* text) {
  ScopedLock hold(*this);
  IParamDef* param = GetParam(paramIndex);
  double value = 0.0;
  if (!param || !param->ValueFromHostText(text, value)) return false;
  if (mEditor) mEditor->ApplyParameterFromPlug(paramIndex, value, false);
  param->SetValue(value);
  OnParamChanged(paramIndex);
  return true;
}

double IPlugBase::GetParamNormalized(int paramIndex) const {
  std::lock_guard<std::recursive_mutex> hold(mMutex);
  const IParamDef* param = GetParam(paramIndex);
  return param ? param->GetNormalizedValue() : 0.0;
}

bool IPlugBase::SetSampleRateFromHost(double sampleRate) {
  // A rate that is not a positive finite number is no rate: the previous one stays.
  if (!std::isfinite(sampleRate) || sampleRate <= 0.0) return false;
  ScopedLock hold(*this);
  SetSampleRate(sampleRate);
  OnReset();
  return true;
}

bool IPlugBase::SetBlockSizeFromHost(long long frames) {
  // Below one frame, or beyond what an int counts, is not a block size.
  if (frames < 1 || frames > INT_MAX) return false;
  ScopedLock hold(*this);
  SetMaxBlockSize(static_cast<int>(frames));
  OnReset();
  return true;
}

void IPlugBase::SetActiveFromHost(bool active) {
  ScopedLock hold(*this);
  OnActiveChanged(active);
  if (!active) OnReset();
}

bool IPlugBase::SelectPresetFromHost(int presetIndex) {
  ScopedLock hold(*this);
  if (!DoesStateChunks()) ModifyCurrentPreset();
  return LoadPreset(presetIndex);
}

int IPlugBase::LoadStateFromHost(const StateChunk& chunk, bool isBank) {
  ScopedLock hold(*this);
  const int position = LoadChunk(chunk, isBank);
  // What a damaged chunk did apply stays applied; the editor must show it.
  RefreshEditorParams();
  return position;
}
