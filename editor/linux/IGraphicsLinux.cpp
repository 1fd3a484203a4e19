// The Linux editor's window: its connection and child window, painting, the frame step, and the
// mouse and key events of the window.
#include "raster/Bitmap.h"

#include "editor/linux/IGraphicsLinuxEvents.h"
#include "editor/linux/XErrorTrap.h"
#include "editor/linux/XImageSurface.h"
#include "editor/linux/XResourceScale.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr long kWindowEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                               KeyPressMask | KeyReleaseMask | FocusChangeMask | StructureNotifyMask |
                               LeaveWindowMask;

MouseModifiers ModifiersOf(unsigned int state) {
  MouseModifiers mods;
  mods.left = (state & Button1Mask) != 0;
  mods.right = (state & Button3Mask) != 0;
  mods.shift = (state & ShiftMask) != 0;
  mods.control = (state & ControlMask) != 0;
  mods.alt = (state & Mod1Mask) != 0;
  return mods;
}

// The buttons held as a press or release reports them: X gives the state from before the event,
// Windows the state after it.
unsigned int StateAfter(const XButtonEvent& event, bool pressed) {
  unsigned int mask = 0;
  if (event.button == Button1) mask = Button1Mask;
  if (event.button == Button2) mask = Button2Mask;
  if (event.button == Button3) mask = Button3Mask;
  return pressed ? (event.state | mask) : (event.state & ~mask);
}

// The editor's key for an X key (its unshifted symbol, or the symbol itself).
EditorKey KeyOf(KeySym key) {
  switch (key) {
    case XK_space: return EditorKey::Space;
    case XK_Up: return EditorKey::Up;
    case XK_Down: return EditorKey::Down;
    case XK_Left: return EditorKey::Left;
    case XK_Right: return EditorKey::Right;
  }
  if (key >= XK_0 && key <= XK_9) return DigitKey(static_cast<int>(key - XK_0));
  if (key >= XK_a && key <= XK_z) return LetterKey(static_cast<int>(key - XK_a));
  if (key >= XK_A && key <= XK_Z) return LetterKey(static_cast<int>(key - XK_A));
  return EditorKey::NoKey;
}

PointerButton ButtonOf(unsigned int button) {
  if (button == Button3) return PointerButton::Right;
  return button == Button2 ? PointerButton::Middle : PointerButton::Left;
}

bool IsPointerButton(unsigned int button) {
  return button == Button1 || button == Button2 || button == Button3;
}

// The window's top-level ancestor: the child of the root that holds it.
::Window TopLevelOf(Display* display, ::Window window) {
  ::Window at = window;
  for (int depth = 0; depth < 64; ++depth) {
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, at, &root, &parent, &children, &count)) return 0;
    if (children) XFree(children);
    if (parent == root || parent == 0) return at;
    at = parent;
  }
  return 0;
}

}  // namespace

IGraphicsLinux::IGraphicsLinux(IPlugBase* plug, int width, int height, int frameRate)
    : IGraphics(plug, width, height, frameRate),
      mTimerPeriod(static_cast<int>(1000.0 / std::max(frameRate, 1))) {}

IGraphicsLinux::~IGraphicsLinux() { CloseEditorWindow(); }

bool IGraphicsLinux::UsesSharedMemory() const { return mSurface && mSurface->SharedMemory(); }

int IGraphicsLinux::EventFd() const { return mDisplay ? ConnectionNumber(mDisplay) : -1; }

unsigned long IGraphicsLinux::RequestsSent() const { return mDisplay ? NextRequest(mDisplay) - 1 : 0; }

// ---- Opening and closing.

bool IGraphicsLinux::OpenEditorWindow(void* parentWindow) {
  const auto parent = static_cast<::Window>(reinterpret_cast<std::uintptr_t>(parentWindow));
  int x = 0, y = 0;
  if (mDisplay && mWindow) {
    // A window already open moves to the new parent, keeping its place.
    XErrorTrap trap(mDisplay);
    ::Window child = 0;
    if (!XTranslateCoordinates(mDisplay, mWindow, parent, 0, 0, &x, &y, &child)) x = y = 0;
    if (trap.Failed()) x = y = 0;
  }
  CloseEditorWindow();
  if (parent == 0) return false;
  mDisplay = XOpenDisplay(nullptr);
  if (!mDisplay) return false;
  // The desktop's factor as the server has it now, unless the host gave its own.
  FollowPlatformScale();
  int w = 0, h = 0;
  WindowSize(w, h);
  if (!CreateWindow(parent, x, y, w, h)) {
    DestroyWindowResources();
    return false;
  }
  MarkAllDirty();
  mLastFrame = std::chrono::steady_clock::now();
  return true;
}

