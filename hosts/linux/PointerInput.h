#pragma once
// A pointer and keys played into the X server with XTest, as a person's would be: the server
// sends the events to whichever window is under the pointer (or has grabbed it), so they reach
// the plug-in's own connection the way real input does. Positions are a target window's pixels;
// every call waits until the server has taken the request (XSync), after which the events wait
// on the plug-in's connection for its next idle step.

#include <X11/Xlib.h>

namespace brel::x11 {

class PointerInput {
public:
  static constexpr unsigned kLeft = 1;
  static constexpr unsigned kWheelUp = 4;  // a notch away from the user
  static constexpr unsigned kWheelDown = 5;

  // `display` is the host's connection; `target` the window whose pixels positions are in.
  PointerInput(Display* display, Window target) : mDisplay(display), mTarget(target) {}
  // The server offers XTest.
  static bool Available(Display* display);

  bool MoveTo(int x, int y);  // false when the target is gone
  void Press(unsigned button = kLeft);
  void Release(unsigned button = kLeft);
  // One wheel notch at the pointer: press and release of button 4 or 5.
  void Wheel(unsigned button);
  void ShiftDown();
  void ShiftUp();
  // A key by its keysym, pressed and released; false when the keyboard has no key for it.
  bool Key(KeySym key);

private:
  void Key(KeySym key, bool down);

  Display* mDisplay;
  Window mTarget;
};

}  // namespace brel::x11
