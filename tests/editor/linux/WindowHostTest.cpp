// The Linux editor in real X11 windows on a private X server: a top-level window stands in for
// the host's, the editor opens inside it, and the tests send it the events the server would
// (as sent events, with the times and positions the case needs), read its pixels back and count
// the server's windows.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/IPlugBase.h"
#include "editor/linux/IGraphicsLinux.h"
#include "raster/Bitmap.h"
#include "tests/support/linux/PrivateXServer.h"

// After our own headers: Xlib's macros would take over their names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace {

// A plug-in with one real-valued and one integer parameter.
class TwoParamPlug : public IPlugBase {
public:
  TwoParamPlug() : IPlugBase(2, 0, "1-1", "test", "", "", 1, 1, 1, ApiId::Vst2) {
    GetParam(0)->DefineDouble("gain", 0.0, -10.0, 10.0, 0.01);
    GetParam(1)->DefineInt("steps", 0, 0, 100);
  }
  void BeginParamEdit(int paramIndex) override { gestures.push_back(paramIndex + 1); }
  void EndParamEdit(int paramIndex) override { gestures.push_back(-(paramIndex + 1)); }
  std::vector<int> gestures;  // +n begins parameter n - 1, -n ends it
};

// Paints a pattern in which every pixel differs, so that a swapped channel or a shifted row
// shows; records what the mouse did to it.
class PatternControl : public IControl {
public:
  PatternControl(IPlugBase* plug, const Rect& rect, int param, int seed)
      : IControl(plug, rect, param), mSeed(seed) {}
  bool Draw(IGraphics& graphics) override {
    LICE_IBitmap& bitmap = *graphics.DrawBitmap();
    for (int y = mRect.top; y < mRect.bottom; ++y)
      for (int x = mRect.left; x < mRect.right; ++x)
        RowPointer(bitmap, y)[x] = LicePixelFromChannels(x * 3 + mSeed, y * 5, (x ^ y) + mSeed * 7, 255);
    return true;
  }
  void OnMouseDown(int x, int y, const MouseModifiers& mods) override {
    downs.push_back(mods);
    IControl::OnMouseDown(x, y, mods);
  }
  void OnMouseUp(int, int, const MouseModifiers&) override { ++ups; }
  void OnMouseDrag(int, int, int dx, int dy, const MouseModifiers& mods) override {
    drags.push_back({dx, dy, mods.shift});
  }
  void OnMouseDoubleClick(int, int, const MouseModifiers&) override { ++doubleClicks; }
  void OnMouseWheel(int, int, const MouseModifiers&, int notches) override { wheel.push_back(notches); }

  struct Drag {
    int dx, dy;
    bool shift;
    bool operator==(const Drag& o) const { return dx == o.dx && dy == o.dy && shift == o.shift; }
  };
  std::vector<MouseModifiers> downs;
  int ups = 0;
  std::vector<Drag> drags;
  int doubleClicks = 0;
  std::vector<int> wheel;

private:
  int mSeed;
};

class KeyCatcher : public IControl {
public:
  KeyCatcher() : IControl(nullptr, Rect{}) {}
  bool Draw(IGraphics&) override { return true; }
  bool OnKeyDown(int, int, int key) override {
    keys.push_back(key);
    return key != 0;  // takes every key but space
  }
  std::vector<int> keys;
};

int gTestDisplayErrors = 0;
int CountErrors(Display*, XErrorEvent*) {
  ++gTestDisplayErrors;
  return 0;
}

// Every window below `window`, itself not counted.
int CountWindows(Display* display, Window window) {
  Window root, parent;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
  int total = static_cast<int>(count);
  for (unsigned int i = 0; i < count; ++i) total += CountWindows(display, children[i]);
  if (children) XFree(children);
  return total;
}

std::vector<Window> Children(Display* display, Window window) {
  Window root, parent;
  Window* children = nullptr;
  unsigned int count = 0;
  std::vector<Window> out;
  if (XQueryTree(display, window, &root, &parent, &children, &count)) out.assign(children, children + count);
  if (children) XFree(children);
  return out;
}

