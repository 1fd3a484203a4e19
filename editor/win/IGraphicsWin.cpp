// The Windows editor's window: class registration, opening and closing, the window procedure,
// painting, the repaint timer, mouse and keys, and resizing.
#include "editor/win/IGraphicsWinMessages.h"

#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>

#include "core/IPlugBase.h"
#include "raster/Bitmap.h"

namespace {

constexpr char kWindowClass[] = "IPlugWndClass";
constexpr UINT_PTR kTimerId = 2;
constexpr double kBaseDpi = 96.0;  // the DPI of scale 1
// Sent when the monitor's DPI changes under the window; the toolchain's headers may not name them.
constexpr UINT kDpiChanged = 0x02E0;
constexpr UINT kDpiChangedAfterParent = 0x02E3;

// Editor windows of this module open now; the class stays registered while there is one.
int gOpenWindows = 0;
// The frame rate of the window being created, read by its WM_CREATE.
double gFrameRate = 25.0;

// The module this code is linked into (the plug-in's DLL, or a test program).
HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  GetModuleHandleExA(flags, reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

void AcquireWindowClass(HINSTANCE instance, WNDPROC proc) {
  if (gOpenWindows++ > 0) return;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kWindowClass;
  RegisterClassExA(&wc);
}

void ReleaseWindowClass(HINSTANCE instance) {
  if (--gOpenWindows == 0) UnregisterClassA(kWindowClass, instance);
}

// The DPI functions came with Windows 10; they are looked up so that older systems still load us.
template <typename Function>
Function User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

UINT ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : static_cast<UINT>(kBaseDpi);
}

// The DPI of the monitor `window` is on, or the system's without a window.
UINT DpiOf(HWND window) {
  static const auto forWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  static const auto forSystem = User32Function<UINT(WINAPI*)()>("GetDpiForSystem");
  UINT dpi = 0;
  if (window && IsWindow(window)) {
    if (forWindow) dpi = forWindow(window);
  } else if (forSystem) {
    dpi = forSystem();
  }
  return dpi > 0 ? dpi : ScreenDpi();
}

// While alive, windows this thread makes are per-monitor DPI aware (the second version where the
// system has it), so the system never stretches the editor's picture; the host's context returns
// after.
class PerMonitorDpiAwareness {
public:
  PerMonitorDpiAwareness() {
    if (!set) return;
    mPrevious = set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (!mPrevious) mPrevious = set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
  }
  ~PerMonitorDpiAwareness() {
    if (mPrevious) set(mPrevious);
  }
  PerMonitorDpiAwareness(const PerMonitorDpiAwareness&) = delete;
  PerMonitorDpiAwareness& operator=(const PerMonitorDpiAwareness&) = delete;

private:
  using SetContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
  static inline const SetContext set = User32Function<SetContext>("SetThreadDpiAwarenessContext");
  DPI_AWARENESS_CONTEXT mPrevious = nullptr;
};

MouseModifiers ModifiersOf(WPARAM keys) {
  MouseModifiers mods;
  mods.left = (keys & MK_LBUTTON) != 0;
  mods.right = (keys & MK_RBUTTON) != 0;
  mods.shift = (keys & MK_SHIFT) != 0;
  mods.control = (keys & MK_CONTROL) != 0;
  mods.alt = GetKeyState(VK_MENU) < 0;
  return mods;
}

// The editor's key for a virtual key. Function and keypad keys are no letters or digits.
EditorKey KeyOf(WPARAM key) {
  switch (key) {
    case VK_SPACE: return EditorKey::Space;
    case VK_UP: return EditorKey::Up;
    case VK_DOWN: return EditorKey::Down;
    case VK_LEFT: return EditorKey::Left;
    case VK_RIGHT: return EditorKey::Right;
  }
  if (key >= '0' && key <= '9') return DigitKey(static_cast<int>(key - '0'));
  if (key >= 'A' && key <= 'Z') return LetterKey(static_cast<int>(key - 'A'));
  return EditorKey::NoKey;
}

PointerButton ButtonOf(UINT msg) {
  if (msg == WM_RBUTTONDOWN) return PointerButton::Right;
  return msg == WM_MBUTTONDOWN ? PointerButton::Middle : PointerButton::Left;
}

// Keys the editor does not take belong to the host: its top-level window hears them.
void SendToRoot(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND root = GetAncestor(window, GA_ROOT);
  if (root && root != window) SendMessageA(root, msg, wParam, lParam);
}

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

void Grow(HWND window, int dw, int dh) {
  RECT r;
  if (!window || !GetWindowRect(window, &r)) return;
  SetWindowPos(window, nullptr, 0, 0, r.right - r.left + dw, r.bottom - r.top + dh,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool IsPlainChild(HWND window) {
  return window && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) &&
         !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_MDICHILD);
}

}  // namespace