bool IGraphicsLinux::CreateWindow(unsigned long parent, int x, int y, int w, int h) {
  XErrorTrap trap(mDisplay);
  XWindowAttributes host;
  if (!XGetWindowAttributes(mDisplay, parent, &host)) return false;
  XSetWindowAttributes attributes = {};
  attributes.event_mask = kWindowEvents;
  attributes.background_pixmap = None;  // the picture covers it all: no flash of background
  mWindow = XCreateWindow(mDisplay, parent, x, y, static_cast<unsigned>(std::max(w, 1)),
                          static_cast<unsigned>(std::max(h, 1)), 0, CopyFromParent, InputOutput,
                          CopyFromParent, CWEventMask | CWBackPixmap, &attributes);
  mParent = parent;
  mGC = XCreateGC(mDisplay, mWindow, 0, nullptr);
  mSurface = std::make_unique<XImageSurface>();
  if (!mSurface->Create(mDisplay, host.visual, host.depth, w, h, mAllowSharedMemory)) return false;
  XMapWindow(mDisplay, mWindow);
  // The parent may go while the window is made: the host must hear of no editor then.
  if (trap.Failed()) return false;
  // Keys go to the editor from the start, as on Windows; a parent not yet shown cannot take the
  // focus, which is no failure.
  XSetInputFocus(mDisplay, mWindow, RevertToParent, CurrentTime);
  return true;
}

void IGraphicsLinux::CloseEditorWindow() {
  if (!mDisplay) return;
  DestroyWindowResources();
}

void IGraphicsLinux::DestroyWindowResources() {
  XErrorTrap trap(mDisplay);
  Entry().Close();
  if (mPointerGrabbed) XUngrabPointer(mDisplay, CurrentTime);
  mPointerGrabbed = false;
  if (mGC) XFreeGC(mDisplay, mGC);
  mGC = nullptr;
  mSurface.reset();
  // A window whose parent went is gone already; destroying it again is a trapped error.
  if (mWindow) XDestroyWindow(mDisplay, mWindow);
  ForgetWindow();
  trap.CloseDisplay();
  mDisplay = nullptr;
}

void IGraphicsLinux::ForgetWindow() {
  mWindow = 0;
  mParent = 0;
  mTrackingLeave = false;
  mLastPressButton = 0;
  mPendingPaint = Rect{};
}

// ---- The host's calls.

void IGraphicsLinux::Idle() {
  if (!mDisplay) return;
  XErrorTrap trap(mDisplay);
  HandleEvents();
  if (!mDisplay || !mWindow) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - mLastFrame < std::chrono::milliseconds(mTimerPeriod)) return;
  mLastFrame = now;
  RunFrame();
}

void IGraphicsLinux::ProcessEvents() {
  if (!mDisplay) return;
  XErrorTrap trap(mDisplay);
  HandleEvents();
}

void IGraphicsLinux::FrameStep() {
  if (!mDisplay || !mWindow) return;
  XErrorTrap trap(mDisplay);
  RunFrame();
}

// Reading what arrived sends nothing: an idle call without events costs no round trip.
void IGraphicsLinux::HandleEvents() {
  while (mDisplay && XPending(mDisplay) > 0) {
    XEvent event;
    XNextEvent(mDisplay, &event);
    Dispatch(event);
  }
  PaintPending();
}

void IGraphicsLinux::RunFrame() {
  Rect dirty;
  if (!TimerStep(dirty)) return;
  // What the server asked for goes with it; the value box is a child window, so nothing drawn
  // here covers it.
  mPendingPaint = mPendingPaint.Union(dirty);
  PaintPending();
}

