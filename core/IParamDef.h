#pragma once
// One automatable setting: a typed value with range, step, response curve ("shape"), display
// format, unit label and optional display texts; converts between plain value, normalized 0..1
// value and display text so that hosts, the editor and saved state agree.

#include "core/DisplayText.h"
#include "core/HeapBuffer.h"
#include "core/ParamType.h"

class IParamDef {
public:
  static constexpr int kTextSize = 32;  // name, label, group and display texts: 31 characters

  IParamDef() : mDisplayTexts(128) {}
  IParamDef(const IParamDef&) = delete;
  IParamDef& operator=(const IParamDef&) = delete;

  // Definition, once per parameter by the plug-in constructor.
  void DefineDouble(const char* name, double defaultValue, double min, double max, double step,
                    const char* label = "", double shape = 1.0);
  void DefineInt(const char* name, int defaultValue, int min, int max, const char* label = "");
  void DefineEnum(const char* name, int defaultValue, int count, const char* label = "");
  void DefineBool(const char* name, bool defaultValue);
  // Appends {value, text}; returns false when the table could not grow.
  bool AddDisplayText(int value, const char* text);
  void SetNegateDisplay(bool negate) { mNegateDisplay = negate; }
  void SetCanAutomate(bool canAutomate) { mCanAutomate = canAutomate; }
  void SetMin(double min) { mMin = min; }
  void SetMax(double max) { mMax = max; }

  // Values; the caller holds the plug-in lock.
  double GetValue() const { return mValue; }
  void SetValue(double value);
  // A control position: outside 0..1 it is the nearest end; stepped types round to the step.
  void SetFromNormalized(double normalized);
  // The value SetFromNormalized would store (steps applied, clamped); NaN for a NaN position.
  double SnappedFromNormalized(double normalized) const;
  // A plain value as the parameter would store it: clamped, stepped types rounded to the step.
  double SnappedValue(double value) const;
  double GetNormalizedValue() const;
  // The plain value that a normalized value stands for (no step rounding).
  double FromNormalized(double normalized) const;
  // The normalized value of a plain value (clamped into the range first).
  double ToNormalized(double plain) const;

  // Writes the display string for value into out (size bytes, always terminated).
  void FormatValue(double value, bool isNormalized, char* out, int size, bool useDisplayTexts = true) const;
  // The label, or "" when the current value is shown by a display text.
  const char* LabelForDisplay() const;
  // Reads a value typed by the user; false (and value untouched) when the text is rejected.
  bool ValueFromText(const char* text, double& value) const;
  // What a host's typed text sets, the same in every host interface: the value read as above,
  // within the range; text that reads as no number ("nan") is refused.
  bool ValueFromHostText(const char* text, double& value) const;

  ParamType GetType() const { return mType; }
  double GetMin() const { return mMin; }
  double GetMax() const { return mMax; }
  double GetStep() const { return mStep; }
  double GetShape() const { return mShape; }
  double GetDefault() const { return mDefault; }
  int GetDisplayPrecision() const { return mDisplayPrecision; }
  const char* GetName() const { return mName; }
  const char* GetLabel() const { return mLabel; }
  const char* GetGroup() const { return mGroup; }
  bool GetNegateDisplay() const { return mNegateDisplay; }
  bool GetCanAutomate() const { return mCanAutomate; }
  int GetDisplayTextCount() const;
  // The i-th display text in the order added, or nullptr.
  const DisplayText* GetDisplayText(int index) const;
  // The text of the first entry whose value equals value truncated toward zero, or nullptr.
  const char* DisplayTextFor(double value) const;

private:
  ParamType mType = ParamType::None;
  double mValue = 0.0;
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  double mDefault = 0.0;
  int mDisplayPrecision = 0;
  char mName[kTextSize] = {};
  char mLabel[kTextSize] = {};
  char mGroup[kTextSize] = {};
  bool mNegateDisplay = false;
  bool mCanAutomate = true;
  HeapBuffer mDisplayTexts;
};
