#include "editor/linux/EntryLine.h"

void EntryLine::Reset(const char* text, int limit) {
  mText = text ? text : "";
  mLimit = limit;
  mCaret = static_cast<int>(mText.size());
  mAllSelected = true;
}

bool EntryLine::ClearSelection() {
  if (!AllSelected()) {
    mAllSelected = false;
    return false;
  }
  mText.clear();
  mCaret = 0;
  mAllSelected = false;
  return true;
}

bool EntryLine::Insert(char ch) {
  const bool replacing = AllSelected();
  if (!replacing && static_cast<int>(mText.size()) >= mLimit) return false;
  if (replacing && mLimit < 1) return false;
  ClearSelection();
  mText.insert(mText.begin() + mCaret, ch);
  ++mCaret;
  return true;
}

void EntryLine::Backspace() {
  if (ClearSelection() || mCaret == 0) return;
  mText.erase(mText.begin() + (mCaret - 1));
  --mCaret;
}

void EntryLine::Delete() {
  if (ClearSelection() || mCaret >= static_cast<int>(mText.size())) return;
  mText.erase(mText.begin() + mCaret);
}

// Moving with a selection drops it at the side the key points to, as an edit box does.
void EntryLine::Left() {
  if (AllSelected()) {
    mAllSelected = false;
    mCaret = 0;
    return;
  }
  mAllSelected = false;
  if (mCaret > 0) --mCaret;
}

void EntryLine::Right() {
  if (AllSelected()) {
    mAllSelected = false;
    mCaret = static_cast<int>(mText.size());
    return;
  }
  mAllSelected = false;
  if (mCaret < static_cast<int>(mText.size())) ++mCaret;
}

void EntryLine::Home() {
  mAllSelected = false;
  mCaret = 0;
}

void EntryLine::End() {
  mAllSelected = false;
  mCaret = static_cast<int>(mText.size());
}
