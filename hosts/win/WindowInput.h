#pragma once
// A mouse and keys played into one window with the messages the system sends for real ones: each is
// posted to the window's queue and the queue is then run dry, so the window has handled it by
// the time the call returns. Positions are the window's client pixels; the wheel's message
// carries screen coordinates, as the system's does.

#include <windows.h>

namespace brel::win {

class WindowInput {
public:
  explicit WindowInput(HWND target) : mTarget(target) {}

  // `keys` adds MK_SHIFT or MK_CONTROL to the button state.
  void Press(int x, int y, WPARAM keys = 0);    // WM_LBUTTONDOWN
  void DragTo(int x, int y, WPARAM keys = 0);   // WM_MOUSEMOVE with the left button down
  void Release(int x, int y, WPARAM keys = 0);  // WM_LBUTTONUP
  void MoveTo(int x, int y);                    // WM_MOUSEMOVE without buttons
  // The system's sequence for a double click: down, up, WM_LBUTTONDBLCLK, up.
  void DoubleClick(int x, int y);
  // WM_MOUSEWHEEL; a delta of WHEEL_DELTA (120) is one notch away from the user.
  void Wheel(int x, int y, int delta, WPARAM keys = 0);
  // A key pressed and released while the window has the focus (WM_KEYDOWN, WM_KEYUP).
  void Key(UINT virtualKey);

  // Press, then one WM_MOUSEMOVE per step of (dx, dy), then release where the last step ended.
  void Drag(int x, int y, int dx, int dy, int steps, WPARAM keys = 0);

private:
  void Post(UINT message, WPARAM wParam, int x, int y);

  HWND mTarget;
};

}  // namespace brel::win