IGraphicsWin::IGraphicsWin(IPlugBase* plug, int width, int height, int frameRate)
    : IGraphics(plug, width, height, frameRate), mInstance(ThisModule()) {}

IGraphicsWin::~IGraphicsWin() { CloseEditorWindow(); }

// ---- Opening and closing.

bool IGraphicsWin::OpenEditorWindow(void* parentWindow) {
  HWND parent = static_cast<HWND>(parentWindow);
  POINT place{0, 0};
  if (mWindow) {
    // A window already open moves to the new parent, keeping its place.
    RECT old;
    GetWindowRect(mWindow, &old);
    place = POINT{old.left, old.top};
    MapWindowPoints(HWND_DESKTOP, parent, &place, 1);
    CloseEditorWindow();
  }
  // A host that asked for the size first was told the system's DPI; the monitor its window is on
  // may have another, and the host then hears of the new size.
  mParentWindow = parent;
  const double askedScale = Scale();
  FollowPlatformScale();
  int width = 0;
  int height = 0;
  WindowSize(width, height);
  AcquireWindowClass(mInstance, &Win::WindowProc);
  gFrameRate = FrameRate();
  HWND window = nullptr;
  {
    PerMonitorDpiAwareness awareness;
    window = CreateWindowExA(0, kWindowClass, "IPlug", WS_CHILD | WS_VISIBLE, place.x, place.y, width, height,
                             parent, nullptr, mInstance, this);
  }
  if (!window) {
    mWindow = nullptr;
    ReleaseWindowClass(mInstance);
    return false;
  }
  if (Scale() != askedScale && Plug()) Plug()->ResizeEditor(width, height);
  MarkAllDirty();
  if (mTooltipsEnabled) CreateTooltip();
  return true;
}

void IGraphicsWin::CloseEditorWindow() {
  if (!mWindow) return;
  Entry().Close();
  if (mTooltipWindow) DestroyWindow(mTooltipWindow);
  mTooltipWindow = nullptr;
  mTooltipShown = false;
  mTooltipControl = -1;
  // Forgotten first, so that nothing the window hears while it goes reaches the editor.
  HWND window = mWindow;
  mWindow = nullptr;
  DestroyWindow(window);
  ReleaseWindowClass(mInstance);
}

void IGraphicsWin::Win::OnCreate(HWND window, LPARAM lParam) {
  auto* editor = static_cast<IGraphicsWin*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(editor));
  editor->mWindow = window;
  editor->mTimerPeriod = static_cast<int>(1000.0 / std::max(gFrameRate, 1.0));
  SetTimer(window, kTimerId, editor->mTimerPeriod, nullptr);
  SetFocus(window);
}

// ---- The window procedure.

LRESULT CALLBACK IGraphicsWin::Win::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) {
    OnCreate(window, lParam);
    return 0;
  }
  auto* editor = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!editor || editor->mWindow != window) return DefWindowProcA(window, msg, wParam, lParam);
  if (editor->Entry().HasKeyboard()) return WhileEntryFocused(*editor, window, msg, wParam, lParam);
  return Dispatch(*editor, window, msg, wParam, lParam);
}

