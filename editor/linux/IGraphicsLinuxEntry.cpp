// The Linux editor's value-entry box, its rules: what it opens with, which characters it takes,
// and what the frame step does with the text once Enter, Escape or a lost focus has spoken. The
// box's window and keys are in IGraphicsLinuxEntryWindow.cpp.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/IPlugBase.h"
#include "editor/linux/IGraphicsLinux.h"

namespace {

constexpr std::size_t kMaxEntryText = 32;

// The value whose display text is `text`; 0 when none is.
double ValueOfDisplayText(const IParamDef& param, const char* text) {
  for (int i = 0; i < param.GetDisplayTextCount(); ++i) {
    const DisplayText* entry = param.GetDisplayText(i);
    if (entry && std::strcmp(entry->text, text) == 0) return entry->value;
  }
  return 0.0;
}

// A typed number; anything that is no finite number counts as 0.
double ValueOfNumber(const char* text) {
  const double value = std::strtod(text, nullptr);
  return std::isfinite(value) ? value : 0.0;
}

}  // namespace

void IGraphicsLinux::CancelTextEntry() {
  if (mEntryWindow) mEntryState = kEntryCancel;
}

// Digits and signs for every parameter, the decimal point only for a real-valued one; a
// free-text box takes any printable character.
bool IGraphicsLinux::CharPasses(char ch) const {
  const IParamDef* param = mEntryParam >= 0 && Plug() ? Plug()->GetParam(mEntryParam) : nullptr;
  if (!param) return mEntryParam < 0;
  if (ch == '+' || ch == '-' || (ch >= '0' && ch <= '9')) return true;
  return ch == '.' && param->GetType() == ParamType::Double;
}

void IGraphicsLinux::EntryStep() {
  if (mEntryState != kEntryCancel && mEntryState != kEntryCommit) {
    mEntryState = kEntryIdle;  // a frame was drawn while the box is open
    return;
  }
  if (mEntryState == kEntryCommit) CommitEntry();
  CloseEntry();
}

void IGraphicsLinux::CommitEntry() {
  const std::string text = mEntry.Text().substr(0, kMaxEntryText);
  const IParamDef* param = mEntryParam >= 0 && Plug() ? Plug()->GetParam(mEntryParam) : nullptr;
  if (!param) {
    mEntryControl->SetTextFromEntry(text.c_str());
    return;
  }
  double value = 0.0;
  if (param->GetType() == ParamType::Bool || param->GetType() == ParamType::Enum) {
    value = ValueOfDisplayText(*param, text.c_str());
  } else {
    value = ValueOfNumber(text.c_str());
    if (param->GetNegateDisplay()) value = -value;
  }
  mEntryControl->ApplyUserValue(param->ToNormalized(value));
}