// Shared memory segments this process made that still exist.
int OwnSharedSegments() {
  std::ifstream table("/proc/sysvipc/shm");
  std::string line;
  std::getline(table, line);  // the heading
  int count = 0;
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    long key, shmid, perms, size, cpid;
    if (fields >> key >> shmid >> perms >> size >> cpid && cpid == getpid()) ++count;
  }
  return count;
}

class LinuxWindowHost : public ::testing::Test {
protected:
  void SetUp() override {
    BREL_REQUIRE_X_SERVER();
    // Xvfb resets itself whenever its last client leaves, and a connection made meanwhile is
    // dropped: one connection stays open for the whole test process.
    static Display* const keepsTheServerUp = XOpenDisplay(nullptr);
    ASSERT_NE(keepsTheServerUp, nullptr);
    mDisplay = XOpenDisplay(nullptr);
    ASSERT_NE(mDisplay, nullptr);
    gTestDisplayErrors = 0;
    mPreviousHandler = XSetErrorHandler(&CountErrors);
    mHost = MakeHostWindow();
    mEditor = std::make_unique<IGraphicsLinux>(&mPlug, 200, 100, 25);
    mEditor->CreateDrawingSurfaces();
    mGain = Add(Rect{10, 10, 60, 40}, 0, 1);
    mSteps = Add(Rect{100, 10, 150, 40}, 1, 2);
    // The values the core pushes when it attaches an editor.
    for (int i = 0; i < mPlug.NParams(); ++i)
      mEditor->ApplyPlugValueToControls(i, mPlug.GetParam(i)->ToNormalized(mPlug.GetParam(i)->GetValue()));
  }
  void TearDown() override {
    mEditor.reset();
    if (!mDisplay) return;
    XSync(mDisplay, False);
    EXPECT_EQ(gTestDisplayErrors, 0) << "X errors on the host's side";
    XSetErrorHandler(mPreviousHandler);
    XCloseDisplay(mDisplay);
  }
  Window MakeHostWindow() {
    const int screen = DefaultScreen(mDisplay);
    Window window = XCreateSimpleWindow(mDisplay, RootWindow(mDisplay, screen), 0, 0, 400, 300, 0,
                                        BlackPixel(mDisplay, screen), WhitePixel(mDisplay, screen));
    XSelectInput(mDisplay, window, KeyPressMask | KeyReleaseMask);
    XMapWindow(mDisplay, window);
    XSync(mDisplay, False);
    return window;
  }
  PatternControl* Add(const Rect& rect, int param, int seed) {
    auto* control = new PatternControl(&mPlug, rect, param, seed);
    mEditor->AddControl(control);
    return control;
  }
  static void* Parent(Window window) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window)); }
  Window Open() {
    EXPECT_TRUE(mEditor->OpenEditorWindow(Parent(mHost)));
    return mEditor->WindowId();
  }
  // Lets the server deliver what was sent, then the editor take it.
  void Pump() {
    for (int i = 0; i < 3; ++i) {
      XSync(mDisplay, False);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      mEditor->ProcessEvents();
    }
  }
  void Send(Window to, XEvent& event, long mask) {
    event.xany.window = to;
    XSendEvent(mDisplay, to, False, mask, &event);
  }
  // Without a time, each event comes a second after the last: no two presses make a double click.
  void Button(int type, unsigned int button, int x, int y, unsigned int state = 0, Time time = 0) {
    if (time == 0) time = mClock += 1000;
    XEvent event = {};
    event.type = type;
    event.xbutton.display = mDisplay;
    event.xbutton.root = DefaultRootWindow(mDisplay);
    event.xbutton.button = button;
    event.xbutton.x = x;
    event.xbutton.y = y;
    event.xbutton.state = state;
    event.xbutton.time = time;
    event.xbutton.same_screen = True;
    Send(mEditor->WindowId(), event, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask);
  }
  void Click(unsigned int button, int x, int y, Time time) {
    Button(ButtonPress, button, x, y, 0, time);
    const unsigned int held = button == Button1 ? Button1Mask : button == Button3 ? Button3Mask : 0;
    Button(ButtonRelease, button, x, y, held, time + 10);
  }
  void Motion(int x, int y, unsigned int state) {
    XEvent event = {};
    event.type = MotionNotify;
    event.xmotion.x = x;
    event.xmotion.y = y;
    event.xmotion.state = state;
    event.xmotion.same_screen = True;
    Send(mEditor->WindowId(), event, PointerMotionMask);
  }
  void Key(Window to, KeySym key, int type = KeyPress) {
    XEvent event = {};
    event.type = type;
    event.xkey.display = mDisplay;
    event.xkey.root = DefaultRootWindow(mDisplay);
    event.xkey.keycode = XKeysymToKeycode(mDisplay, key);
    event.xkey.x = 180;  // over no control: the key catcher's
    event.xkey.y = 80;
    event.xkey.same_screen = True;
    Send(to, event, type == KeyPress ? KeyPressMask : KeyReleaseMask);
  }
  void Type(const char* text) {
    for (const char* c = text; *c; ++c) {
      KeySym key = 0;
      switch (*c) {
        case '-': key = XK_minus; break;
        case '.': key = XK_period; break;
        case ',': key = XK_comma; break;
        default: key = static_cast<KeySym>(*c);  // digits and lower-case letters
      }
      Key(mEditor->EntryWindowId(), key);
    }
    Pump();
  }
  // A right press on a control opens its value box.
  Window OpenEntry(int x, int y) {
    Button(ButtonPress, Button3, x, y);
    Button(ButtonRelease, Button3, x, y, Button3Mask);
    Pump();
    return mEditor->EntryWindowId();
  }
  double Value(int param) { return mPlug.GetParam(param)->GetValue(); }
  // The editor window's pixels as the server holds them, against the backing bitmap.
  int PixelsDifferingFromTheBitmap() {
    XImage* image = XGetImage(mDisplay, mEditor->WindowId(), 0, 0, 200, 100, AllPlanes, ZPixmap);
    if (!image) return -1;
    LICE_IBitmap& bitmap = *mEditor->DrawBitmap();
    int differing = 0;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 200; ++x)
        if ((XGetPixel(image, x, y) & 0xFFFFFF) != (RowPointer(bitmap, y)[x] & 0xFFFFFF)) ++differing;
    XDestroyImage(image);
    return differing;
  }

  Time mClock = 100000;
  Display* mDisplay = nullptr;
  int (*mPreviousHandler)(Display*, XErrorEvent*) = nullptr;
  Window mHost = 0;
  TwoParamPlug mPlug;
  std::unique_ptr<IGraphicsLinux> mEditor;
  PatternControl* mGain = nullptr;
  PatternControl* mSteps = nullptr;
};

