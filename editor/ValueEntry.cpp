#include "editor/ValueEntry.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/IParamDef.h"
#include "editor/IControl.h"

namespace {

// The value whose display text is `text`; 0 when none is.
double ValueOfDisplayText(const IParamDef& param, const char* text) {
  for (int i = 0; i < param.GetDisplayTextCount(); ++i) {
    const DisplayText* entry = param.GetDisplayText(i);
    if (entry && std::strcmp(entry->text, text) == 0) return entry->value;
  }
  return 0.0;
}

// A typed number; anything that is no finite number (pasted text may be anything) counts as 0.
double ValueOfNumber(const char* text) {
  const double value = std::strtod(text, nullptr);
  return std::isfinite(value) ? value : 0.0;
}

}  // namespace

void ValueEntry::Open(EntryBoxWindow& box, IControl& control, const IParamDef* param) {
  mBox = &box;
  mControl = &control;
  mParam = param;
  mState = kIdle;
}

void ValueEntry::FocusChanged(bool hasFocus) {
  if (IsOpen()) mState = hasFocus ? kFocused : kCommit;
}

void ValueEntry::RequestCommit() {
  if (IsOpen()) mState = kCommit;
}

void ValueEntry::RequestCancel() {
  if (IsOpen()) mState = kCancel;
}

bool ValueEntry::CharPasses(unsigned long long ch) const {
  if (!mParam) return true;
  if (ch == '\b' || ch == '+' || ch == '-' || (ch >= '0' && ch <= '9')) return true;
  return ch == '.' && mParam->GetType() == ParamType::Double;
}

bool ValueEntry::TakesPress(PointerButton button) {
  if (!IsOpen()) return false;
  if (mState != kFocused) {
    mState = kCommit;
  } else if (button != PointerButton::Middle) {
    mState = kCancel;
  }
  return true;
}

bool ValueEntry::TakesWheel() {
  if (!IsOpen()) return false;
  if (mState != kFocused) mState = kCancel;
  return true;
}

bool ValueEntry::FrameStep() {
  if (!IsOpen() || mState == kIdle) return false;
  if (mState != kCancel && mState != kCommit) {
    mState = kIdle;
    return true;
  }
  if (mState == kCommit) Commit();
  Close();
  return true;
}

void ValueEntry::FrameDrawn() {
  if (IsOpen()) mState = kDrawn;
}

void ValueEntry::Close() {
  if (mBox) mBox->DestroyEntryBox();
  mBox = nullptr;
  mControl = nullptr;
  mParam = nullptr;
  mState = kIdle;
}

// A display text or a typed number becomes the parameter's new value through the control; a
// free-text entry hands its text to the control.
void ValueEntry::Commit() {
  std::string text = mBox->EntryBoxText();
  if (text.size() > kMaxText) text.resize(kMaxText);
  if (!mParam) {
    mControl->SetTextFromEntry(text.c_str());
    return;
  }
  double value = 0.0;
  if (mParam->GetType() == ParamType::Bool || mParam->GetType() == ParamType::Enum) {
    value = ValueOfDisplayText(*mParam, text.c_str());
  } else {
    value = ValueOfNumber(text.c_str());
    if (mParam->GetNegateDisplay()) value = -value;
  }
  mControl->ApplyUserValue(mParam->ToNormalized(value));
}
