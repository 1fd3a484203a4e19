#include "hosts/linux/PointerInput.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace brel::x11 {

bool PointerInput::Available(Display* display) {
  int event = 0, error = 0, major = 0, minor = 0;
  return display && XTestQueryExtension(display, &event, &error, &major, &minor);
}

bool PointerInput::MoveTo(int x, int y) {
  Window child = 0;
  int rootX = 0, rootY = 0;
  const int screen = DefaultScreen(mDisplay);
  if (!XTranslateCoordinates(mDisplay, mTarget, RootWindow(mDisplay, screen), x, y, &rootX, &rootY, &child))
    return false;
  XTestFakeMotionEvent(mDisplay, screen, rootX, rootY, CurrentTime);
  XSync(mDisplay, False);
  return true;
}

void PointerInput::Press(unsigned button) {
  XTestFakeButtonEvent(mDisplay, button, True, CurrentTime);
  XSync(mDisplay, False);
}

void PointerInput::Release(unsigned button) {
  XTestFakeButtonEvent(mDisplay, button, False, CurrentTime);
  XSync(mDisplay, False);
}

void PointerInput::Wheel(unsigned button) {
  Press(button);
  Release(button);
}

void PointerInput::ShiftDown() { Key(XK_Shift_L, true); }
void PointerInput::ShiftUp() { Key(XK_Shift_L, false); }

bool PointerInput::Key(KeySym key) {
  if (!XKeysymToKeycode(mDisplay, key)) return false;
  Key(key, true);
  Key(key, false);
  return true;
}

void PointerInput::Key(KeySym key, bool down) {
  const KeyCode code = XKeysymToKeycode(mDisplay, key);
  if (!code) return;
  XTestFakeKeyEvent(mDisplay, code, down ? True : False, CurrentTime);
  XSync(mDisplay, False);
}

}  // namespace brel::x11