// ---- The window.

TEST_F(LinuxWindowHost, OpensAsAChildAtTheOriginWithTheEditorsSize) {
  const Window window = Open();
  ASSERT_NE(window, 0u);
  EXPECT_EQ(Children(mDisplay, mHost), std::vector<Window>{window});
  XWindowAttributes attributes;
  ASSERT_TRUE(XGetWindowAttributes(mDisplay, window, &attributes));
  EXPECT_EQ(attributes.x, 0);
  EXPECT_EQ(attributes.y, 0);
  EXPECT_EQ(attributes.width, 200);
  EXPECT_EQ(attributes.height, 100);
  EXPECT_EQ(attributes.map_state, IsViewable);
  EXPECT_GE(mEditor->EventFd(), 0);
  EXPECT_EQ(mEditor->TimerPeriod(), 40);
  EXPECT_EQ(mEditor->IdlePeriodMs(), 40);
  EXPECT_STREQ(mEditor->WindowType(), "X11EmbedWindowID");
  mEditor->CloseEditorWindow();
  EXPECT_TRUE(Children(mDisplay, mHost).empty());
  EXPECT_EQ(mEditor->EventFd(), -1);
  EXPECT_EQ(IGraphicsLinux(&mPlug, 10, 10, 30).TimerPeriod(), 33);
}