// While the value box has the keyboard the editor's window hears only presses, which are the box's,
// and releases: a release still ends the gesture its press began (the one that opened the box,
// typically). Its timer waits too.
LRESULT IGraphicsWin::Win::WhileEntryFocused(IGraphicsWin& editor, HWND window, UINT msg, WPARAM wParam,
                                             LPARAM lParam) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: editor.PressReachesControls(ButtonOf(msg)); return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: return OnButtonUp(editor, wParam, lParam);
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

LRESULT IGraphicsWin::Win::Dispatch(IGraphicsWin& editor, HWND window, UINT msg, WPARAM wParam,
                                    LPARAM lParam) {
  switch (msg) {
    case WM_SIZE: InvalidateRect(window, nullptr, FALSE); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return 0;
    case WM_PAINT: return OnPaint(editor, window);
    case WM_CLOSE: editor.CloseEditorWindow(); return 0;
    case WM_TIMER:
      if (wParam != kTimerId) break;
      editor.FrameStep();
      return 0;
    case WM_KEYDOWN: return OnKeyDown(editor, window, wParam, lParam);
    case WM_KEYUP: SendToRoot(window, msg, wParam, lParam); break;
    case WM_CTLCOLOREDIT:
      if (!editor.Entry().IsOpen()) break;
      return OnEntryColours(editor, wParam);
    case WM_MOUSEMOVE: return OnMouseMove(editor, window, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: return OnButtonDown(editor, window, msg, wParam, lParam);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: return OnButtonUp(editor, wParam, lParam);
    case WM_LBUTTONDBLCLK: return OnDoubleClick(editor, window, wParam, lParam);
    case WM_MOUSEWHEEL: return OnWheel(editor, window, wParam, lParam);
    case WM_MOUSEHOVER: {
      const IControl* control = editor.GetControl(editor.mTooltipControl);
      editor.ShowTooltip(control ? control->Tooltip().c_str() : "");
      return 0;
    }
    case WM_MOUSELEAVE:
      editor.HideTooltip();
      editor.HandleMouseOut();
      return 0;
    case kDpiChangedAfterParent:
    case kDpiChanged: editor.FollowPlatformScale(); return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

// ---- Painting and the timer.

LRESULT IGraphicsWin::Win::OnPaint(IGraphicsWin& editor, HWND window) {
  RECT r;
  if (!GetUpdateRect(window, &r, FALSE)) return 0;
  editor.RedrawRegion(Rect{r.left, r.top, r.right, r.bottom});
  return 0;
}

bool IGraphicsWin::PaintScreen(const Rect& rect) {
  if (!mWindow) return true;
  PAINTSTRUCT paint;
  HDC screen = BeginPaint(mWindow, &paint);
  LICE_IBitmap* bitmap = ScreenBitmap();
  HDC source = bitmap ? static_cast<HDC>(bitmap->DeviceContext()) : nullptr;
  if (screen && source)
    BitBlt(screen, rect.left, rect.top, rect.W(), rect.H(), source, rect.left, rect.top, SRCCOPY);
  EndPaint(mWindow, &paint);
  return true;
}

void IGraphicsWin::FrameStep() {
  Rect dirty;
  if (!TimerStep(dirty)) return;
  const RECT area = ToRECT(dirty);
  InvalidateRect(mWindow, &area, FALSE);
  if (const IControl* under = Entry().Control()) {
    // The box stays on top: the control under it is not painted over it.
    const RECT box = ToRECT(ToWindow(under->GetRect()));
    ValidateRect(mWindow, &box);
  }
  UpdateWindow(mWindow);
}

// ---- Mouse and keys.

LRESULT IGraphicsWin::Win::OnKeyDown(IGraphicsWin& editor, HWND window, WPARAM wParam, LPARAM lParam) {
  const EditorKey key = KeyOf(wParam);
  if (key != EditorKey::NoKey) {
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(window, &at);
    if (editor.HandleKeyDown(at.x, at.y, key)) return 0;
  }
  SendToRoot(window, WM_KEYDOWN, wParam, lParam);
  return DefWindowProcA(window, WM_KEYDOWN, wParam, lParam);
}

LRESULT IGraphicsWin::Win::OnMouseMove(IGraphicsWin& editor, HWND window, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  const MouseModifiers mods = ModifiersOf(wParam);
  if (mods.left || mods.right) {
    if (GetCapture() == window) editor.HandleMouseDrag(x, y, mods);
    return 0;
  }
  if (!editor.HandleMouseOver(x, y, mods)) return 0;
  TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, window, HOVER_DEFAULT};
  if (editor.mTooltipsEnabled && editor.MouseOverControl() != editor.mTooltipControl) {
    editor.mTooltipControl = editor.MouseOverControl();
    if (editor.mTooltipControl >= 0) track.dwFlags |= TME_HOVER;
    editor.HideTooltip();
  }
  TrackMouseEvent(&track);
  return 0;
}

LRESULT IGraphicsWin::Win::OnButtonDown(IGraphicsWin& editor, HWND window, UINT msg, WPARAM wParam,
                                        LPARAM lParam) {
  editor.HideTooltip();
  if (!editor.PressReachesControls(ButtonOf(msg))) return 0;
  // The keyboard first: a press that opens the value box hands it on to the box.
  SetFocus(window);
  SetCapture(window);
  editor.HandleMouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), ModifiersOf(wParam));
  return 0;
}

