// The Windows editor in a real Win32 window: a top-level window stands in for the host's, the
// editor opens inside it, and the tests send it the messages Windows would.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/IPlugBase.h"
#include "editor/win/IGraphicsWin.h"

namespace {

constexpr UINT_PTR kRepaintTimer = 2;

// What the host's top-level window heard.
std::vector<MSG> gRootHeard;

LRESULT CALLBACK RootProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_KEYDOWN || msg == WM_KEYUP) gRootHeard.push_back(MSG{window, msg, wParam, lParam});
  return DefWindowProcA(window, msg, wParam, lParam);
}

HWND MakeHostWindow() {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &RootProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "BrelTestHost";
  RegisterClassExA(&wc);
  return CreateWindowExA(0, "BrelTestHost", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                         nullptr, wc.hInstance, nullptr);
}

bool WindowClassRegistered() {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  return GetClassInfoExA(GetModuleHandleA(nullptr), "IPlugWndClass", &wc) != FALSE;
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

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

// Takes every key it is offered.
class KeyCatcher : public IControl {
public:
  KeyCatcher() : IControl(nullptr, Rect{}) {}
  bool Draw(IGraphics&) override { return true; }
  bool OnKeyDown(int, int, int key) override {
    keys.push_back(key);
    return true;
  }
  std::vector<int> keys;
};

class RecordingControl : public IControl {
public:
  RecordingControl(IPlugBase* plug, const Rect& rect, int param) : IControl(plug, rect, param) {}
  bool Draw(IGraphics&) override { return true; }
  void OnMouseWheel(int x, int y, const MouseModifiers&, int notches) override { wheel.push_back(notches); }
  void OnMouseDrag(int x, int y, int dx, int dy, const MouseModifiers&) override {
    drags.push_back({dx, dy});
  }
  std::vector<int> wheel;
  std::vector<POINT> drags;
};

class WindowHost : public ::testing::Test {
protected:
  void SetUp() override {
    gRootHeard.clear();
    mHost = MakeHostWindow();
    ASSERT_NE(mHost, nullptr);
    mEditor = MakeEditor(25);
    mGain = Add(Rect{10, 10, 60, 40}, 0);
    mSteps = Add(Rect{100, 10, 150, 40}, 1);
  }
  void TearDown() override {
    mEditor.reset();
    DestroyWindow(mHost);
  }
  std::unique_ptr<IGraphicsWin> MakeEditor(int frameRate) {
    auto editor = std::make_unique<IGraphicsWin>(&mPlug, 200, 100, frameRate);
    editor->CreateDrawingSurfaces();
    return editor;
  }
  RecordingControl* Add(const Rect& rect, int param) {
    auto* control = new RecordingControl(&mPlug, rect, param);
    mEditor->AddControl(control);
    return control;
  }
  HWND Open() {
    EXPECT_TRUE(mEditor->OpenEditorWindow(mHost));
    return static_cast<HWND>(mEditor->WindowHandle());
  }
  void Tick(HWND window) { SendMessageA(window, WM_TIMER, kRepaintTimer, 0); }
  // A right click on a control opens its value box.
  HWND OpenEntry(HWND window, int x, int y) {
    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, At(x, y));
    SendMessageA(window, WM_RBUTTONUP, 0, At(x, y));
    return GetDlgItem(window, 99);
  }
  std::string Text(HWND box) {
    char text[64] = {};
    GetWindowTextA(box, text, sizeof(text));
    return text;
  }
  void Type(HWND box, const char* chars) {
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    for (const char* c = chars; *c; ++c) SendMessageA(box, WM_CHAR, static_cast<WPARAM>(*c), 1);
  }
  double Value(int param) { return mPlug.GetParam(param)->GetValue(); }

  TwoParamPlug mPlug;
  HWND mHost = nullptr;
  std::unique_ptr<IGraphicsWin> mEditor;
  RecordingControl* mGain = nullptr;
  RecordingControl* mSteps = nullptr;
};

TEST_F(WindowHost, TheRepaintTimerRunsAtTheFrameRate) {
  Open();
  EXPECT_EQ(mEditor->TimerPeriod(), 40);
  auto faster = MakeEditor(30);
  ASSERT_TRUE(faster->OpenEditorWindow(mHost));
  EXPECT_EQ(faster->TimerPeriod(), 33);
}

TEST_F(WindowHost, EditorsShareOneClassRegistrationThatGoesWithTheLastWindow) {
  EXPECT_FALSE(WindowClassRegistered());
  auto second = MakeEditor(25);
  Open();
  ASSERT_TRUE(second->OpenEditorWindow(mHost));
  EXPECT_TRUE(WindowClassRegistered());
  mEditor->CloseEditorWindow();
  EXPECT_FALSE(mEditor->IsWindowOpen());
  EXPECT_TRUE(WindowClassRegistered());
  second->CloseEditorWindow();
  EXPECT_FALSE(WindowClassRegistered());
  // Reopening registers it again; a window that cannot be made leaves nothing registered.
  Open();
  EXPECT_TRUE(WindowClassRegistered());
  mEditor->CloseEditorWindow();
  EXPECT_FALSE(second->OpenEditorWindow(nullptr));
  EXPECT_FALSE(WindowClassRegistered());
}