// Both ways to the server give the backing bitmap's pixels, the fast path with shared memory
// (which the private server offers) and the plain one.
TEST_F(LinuxWindowHost, TheWindowShowsTheBackingBitmapWithAndWithoutSharedMemory) {
  for (const bool shared : {true, false}) {
    SCOPED_TRACE(shared ? "shared memory" : "plain images");
    mEditor->AllowSharedMemory(shared);
    Open();
    EXPECT_EQ(mEditor->UsesSharedMemory(), shared);
    Pump();
    mEditor->FrameStep();  // every control is dirty once the window opens
    XSync(mDisplay, False);
    EXPECT_EQ(PixelsDifferingFromTheBitmap(), 0);
    // A frame repaints only what changed, and it reaches the screen.
    mGain->ApplyUserValue(0.75);
    mEditor->FrameStep();
    EXPECT_EQ(PixelsDifferingFromTheBitmap(), 0);
    mEditor->CloseEditorWindow();
  }
}

// A user on a remote connection feels every round trip: an idle tick with nothing to do sends the
// server nothing, and a frame that paints sends the picture and waits for the server once.
TEST_F(LinuxWindowHost, AnIdleTickWithNothingToDoSendsTheServerNothing) {
  for (const bool shared : {true, false}) {
    SCOPED_TRACE(shared ? "shared memory" : "plain images");
    mEditor->AllowSharedMemory(shared);
    Open();
    Pump();
    mEditor->FrameStep();
    const unsigned long settled = mEditor->RequestsSent();
    for (int i = 0; i < 5; ++i) {
      mEditor->Idle();
      mEditor->ProcessEvents();
      mEditor->FrameStep();
    }
    EXPECT_EQ(mEditor->RequestsSent(), settled);
    mGain->ApplyUserValue(shared ? 0.3 : 0.7);
    mEditor->FrameStep();
    EXPECT_EQ(mEditor->RequestsSent(), settled + 2);
    mEditor->CloseEditorWindow();
  }
}

TEST_F(LinuxWindowHost, OpeningAndClosingFiftyTimesLeavesNoWindowAndNoSegment) {
  const Window root = DefaultRootWindow(mDisplay);
  const int before = CountWindows(mDisplay, root);
  for (int i = 0; i < 50; ++i) {
    ASSERT_TRUE(mEditor->OpenEditorWindow(Parent(mHost))) << i;
    if (i % 10 == 0) {
      Pump();
      mEditor->FrameStep();
      OpenEntry(20, 20);  // and with a value box open, now and then
      EXPECT_NE(mEditor->EntryWindowId(), 0u);
    }
    EXPECT_EQ(CountWindows(mDisplay, root), before + 1 + (mEditor->EntryWindowId() ? 1 : 0));
    mEditor->CloseEditorWindow();
  }
  XSync(mDisplay, False);
  EXPECT_EQ(CountWindows(mDisplay, root), before);
  EXPECT_EQ(OwnSharedSegments(), 0);
}

// As on Windows: a second open moves the window, keeping its place, to the new parent.
TEST_F(LinuxWindowHost, ASecondOpenMovesTheWindowToTheNewParent) {
  const Window first = Open();
  const Window other = MakeHostWindow();
  ASSERT_TRUE(mEditor->OpenEditorWindow(Parent(other)));
  EXPECT_TRUE(Children(mDisplay, mHost).empty());
  EXPECT_EQ(Children(mDisplay, other), std::vector<Window>{mEditor->WindowId()});
  (void)first;  // a new connection may hand out the same id again
  mEditor->CloseEditorWindow();
  XDestroyWindow(mDisplay, other);
}

