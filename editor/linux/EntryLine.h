#pragma once
// The one line of text in the Linux editor's value box and the edits its keys make: typing at
// the caret, Backspace, Delete, Left, Right, Home and End. The box opens with all of its text
// selected, as an edit box does, so the first key typed replaces it and the first Backspace or
// Delete clears it; moving the caret drops the selection. The limit counts characters; text
// longer than the limit is kept as given but cannot grow.

#include <string>

class EntryLine {
public:
  void Reset(const char* text, int limit);

  // False when the character does not fit.
  bool Insert(char ch);
  void Backspace();
  void Delete();
  void Left();
  void Right();
  void Home();
  void End();

  const std::string& Text() const { return mText; }
  int Caret() const { return mCaret; }
  bool AllSelected() const { return mAllSelected && !mText.empty(); }

private:
  // Removes a selection, if any; true when there was one.
  bool ClearSelection();

  std::string mText;
  int mCaret = 0;
  int mLimit = 0;
  bool mAllSelected = false;
};
