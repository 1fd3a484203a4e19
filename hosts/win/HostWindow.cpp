#include "hosts/win/HostWindow.h"

namespace brel::win {

namespace {

constexpr char kClassName[] = "BrelvaneTestHostWindow";

// Registered once per process; the class outlives every window (the system drops it when the
// process ends).
bool RegisterHostClass(WNDPROC procedure) {
  static const bool registered = [procedure] {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace

HostWindow::HostWindow(int width, int height, int x, int y) {
  if (!RegisterHostClass(&HostWindow::Procedure)) return;
  // A popup has no frame or caption, so the client area is the window. It is shown without being
  // activated: under Wine, destroying a window that was activated waits for a window manager the
  // virtual display does not have (two seconds per window).
  mWindow = CreateWindowExA(0, kClassName, "Brelvane test host", WS_POPUP | WS_CLIPCHILDREN, x, y, width,
                            height, nullptr, nullptr, GetModuleHandleA(nullptr), this);
  if (!mWindow) return;
  ShowWindow(mWindow, SW_SHOWNOACTIVATE);
  UpdateWindow(mWindow);
}

HostWindow::~HostWindow() {
  if (!mWindow) return;
  SetWindowLongPtrA(mWindow, GWLP_USERDATA, 0);
  DestroyWindow(mWindow);
  MessagePump::DispatchWaiting();
}

bool HostWindow::Resize(int width, int height) {
  return mWindow &&
         SetWindowPos(mWindow, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}

SIZE HostWindow::ClientSize() const {
  RECT client = {};
  if (mWindow) GetClientRect(mWindow, &client);
  return SIZE{client.right - client.left, client.bottom - client.top};
}

std::vector<HWND> HostWindow::Children() const {
  std::vector<HWND> children;
  if (!mWindow) return children;
  for (HWND child = GetWindow(mWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

std::vector<WindowId> HostWindow::ChildWindows() const {
  std::vector<WindowId> children;
  for (HWND child : Children()) children.push_back(reinterpret_cast<WindowId>(child));
  return children;
}

void HostWindow::Sync() { MessagePump::DispatchWaiting(); }

LRESULT CALLBACK HostWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_KEYDOWN:
      if (self) self->mKeysDown.push_back(static_cast<UINT>(wParam));
      return 0;
    case WM_KEYUP:
      if (self) self->mKeysUp.push_back(static_cast<UINT>(wParam));
      return 0;
    case WM_ERASEBKGND: return 1;  // the editor covers the client area; nothing to erase
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      EndPaint(window, &paint);
      return 0;
    }
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

int MessagePump::Dispatch(HWND countedWindow, int& timerTicks) {
  int dispatched = 0;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_TIMER && countedWindow && message.hwnd == countedWindow) ++timerTicks;
    TranslateMessage(&message);
    DispatchMessageA(&message);
    ++dispatched;
  }
  return dispatched;
}

int MessagePump::Iterate(HWND countedWindow, int& timerTicks) {
  MsgWaitForMultipleObjectsEx(0, nullptr, kWaitMilliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  return Dispatch(countedWindow, timerTicks);
}

int MessagePump::DispatchWaiting() {
  int ticks = 0;
  return Dispatch(nullptr, ticks);
}

void MessagePump::Run(int iterations) {
  int ticks = 0;
  for (int i = 0; i < iterations; ++i) Iterate(nullptr, ticks);
}

bool MessagePump::RunTimerTicks(HWND window, int ticks, int maxIterations) {
  int seen = 0;
  for (int i = 0; i < maxIterations && seen < ticks; ++i) Iterate(window, seen);
  return seen >= ticks;
}

}  // namespace brel::win