TEST_F(WindowHost, WheelNotchesAreWholeStepsOf120) {
  HWND window = Open();
  RECT r;
  GetWindowRect(window, &r);
  const LPARAM overGain = At(r.left + 20, r.top + 20);  // the wheel reports screen positions
  for (short delta : {60, 240, -120, -119})
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), overGain);
  EXPECT_EQ(mGain->wheel, (std::vector<int>{0, 2, -1, 0}));
  EXPECT_TRUE(mSteps->wheel.empty());
}

TEST_F(WindowHost, ADragReportsEachMoveOnceWithItsDelta) {
  HWND window = Open();
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 30));
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(20, 20));
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(20, 20));  // no movement: no step
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(25, 14));
  SendMessageA(window, WM_LBUTTONUP, 0, At(25, 14));
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, At(30, 10));  // released: no longer a drag
  ASSERT_EQ(mGain->drags.size(), 2u);
  EXPECT_EQ(mGain->drags[0].x, 0);
  EXPECT_EQ(mGain->drags[0].y, -10);
  EXPECT_EQ(mGain->drags[1].x, 5);
  EXPECT_EQ(mGain->drags[1].y, -6);
}

TEST_F(WindowHost, KeysNoControlTakesReachTheHostsRootWindow) {
  HWND window = Open();
  SendMessageA(window, WM_KEYDOWN, VK_F1, 0x3B0001);
  SendMessageA(window, WM_KEYDOWN, 'A', 0x1E0001);
  SendMessageA(window, WM_KEYUP, VK_F1, 0xC03B0001);
  ASSERT_EQ(gRootHeard.size(), 3u);
  for (const MSG& heard : gRootHeard) EXPECT_EQ(heard.hwnd, mHost);
  EXPECT_EQ(gRootHeard[0].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(gRootHeard[0].wParam, static_cast<WPARAM>(VK_F1));
  EXPECT_EQ(gRootHeard[0].lParam, 0x3B0001);
  EXPECT_EQ(gRootHeard[1].wParam, static_cast<WPARAM>('A'));
  EXPECT_EQ(gRootHeard[2].message, static_cast<UINT>(WM_KEYUP));
}

TEST_F(WindowHost, OnlyLettersDigitsSpaceAndArrowsAreOfferedToTheEditor) {
  auto* catcher = new KeyCatcher;
  mEditor->SetKeyCatcher(catcher);
  HWND window = Open();
  for (WPARAM key : {WPARAM{'A'}, WPARAM{'Z'}, WPARAM{'0'}, WPARAM{VK_SPACE}, WPARAM{VK_RIGHT}, WPARAM{VK_F1},
                     WPARAM{VK_NUMPAD1}})
    SendMessageA(window, WM_KEYDOWN, key, 0);
  EXPECT_EQ(catcher->keys, (std::vector<int>{15, 40, 5, 0, 4}));
  // Function and keypad keys are no letters: they go on to the host.
  ASSERT_EQ(gRootHeard.size(), 2u);
  EXPECT_EQ(gRootHeard[0].wParam, static_cast<WPARAM>(VK_F1));
  EXPECT_EQ(gRootHeard[1].wParam, static_cast<WPARAM>(VK_NUMPAD1));
}

TEST_F(WindowHost, TheRightClickThatOpensABoxIsOneWholeGesture) {
  HWND window = Open();
  ASSERT_NE(OpenEntry(window, 20, 20), nullptr);
  EXPECT_EQ(mPlug.gestures, (std::vector<int>{1, -1}));
  EXPECT_EQ(GetCapture(), nullptr);
}

// Which characters pass is the editor core's rule; here the box's typed characters meet it.
TEST_F(WindowHost, TheBoxShowsTheValueAndTypedCharactersMeetTheParametersFilter) {
  HWND window = Open();
  HWND box = OpenEntry(window, 20, 20);
  ASSERT_NE(box, nullptr);
  // The value the editor shows, at the parameter's precision: nothing was posted, so the minimum.
  EXPECT_EQ(Text(box), "-10.00");
  Type(box, "-1e,.5");
  EXPECT_EQ(Text(box), "-1.5");
  SendMessageA(box, WM_CHAR, VK_BACK, 1);  // Backspace arrives as a character too
  EXPECT_EQ(Text(box), "-1.");
}

TEST_F(WindowHost, EnterCommitsAtTheNextTickAndEscapeDiscards) {
  HWND window = Open();
  HWND box = OpenEntry(window, 20, 20);
  ASSERT_NE(box, nullptr);
  Type(box, "2.5");
  SendMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(Value(0), 0.0);
  EXPECT_NE(GetDlgItem(window, 99), nullptr);
  Tick(window);
  EXPECT_DOUBLE_EQ(Value(0), 2.5);
  EXPECT_EQ(GetDlgItem(window, 99), nullptr);

  box = OpenEntry(window, 20, 20);
  ASSERT_NE(box, nullptr);
  Type(box, "7");
  SendMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
  Tick(window);
  EXPECT_DOUBLE_EQ(Value(0), 2.5);
  EXPECT_EQ(GetDlgItem(window, 99), nullptr);
}

TEST_F(WindowHost, AClickElsewhereCommitsOnceTheBoxHasLostTheFocus) {
  HWND window = Open();
  HWND box = OpenEntry(window, 120, 20);
  ASSERT_NE(box, nullptr);
  Type(box, "42");
  SetFocus(mHost);
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(180, 80));
  SendMessageA(window, WM_LBUTTONUP, 0, At(180, 80));
  EXPECT_EQ(Value(1), 0.0);
  Tick(window);
  EXPECT_EQ(Value(1), 42.0);
  EXPECT_EQ(GetDlgItem(window, 99), nullptr);
}

