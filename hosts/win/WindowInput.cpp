#include "hosts/win/WindowInput.h"

#include "hosts/win/HostWindow.h"

namespace brel::win {

namespace {

// The signed 16-bit halves the system packs coordinates into.
LPARAM PackPoint(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(static_cast<SHORT>(y)));
}

}  // namespace

void WindowInput::Post(UINT message, WPARAM wParam, int x, int y) {
  PostMessageA(mTarget, message, wParam, PackPoint(x, y));
  MessagePump::DispatchWaiting();
}

void WindowInput::Press(int x, int y, WPARAM keys) { Post(WM_LBUTTONDOWN, MK_LBUTTON | keys, x, y); }

void WindowInput::DragTo(int x, int y, WPARAM keys) { Post(WM_MOUSEMOVE, MK_LBUTTON | keys, x, y); }

void WindowInput::Release(int x, int y, WPARAM keys) { Post(WM_LBUTTONUP, keys, x, y); }

void WindowInput::MoveTo(int x, int y) { Post(WM_MOUSEMOVE, 0, x, y); }

void WindowInput::DoubleClick(int x, int y) {
  Press(x, y);
  Release(x, y);
  Post(WM_LBUTTONDBLCLK, MK_LBUTTON, x, y);
  Release(x, y);
}

void WindowInput::Wheel(int x, int y, int delta, WPARAM keys) {
  POINT screen = {x, y};
  ClientToScreen(mTarget, &screen);
  const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(keys), static_cast<WORD>(static_cast<SHORT>(delta)));
  Post(WM_MOUSEWHEEL, wParam, screen.x, screen.y);
}

void WindowInput::Key(UINT virtualKey) {
  const UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
  PostMessageA(mTarget, WM_KEYDOWN, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16));
  MessagePump::DispatchWaiting();
  PostMessageA(mTarget, WM_KEYUP, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16) | (3LL << 30));
  MessagePump::DispatchWaiting();
}

void WindowInput::Drag(int x, int y, int dx, int dy, int steps, WPARAM keys) {
  Press(x, y, keys);
  for (int i = 1; i <= steps; ++i) DragTo(x + i * dx, y + i * dy, keys);
  Release(x + steps * dx, y + steps * dy, keys);
}

}  // namespace brel::win