void IGraphicsLinux::Dispatch(XEvent& event) {
  if (mEntryWindow && event.xany.window == mEntryWindow) {
    switch (event.type) {
      case KeyPress: X::OnEntryKey(*this, event.xkey); return;
      case FocusIn:
      case FocusOut: X::OnEntryFocus(*this, event.xfocus); return;
      case Expose:
        if (event.xexpose.count == 0) DrawEntry();
        return;
    }
    return;
  }
  if (!mWindow || event.xany.window != mWindow) return;
  // While the value box has the keyboard the editor's window takes no pointer moves and no keys;
  // a release still ends the gesture its press began (the press that opened the box, typically).
  const bool entryFocused = Entry().HasKeyboard();
  switch (event.type) {
    case Expose: X::OnExpose(*this, event.xexpose); return;
    case ConfigureNotify: mPendingPaint = Rect{0, 0, event.xconfigure.width, event.xconfigure.height}; return;
    case DestroyNotify:
      // The host destroyed its window and ours with it.
      if (event.xdestroywindow.window != mWindow) return;
      mEntryWindow = 0;
      Entry().Close();
      mPointerGrabbed = false;
      mSurface.reset();
      ForgetWindow();
      return;
    case ButtonPress:
      if (event.xbutton.button == Button4 || event.xbutton.button == Button5) {
        X::OnWheel(*this, event.xbutton);
        return;
      }
      X::OnButtonPress(*this, event.xbutton);
      return;
    case ButtonRelease: X::OnButtonRelease(*this, event.xbutton); return;
    case MotionNotify:
      if (!entryFocused) X::OnMotion(*this, event.xmotion);
      return;
    case KeyPress:
      if (!entryFocused) X::OnKey(*this, event.xkey);
      return;
    case KeyRelease: X::ForwardKey(*this, event.xkey); return;
    case LeaveNotify: X::OnLeave(*this, event.xcrossing); return;
  }
}

// ---- Painting and the frame step.

void IGraphicsLinux::X::OnExpose(IGraphicsLinux& editor, const XExposeEvent& event) {
  const Rect exposed{event.x, event.y, event.x + event.width, event.y + event.height};
  editor.mPendingPaint = editor.mPendingPaint.Union(exposed);
}

void IGraphicsLinux::PaintPending() {
  if (!mWindow || mPendingPaint.Empty()) return;
  const Rect update = mPendingPaint;
  mPendingPaint = Rect{};
  RedrawRegion(update);
}

bool IGraphicsLinux::PaintScreen(const Rect& rect) {
  if (!mDisplay || !mWindow || !mSurface) return true;
  LICE_IBitmap* bitmap = ScreenBitmap();
  if (!bitmap || !bitmap->Pixels()) return true;
  XErrorTrap trap(mDisplay);
  mSurface->Put(mWindow, mGC, bitmap->Pixels(), bitmap->RowSpan(), rect.left, rect.top, rect.W(), rect.H());
  return true;
}

// ---- Mouse and keys.

bool IGraphicsLinux::X::IsDoubleClick(IGraphicsLinux& editor, const XButtonEvent& event) {
  const bool doubled = editor.mLastPressButton == event.button &&
                       event.time - editor.mLastPressTime <= kDoubleClickMs &&
                       std::abs(event.x - editor.mLastPressX) <= kDoubleClickDistance &&
                       std::abs(event.y - editor.mLastPressY) <= kDoubleClickDistance;
  // A third press starts again.
  editor.mLastPressButton = doubled ? 0 : event.button;
  editor.mLastPressTime = event.time;
  editor.mLastPressX = event.x;
  editor.mLastPressY = event.y;
  return doubled;
}

void IGraphicsLinux::X::OnButtonPress(IGraphicsLinux& editor, const XButtonEvent& event) {
  if (!IsPointerButton(event.button)) return;
  const PointerButton button = ButtonOf(event.button);
  // While the value box has the keyboard a press is the box's, and starts no double click either.
  if (editor.Entry().HasKeyboard()) {
    editor.PressReachesControls(button);
    return;
  }
  const MouseModifiers mods = ModifiersOf(StateAfter(event, true));
  if (IsDoubleClick(editor, event)) {
    // Only the left button's second press reaches a control; the others' releases still do.
    if (event.button != Button1) return;
    if (editor.HandleMouseDoubleClick(event.x, event.y, mods)) {
      XGrabPointer(editor.mDisplay, editor.mWindow, False,
                   ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync, GrabModeAsync,
                   None, None, event.time);
      editor.mPointerGrabbed = true;
    }
    return;
  }
  if (!editor.PressReachesControls(button)) return;
  XSetInputFocus(editor.mDisplay, editor.mWindow, RevertToParent, event.time);
  XGrabPointer(editor.mDisplay, editor.mWindow, False,
               ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync, GrabModeAsync, None,
               None, event.time);
  editor.mPointerGrabbed = true;
  editor.HandleMouseDown(event.x, event.y, mods);
}