// A host may destroy its window before it closes the editor; nothing the editor does then may
// end the process, and the next open works.
TEST_F(LinuxWindowHost, AVanishedParentWindowIsSurvived) {
  Open();
  OpenEntry(20, 20);
  XDestroyWindow(mDisplay, mHost);
  XSync(mDisplay, False);
  const Window gone = mHost;
  mEditor->Idle();
  Pump();
  mEditor->FrameStep();
  mGain->ApplyUserValue(0.5);
  mEditor->FrameStep();
  mEditor->PaintScreen(Rect{0, 0, 200, 100});
  EXPECT_FALSE(mEditor->IsWindowOpen());
  mEditor->CloseEditorWindow();
  mEditor->CloseEditorWindow();

  EXPECT_FALSE(mEditor->OpenEditorWindow(Parent(gone)));
  EXPECT_FALSE(mEditor->OpenEditorWindow(nullptr));
  EXPECT_FALSE(mEditor->IsWindowOpen());
  mHost = MakeHostWindow();
  EXPECT_TRUE(mEditor->OpenEditorWindow(Parent(mHost)));
}

// A window destroyed under an open editor between two of its calls (no event seen yet).
TEST_F(LinuxWindowHost, AParentDestroyedBetweenCallsIsSurvived) {
  Open();
  XDestroyWindow(mDisplay, mHost);
  XSync(mDisplay, False);
  mEditor->PaintScreen(Rect{0, 0, 200, 100});
  mEditor->FrameStep();
  mEditor->OpenTextEntry(mGain, mGain->Style(), mGain->GetRect(), "1", 0);
  mEditor->CloseEditorWindow();
  mHost = MakeHostWindow();
}

TEST_F(LinuxWindowHost, WithoutAnXServerNoWindowOpens) {
  const std::string display = std::getenv("DISPLAY");
  unsetenv("DISPLAY");
  EXPECT_FALSE(mEditor->OpenEditorWindow(Parent(mHost)));
  EXPECT_EQ(mEditor->EventFd(), -1);
  mEditor->Idle();
  mEditor->CloseEditorWindow();
  setenv("DISPLAY", display.c_str(), 1);
}

// ---- Mouse.

TEST_F(LinuxWindowHost, ADragIsCapturedBeyondTheWindowAndEndsWithTheRelease) {
  Open();
  Button(ButtonPress, Button1, 30, 30);
  Motion(30, 20, Button1Mask);
  Motion(30, 20, Button1Mask);                // no move, no drag
  Motion(250, -40, Button1Mask | ShiftMask);  // outside the window: still the knob's
  Button(ButtonRelease, Button1, 250, -40, Button1Mask);
  Motion(30, 30, Button1Mask);  // after the release nothing is captured
  Pump();
  ASSERT_EQ(mGain->downs.size(), 1u);
  EXPECT_TRUE(mGain->downs[0].left) << "the pressed button counts as held";
  EXPECT_FALSE(mGain->downs[0].right);
  EXPECT_EQ(mGain->drags, (std::vector<PatternControl::Drag>{{0, -10, false}, {220, -60, true}}));
  EXPECT_EQ(mGain->ups, 1);
  EXPECT_EQ(mPlug.gestures, (std::vector<int>{1, -1}));
}

TEST_F(LinuxWindowHost, TwoLeftPressesCloseInTimeAndPlaceAreADoubleClick) {
  Open();
  Click(Button1, 30, 30, 1000);
  Click(Button1, 32, 28, 1000 + IGraphicsLinux::kDoubleClickMs);  // within 2 px and 500 ms
  Click(Button1, 32, 28, 1600);                                   // a third press starts again
  Pump();
  EXPECT_EQ(mGain->doubleClicks, 1);
  EXPECT_EQ(mGain->downs.size(), 2u);
  EXPECT_EQ(mGain->ups, 3) << "the double click's release ends it too";

  Click(Button1, 30, 30, 5000);
  Click(Button1, 30, 30, 5000 + IGraphicsLinux::kDoubleClickMs + 1);    // too late
  Click(Button1, 30, 33, 5000 + IGraphicsLinux::kDoubleClickMs + 100);  // too far
  Click(Button2, 30, 33, 9000);
  Click(Button2, 30, 33, 9100);  // another button's second press reaches no control
  Pump();
  EXPECT_EQ(mGain->doubleClicks, 1);
  EXPECT_EQ(mGain->downs.size(), 6u);
}

