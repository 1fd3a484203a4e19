// The Linux editor's value-entry box, its rules: what it opens with, which characters it takes,
// and what the frame step does with the text once Enter, Escape or a lost focus has spoken. The
// box's window and keys are in IGraphicsLinuxEntryWindow.cpp.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/IPlugBase.h"
#include "editor/linux/IGraphicsLinux.h"

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
  CommitEntryText(mEntryControl, mEntryParam, text.c_str());
}