TEST_F(WindowHost, ClosingWithAnOpenBoxLeavesNothingForLaterSteps) {
  HWND window = Open();
  HWND box = OpenEntry(window, 20, 20);
  ASSERT_NE(box, nullptr);
  Type(box, "3");
  SendMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
  mEditor->CloseEditorWindow();
  EXPECT_FALSE(IsWindow(box));
  window = Open();
  Tick(window);
  EXPECT_EQ(Value(0), 0.0);
  EXPECT_EQ(GetDlgItem(window, 99), nullptr);
  EXPECT_NE(OpenEntry(window, 20, 20), nullptr);  // and a new box opens
}

// The box open at the old scale goes with it: its place and type size were that scale's.
TEST_F(WindowHost, AHostsScaleGrowsTheOpenWindowAndTheHostsAndClosesTheBox) {
  HWND window = Open();
  ASSERT_NE(OpenEntry(window, 20, 20), nullptr);
  RECT before, after, client;
  GetWindowRect(mHost, &before);
  ASSERT_TRUE(mEditor->SetHostScale(2.0));
  GetClientRect(window, &client);
  GetWindowRect(mHost, &after);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 200);
  EXPECT_EQ(after.right - after.left, before.right - before.left + 200);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 100);
  EXPECT_EQ(GetDlgItem(window, 99), nullptr);
}

// Stands in for the user at a pop-up menu: records the first menu shown, closes it, and posts the
// command the user would have picked.
WNDPROC gEditorProc = nullptr;
UINT gPick = 0;
std::vector<std::string> gShownItems;
std::vector<UINT> gShownIds;

LRESULT CALLBACK MenuUserProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITMENUPOPUP && gShownItems.empty()) {
    HMENU menu = reinterpret_cast<HMENU>(wParam);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      char text[64] = {};
      GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION);
      gShownItems.push_back(text);
      gShownIds.push_back(GetMenuItemID(menu, i));
    }
    EndMenu();
  }
  if (msg == WM_EXITMENULOOP) PostMessageA(window, WM_COMMAND, gPick, 0);
  return CallWindowProcA(gEditorProc, window, msg, wParam, lParam);
}

std::unique_ptr<PopupMenuItem> Item(const char* text, std::unique_ptr<PopupMenu> sub = nullptr) {
  auto item = std::make_unique<PopupMenuItem>();
  item->text = text;
  item->subMenu = std::move(sub);
  return item;
}

TEST_F(WindowHost, MenuCommandsNumberEachMenuAsABlockBeforeItsSubMenus) {
  HWND window = Open();
  auto sub = std::make_unique<PopupMenu>();
  sub->items.push_back(Item("c"));
  sub->items.push_back(Item("d"));
  PopupMenu menu;
  menu.numbering = 2;
  menu.items.push_back(Item("a"));
  menu.items.push_back(Item("b", std::move(sub)));
  menu.items.push_back(Item("e"));
  gEditorProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MenuUserProc)));
  gPick = 4;  // "d": the sub-menu's second item, after the three of the top menu
  PopupMenu* chosen = mEditor->RunPopupMenu(menu, Rect{10, 10, 60, 40});
  EXPECT_EQ(gShownItems, (std::vector<std::string>{"01: a", "02: b", "03: e"}));
  EXPECT_EQ(gShownIds, (std::vector<UINT>{0, static_cast<UINT>(-1), 2}));  // -1: a sub-menu
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(chosen, menu.items[1]->subMenu.get());
  EXPECT_EQ(chosen->chosenIndex, 1);
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gEditorProc));
}

}  // namespace
