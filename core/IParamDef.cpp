#include "core/IParamDef.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <portable_math.h>

#include "core/FixedText.h"
#include "core/NumberText.h"

void IParamDef::DefineDouble(const char* name, double defaultValue, double min, double max, double step,
                             const char* label, double shape) {
  if (mType == ParamType::None) mType = ParamType::Double;
  CopyFixedText(mName, name);
  CopyFixedText(mLabel, label);
  mGroup[0] = 0;
  mMin = min;
  mValue = defaultValue;
  mStep = step;
  mDefault = defaultValue;
  mDisplayPrecision = 0;
  mMax = std::max(max, min + step);  // a range narrower than one step gets one step
  for (double s = step; std::floor(s) != s && mDisplayPrecision < 6; s *= 10.0) ++mDisplayPrecision;
  if (shape != 0.0) mShape = shape;
}

void IParamDef::DefineInt(const char* name, int defaultValue, int min, int max, const char* label) {
  if (mType == ParamType::None) mType = ParamType::Int;
  DefineDouble(name, defaultValue, min, max, 1.0, label, 1.0);
}

void IParamDef::DefineEnum(const char* name, int defaultValue, int count, const char* label) {
  if (mType == ParamType::None) mType = ParamType::Enum;
  DefineInt(name, defaultValue, 0, count - 1, label);
}

void IParamDef::DefineBool(const char* name, bool defaultValue) {
  if (mType == ParamType::None) mType = ParamType::Bool;
  DefineEnum(name, defaultValue ? 1 : 0, 2, "");
  AddDisplayText(0, "off");
  AddDisplayText(1, "on");
}

bool IParamDef::AddDisplayText(int value, const char* text) {
  const int count = GetDisplayTextCount();
  if (!mDisplayTexts.Resize((count + 1) * static_cast<int>(sizeof(DisplayText)), false)) return false;
  DisplayText& entry = static_cast<DisplayText*>(mDisplayTexts.GetData())[count];
  entry.value = value;
  CopyFixedText(entry.text, text);
  return true;
}

void IParamDef::SetValue(double value) {
  // A value that is no number (a damaged chunk, a confused host) must not reach the audio.
  if (std::isnan(value)) value = std::isnan(mDefault) ? mMin : mDefault;
  mValue = value < mMin ? mMin : std::min(value, mMax);
}

double IParamDef::FromNormalized(double normalized) const {
  return brel_pow(normalized, mShape) * (mMax - mMin) + mMin;
}

double IParamDef::SnappedFromNormalized(double normalized) const {
  if (std::isnan(normalized)) return normalized;
  // A position outside 0..1 is the nearest end of the range: a value below the minimum would be
  // shown, saved in state and read back as a different value than the one the host set.
  normalized = std::clamp(normalized, 0.0, 1.0);
  return SnappedValue(FromNormalized(normalized));
}

double IParamDef::SnappedValue(double value) const {
  if (mType != ParamType::Double) value = std::floor(value / mStep + 0.5) * mStep;
  if (std::isnan(value)) return value;
  return std::clamp(value, mMin, mMax);
}

void IParamDef::SetFromNormalized(double normalized) {
  const double value = SnappedFromNormalized(normalized);
  if (std::isnan(value)) return;  // no number in, no change
  mValue = value;
}

double IParamDef::ToNormalized(double plain) const {
  if (!(mMax > mMin)) return 0.0;
  const double clamped = plain < mMin ? mMin : std::min(plain, mMax);
  return brel_pow((clamped - mMin) / (mMax - mMin), 1.0 / mShape);
}

double IParamDef::GetNormalizedValue() const { return ToNormalized(mValue); }

int IParamDef::GetDisplayTextCount() const {
  return mDisplayTexts.GetSize() / static_cast<int>(sizeof(DisplayText));
}

const DisplayText* IParamDef::GetDisplayText(int index) const {
  if (index < 0 || index >= GetDisplayTextCount()) return nullptr;
  return static_cast<const DisplayText*>(mDisplayTexts.GetData()) + index;
}

const char* IParamDef::DisplayTextFor(double value) const {
  const double whole = std::trunc(value);
  for (int i = 0, n = GetDisplayTextCount(); i < n; ++i) {
    const DisplayText* entry = GetDisplayText(i);
    if (double(entry->value) == whole) return entry->text;
  }
  return nullptr;
}

void IParamDef::FormatValue(double value, bool isNormalized, char* out, int size,
                            bool useDisplayTexts) const {
  if (!out || size <= 0) return;
  if (isNormalized) value = FromNormalized(value);
  if (useDisplayTexts) {
    const char* text = DisplayTextFor(value);
    if (text && text[0]) {
      CopyFixedText(out, size, text);
      return;
    }
  }
  if (mNegateDisplay) value = -value;
  if (mDisplayPrecision == 0) {
    FormatTruncatedInt(value, out, size);
  } else {
    FormatFixed(value, mDisplayPrecision, out, size);
  }
}

const char* IParamDef::LabelForDisplay() const {
  const char* text = DisplayTextFor(mValue);
  return text && text[0] ? "" : mLabel;
}

bool IParamDef::ValueFromText(const char* text, double& value) const {
  if (!text) return false;
  if (GetDisplayTextCount() == 0) {
    // Text that does not start with a number is a typing mistake, not a request for 0.
    int consumed = 0;
    const double v = ParseLeadingDecimal(text, &consumed);
    if (consumed == 0) return false;
    value = mNegateDisplay ? -v : v;
    return true;
  }
  // Several values may share a text ("A" for modes 0 and 1, where 0 means "keep the timing").
  // Typing the text means the highest of them: the one a user picks when choosing it, never a
  // value that only reads like it.
  bool found = false;
  int best = 0;
  for (int i = 0, n = GetDisplayTextCount(); i < n; ++i) {
    const DisplayText* entry = GetDisplayText(i);
    if (std::strcmp(entry->text, text) != 0) continue;
    if (!found || entry->value > best) best = entry->value;
    found = true;
  }
  if (found) value = best;
  return found;
}

bool IParamDef::ValueFromHostText(const char* text, double& value) const {
  double typed = 0.0;
  if (!ValueFromText(text, typed) || std::isnan(typed)) return false;
  value = typed < mMin ? mMin : std::min(typed, mMax);
  return true;
}