TEST_F(LinuxWindowHost, EachWheelClickIsOneNotch) {
  Open();
  Button(ButtonPress, Button4, 30, 30);
  Button(ButtonRelease, Button4, 30, 30);
  Button(ButtonPress, Button5, 30, 30);
  Button(ButtonPress, Button5, 120, 20);
  Pump();
  EXPECT_EQ(mGain->wheel, (std::vector<int>{1, -1}));
  EXPECT_EQ(mSteps->wheel, (std::vector<int>{-1}));
  EXPECT_TRUE(mGain->downs.empty()) << "the wheel presses no button";
}

// ---- Keys.

TEST_F(LinuxWindowHost, KeysTheEditorTakesStayAndTheRestGoToTheHostsWindow) {
  auto* catcher = new KeyCatcher;
  mEditor->SetKeyCatcher(catcher);
  Open();
  XSync(mDisplay, False);
  while (XPending(mDisplay)) {
    XEvent skipped;
    XNextEvent(mDisplay, &skipped);
  }
  Key(mEditor->WindowId(), XK_a);
  Key(mEditor->WindowId(), XK_Z);
  Key(mEditor->WindowId(), XK_7);
  Key(mEditor->WindowId(), XK_Up);
  Key(mEditor->WindowId(), XK_space);  // offered, refused: the host's
  Key(mEditor->WindowId(), XK_F1);     // no control is offered it
  Key(mEditor->WindowId(), XK_a, KeyRelease);
  Pump();
  EXPECT_EQ(catcher->keys, (std::vector<int>{15, 40, 12, 1, 0}));
  std::vector<KeySym> heard;
  XSync(mDisplay, False);
  while (XPending(mDisplay)) {
    XEvent event;
    XNextEvent(mDisplay, &event);
    if (event.type != KeyPress && event.type != KeyRelease) continue;
    EXPECT_TRUE(event.xkey.send_event);
    heard.push_back(XLookupKeysym(&event.xkey, 0) | (event.type == KeyRelease ? 0x1000000 : 0));
  }
  EXPECT_EQ(heard, (std::vector<KeySym>{XK_space, XK_F1, XK_a | 0x1000000}));
}

// ---- The value box.

TEST_F(LinuxWindowHost, TheValueBoxOpensOverTheControlWithItsValue) {
  Open();
  const Window box = OpenEntry(20, 20);
  ASSERT_NE(box, 0u);
  EXPECT_EQ(Children(mDisplay, mEditor->WindowId()), std::vector<Window>{box});
  XWindowAttributes attributes;
  ASSERT_TRUE(XGetWindowAttributes(mDisplay, box, &attributes));
  // 40 x 16 around the control's centre (35, 25), one pixel wider and taller, as on Windows.
  EXPECT_EQ(attributes.x, 15);
  EXPECT_EQ(attributes.y, 17);
  EXPECT_EQ(attributes.width, 41);
  EXPECT_EQ(attributes.height, 17);
  EXPECT_EQ(mEditor->EntryText(), "0.00");
  EXPECT_EQ(mPlug.gestures, (std::vector<int>{1, -1})) << "the right press is a gesture of its own";
  // The box draws itself: its picture is not the control's.
  XImage* image = XGetImage(mDisplay, box, 0, 0, 41, 17, AllPlanes, ZPixmap);
  ASSERT_NE(image, nullptr);
  int white = 0, dark = 0;
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 41; ++x) {
      const unsigned long p = XGetPixel(image, x, y) & 0xFFFFFF;
      white += p == 0xFFFFFF;
      dark += p == 0;
    }
  XDestroyImage(image);
  EXPECT_GT(white, 0) << "the entry background";
  EXPECT_GT(dark, 0) << "the selected text's highlight";
}