LRESULT IGraphicsWin::Win::OnButtonUp(IGraphicsWin& editor, WPARAM wParam, LPARAM lParam) {
  ReleaseCapture();
  editor.HandleMouseUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), ModifiersOf(wParam));
  return 0;
}

LRESULT IGraphicsWin::Win::OnDoubleClick(IGraphicsWin& editor, HWND window, WPARAM wParam, LPARAM lParam) {
  if (editor.HandleMouseDoubleClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), ModifiersOf(wParam)))
    SetCapture(window);
  return 0;
}

LRESULT IGraphicsWin::Win::OnWheel(IGraphicsWin& editor, HWND window, WPARAM wParam, LPARAM lParam) {
  // The wheel reports the pointer in screen coordinates.
  RECT r;
  GetWindowRect(window, &r);
  const int x = GET_X_LPARAM(lParam) - r.left;
  const int y = GET_Y_LPARAM(lParam) - r.top;
  const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
  editor.HandleMouseWheel(x, y, ModifiersOf(GET_KEYSTATE_WPARAM(wParam)), notches);
  return 0;
}

// ---- Size.

void IGraphicsWin::Resize(int width, int height) {
  if (!mWindow) {
    RebuildAtSize(width, height);
    return;
  }
  int oldWidth = 0;
  int oldHeight = 0;
  WindowSize(oldWidth, oldHeight);
  if (!RebuildAtSize(width, height)) return;
  int newWidth = 0;
  int newHeight = 0;
  WindowSize(newWidth, newHeight);
  ResizeWindows(newWidth - oldWidth, newHeight - oldHeight);
  const RECT all{0, 0, newWidth, newHeight};
  InvalidateRect(mWindow, &all, FALSE);
}

// ---- Scale.

double IGraphicsWin::PlatformScale() { return DpiOf(mParentWindow) / kBaseDpi; }

void IGraphicsWin::OnScaleChanged() {
  if (!mWindow) return;
  // The box's place and type size belong to the old scale.
  Entry().Close();
  RECT client;
  GetClientRect(mWindow, &client);
  int width = 0;
  int height = 0;
  WindowSize(width, height);
  ResizeWindows(width - client.right, height - client.bottom);
  InvalidateRect(mWindow, nullptr, FALSE);
}

void IGraphicsWin::ResizeWindows(int dw, int dh) {
  Grow(mWindow, dw, dh);
  if (!IsPlainChild(mWindow) || !ResizesHostWindow()) return;
  HWND parent = GetParent(mWindow);
  Grow(parent, dw, dh);
  if (IsPlainChild(parent)) Grow(GetParent(parent), dw, dh);
}
