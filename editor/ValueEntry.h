#pragma once
// The editor's value box as every window host runs it. A window host makes the native box over a
// control and reports what happens in it (the keyboard coming and going, Enter, Escape, a typed
// character); the editor core reports what happens in the rest of the window (a press, the wheel)
// and runs the box's part of every frame. The rules live here: the box's state between those
// reports and the next frame, the characters it takes, and what a commit does with its text.
//
// States: idle; focused (the box has the keyboard); drawn (a frame was painted while it is open);
// cancel or commit requested. A request takes effect at the next frame, which paints nothing
// else; so does a drawn or focused box, whose frame makes it idle again.

#include <string>

#include "editor/EditorTypes.h"

class IControl;
class IParamDef;

// The window host's native box, as the rules need it.
class EntryBoxWindow {
public:
  // What the box holds now.
  virtual std::string EntryBoxText() = 0;
  // Destroys the native box; the rules close it.
  virtual void DestroyEntryBox() = 0;

protected:
  ~EntryBoxWindow() = default;
};

class ValueEntry {
public:
  enum State : int { kIdle = 0, kFocused = 1, kDrawn = 2, kCancel = 3, kCommit = 4 };
  // The longest text a commit reads, in characters.
  static constexpr int kMaxText = 32;

  // The host has made `box` over `control`; `param` is null for a free-text entry.
  void Open(EntryBoxWindow& box, IControl& control, const IParamDef* param);
  bool IsOpen() const { return mBox != nullptr; }
  bool HasKeyboard() const { return IsOpen() && mState == kFocused; }
  State GetState() const { return mState; }
  IControl* Control() const { return mControl; }
  const IParamDef* Param() const { return mParam; }

  // ---- The box's own events. Losing the keyboard commits, as Enter does.
  void FocusChanged(bool hasFocus);
  void RequestCommit();
  void RequestCancel();
  // Whether a typed character may go in: digits and signs for every parameter, the decimal point
  // only for a real-valued one, Backspace always (where it arrives as a character); a free-text
  // box takes anything.
  bool CharPasses(unsigned long long ch) const;

  // ---- The rest of the editor's window while the box is open; false when it is not (the event
  // then goes to the controls). A press cancels while the box has the keyboard (the middle button
  // does nothing) and commits once it has lost it; the wheel cancels, except while the box has the
  // keyboard.
  bool TakesPress(PointerButton button);
  bool TakesWheel();

  // ---- Frames. True when the box spends this frame: a pending commit or cancel is carried out
  // and the box closes, or a drawn or focused box becomes idle.
  bool FrameStep();
  // A frame painted the dirty controls while the box is open.
  void FrameDrawn();
  // Closes the box at once without applying anything (its window or its control goes).
  void Close();

private:
  void Commit();

  EntryBoxWindow* mBox = nullptr;
  IControl* mControl = nullptr;
  const IParamDef* mParam = nullptr;
  State mState = kIdle;
};