TEST_F(LinuxWindowHost, EnterCommitsTheTypedValueAtTheNextFrame) {
  Open();
  OpenEntry(20, 20);
  Type("-3.5");
  EXPECT_EQ(mEditor->EntryText(), "-3.5") << "typing replaces the selected text";
  Key(mEditor->EntryWindowId(), XK_Return);
  Pump();
  EXPECT_DOUBLE_EQ(Value(0), 0.0) << "not before the frame";
  mEditor->FrameStep();
  EXPECT_NEAR(Value(0), -3.5, 1e-9);
  EXPECT_EQ(mEditor->EntryWindowId(), 0u);
  XSync(mDisplay, False);
  EXPECT_TRUE(Children(mDisplay, mEditor->WindowId()).empty());
}

TEST_F(LinuxWindowHost, EscapeDiscardsAndAClickWhileTheBoxHasTheKeyboardCancels) {
  Open();
  OpenEntry(20, 20);
  Type("7");
  Key(mEditor->EntryWindowId(), XK_Escape);
  Pump();
  mEditor->FrameStep();
  EXPECT_EQ(mEditor->EntryWindowId(), 0u);
  EXPECT_DOUBLE_EQ(Value(0), 0.0);

  OpenEntry(20, 20);
  Type("7");
  Button(ButtonPress, Button1, 120, 20);  // the box has the focus: the click cancels
  Pump();
  mEditor->FrameStep();
  EXPECT_EQ(mEditor->EntryWindowId(), 0u);
  EXPECT_DOUBLE_EQ(Value(0), 0.0);
  EXPECT_TRUE(mSteps->downs.empty());
}

TEST_F(LinuxWindowHost, LosingTheKeyboardCommits) {
  Open();
  OpenEntry(20, 20);
  Type("4.25");
  XSetInputFocus(mDisplay, mHost, RevertToParent, CurrentTime);  // the host takes the keyboard
  Pump();
  mEditor->FrameStep();
  EXPECT_NEAR(Value(0), 4.25, 1e-9);
  EXPECT_EQ(mEditor->EntryWindowId(), 0u);
}

// Which characters pass is the editor core's rule; here the typed keys meet it, and the editing
// keys move through the line.
TEST_F(LinuxWindowHost, TypedCharactersMeetTheParametersFilterAndTheEditingKeysWork) {
  Open();
  OpenEntry(120, 20);
  EXPECT_EQ(mEditor->EntryText(), "0");
  Type("4.2e");
  EXPECT_EQ(mEditor->EntryText(), "42");
  Key(mEditor->EntryWindowId(), XK_Left);
  Key(mEditor->EntryWindowId(), XK_BackSpace);
  Key(mEditor->EntryWindowId(), XK_End);
  Type("-");
  EXPECT_EQ(mEditor->EntryText(), "2-");
  Key(mEditor->EntryWindowId(), XK_Home);
  Key(mEditor->EntryWindowId(), XK_Delete);
  Type("9");
  Pump();
  EXPECT_EQ(mEditor->EntryText(), "9-");
}

// As on Windows: while the box has the keyboard the wheel does nothing; once a frame has gone by
// the box is an ordinary open box, and the wheel cancels it.
TEST_F(LinuxWindowHost, TheWheelCancelsAnOpenBoxAndClosingTheWindowDropsTheBox) {
  Open();
  OpenEntry(20, 20);
  Type("5");
  Button(ButtonPress, Button4, 20, 20);
  Pump();
  EXPECT_NE(mEditor->EntryWindowId(), 0u);
  mEditor->FrameStep();
  Button(ButtonPress, Button4, 20, 20);
  Pump();
  mEditor->FrameStep();
  EXPECT_EQ(mEditor->EntryWindowId(), 0u);
  EXPECT_DOUBLE_EQ(Value(0), 0.0);
  EXPECT_TRUE(mGain->wheel.empty());

  OpenEntry(20, 20);
  Type("5");
  mEditor->CloseEditorWindow();
  EXPECT_EQ(mEditor->EntryWindowId(), 0u);
  Open();
  mEditor->FrameStep();
  EXPECT_DOUBLE_EQ(Value(0), 0.0) << "a box of a closed window commits nothing later";
}

}  // namespace