void IGraphicsLinux::X::OnButtonRelease(IGraphicsLinux& editor, const XButtonEvent& event) {
  if (!IsPointerButton(event.button)) return;
  if (editor.mPointerGrabbed) XUngrabPointer(editor.mDisplay, event.time);
  editor.mPointerGrabbed = false;
  editor.HandleMouseUp(event.x, event.y, ModifiersOf(StateAfter(event, false)));
}

void IGraphicsLinux::X::OnMotion(IGraphicsLinux& editor, const XMotionEvent& event) {
  const MouseModifiers mods = ModifiersOf(event.state);
  if (mods.left || mods.right) {
    if (editor.mPointerGrabbed) editor.HandleMouseDrag(event.x, event.y, mods);
    return;
  }
  if (editor.HandleMouseOver(event.x, event.y, mods)) editor.mTrackingLeave = true;
}

void IGraphicsLinux::X::OnLeave(IGraphicsLinux& editor, const XCrossingEvent& event) {
  if (!editor.mTrackingLeave || event.mode != NotifyNormal) return;
  editor.mTrackingLeave = false;
  editor.HandleMouseOut();
}

// One notch is one wheel click, as a wheel delta of 120 is on Windows.
void IGraphicsLinux::X::OnWheel(IGraphicsLinux& editor, const XButtonEvent& event) {
  const int notches = event.button == Button4 ? 1 : -1;
  editor.HandleMouseWheel(event.x, event.y, ModifiersOf(event.state), notches);
}

void IGraphicsLinux::X::OnKey(IGraphicsLinux& editor, XKeyEvent& event) {
  if (editor.HandleKeyDown(event.x, event.y, KeyOf(XLookupKeysym(&event, 0)))) return;
  ForwardKey(editor, event);
}

// Keys the editor does not take belong to the host: its top-level window hears them, as a sent
// event (hosts that ignore sent events do not see them).
void IGraphicsLinux::X::ForwardKey(IGraphicsLinux& editor, XKeyEvent& event) {
  const ::Window top = TopLevelOf(editor.mDisplay, editor.mWindow);
  if (!top || top == editor.mWindow) return;
  XEvent forwarded;
  forwarded.xkey = event;
  forwarded.xkey.window = top;
  forwarded.xkey.subwindow = 0;
  const long mask = event.type == KeyPress ? KeyPressMask : KeyReleaseMask;
  XSendEvent(editor.mDisplay, top, False, mask, &forwarded);
}

// ---- Size.

void IGraphicsLinux::Resize(int width, int height) {
  if (!RebuildAtSize(width, height) || !mDisplay || !mWindow) return;
  FitWindowToScale();
}

void IGraphicsLinux::OnScaleChanged() {
  if (!mDisplay || !mWindow) return;
  // The box sits at the old scale's pixels; the core's rules close it as a rebuild does.
  Entry().Close();
  FitWindowToScale();
}

void IGraphicsLinux::FitWindowToScale() {
  int width = 0, height = 0;
  WindowSize(width, height);
  XErrorTrap trap(mDisplay);
  XWindowAttributes now;
  if (!XGetWindowAttributes(mDisplay, mWindow, &now)) return;
  const int dw = width - now.width;
  const int dh = height - now.height;
  XResizeWindow(mDisplay, mWindow, static_cast<unsigned>(std::max(width, 1)),
                static_cast<unsigned>(std::max(height, 1)));
  mSurface = std::make_unique<XImageSurface>();
  mSurface->Create(mDisplay, now.visual, now.depth, width, height, mAllowSharedMemory);
  XWindowAttributes parent;
  if (ResizesHostWindow() && XGetWindowAttributes(mDisplay, mParent, &parent))
    XResizeWindow(mDisplay, mParent, static_cast<unsigned>(std::max(parent.width + dw, 1)),
                  static_cast<unsigned>(std::max(parent.height + dh, 1)));
  mPendingPaint = Rect{0, 0, width, height};
}

// ---- Scale.

double IGraphicsLinux::PlatformScale() {
  if (mDisplay) return ScaleFromXResources(XResourceManagerString(mDisplay));
  // No window, no connection: one for the question alone, so a changed setting is seen.
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 1.0;
  const double scale = ScaleFromXResources(XResourceManagerString(display));
  XCloseDisplay(display);
  return scale;
}
