// The value box as every window host runs it, against the editor core: the characters it takes,
// what a commit makes of its text, and what the rest of the window does while it is open. The
// host here has no screen; its native box is a string, and the tests report what a box would.
#include <gtest/gtest.h>

#include <string>

#include "core/IPlugBase.h"
#include "editor/EmbeddedImageGraphics.h"

namespace editortest {
namespace {

constexpr MouseModifiers kLeft{true, false, false, false, false};

class BoxPlug : public IPlugBase {
public:
  BoxPlug() : IPlugBase(4, 0, "1-1", "test", "", "", 1, 1, 1, ApiId::Vst2) {
    GetParam(0)->DefineDouble("gain", 0.0, -10.0, 10.0, 0.01);
    GetParam(1)->DefineInt("steps", 0, 0, 100);
    GetParam(2)->DefineEnum("shape", 0, 3);
    for (int i = 0; i < 3; ++i) GetParam(2)->AddDisplayText(i, kShapes[i]);
    GetParam(3)->DefineDouble("cut", 0.0, -10.0, 10.0, 0.01);
    GetParam(3)->SetNegateDisplay(true);
  }
  static constexpr const char* kShapes[3] = {"soft", "hard", "fold"};
};

class Recorder : public IControl {
public:
  Recorder(IPlugBase* plug, const Rect& rect, int param) : IControl(plug, rect, param) {}
  bool Draw(IGraphics&) override { return true; }
  void OnMouseDrag(int, int, int, int, const MouseModifiers&) override { ++drags; }
  void OnMouseWheel(int, int, const MouseModifiers&, int) override { ++wheels; }
  void SetTextFromEntry(const char* text) override { entered = text; }
  int drags = 0;
  int wheels = 0;
  std::string entered;
};

class BoxHost : public EmbeddedImageGraphics, private EntryBoxWindow {
public:
  explicit BoxHost(IPlugBase* plug) : EmbeddedImageGraphics(plug, 200, 100, 25) { CreateDrawingSurfaces(); }
  void OpenTextEntry(IControl* control, const TextStyle&, const Rect&, const char* text,
                     int paramIndex) override {
    if (!control || Entry().IsOpen()) return;
    box = text;
    boxOpen = true;
    BeginTextEntry(*this, *control, paramIndex);
  }
  // What the native box reports.
  ValueEntry& Box() { return Entry(); }

  std::string box;
  bool boxOpen = false;

private:
  std::string EntryBoxText() override { return box; }
  void DestroyEntryBox() override { boxOpen = false; }
};

class ValueBox : public ::testing::Test {
protected:
  Recorder* Add(int param) {
    auto* control = new Recorder(&mPlug, Rect{10 + 40 * param, 10, 40 + 40 * param, 40}, param);
    mEditor.AddControl(control);
    return control;
  }
  // The box over `control`, holding what the user typed.
  void Open(Recorder* control, const std::string& typed) {
    mEditor.OpenTextEntry(control, control->Style(), control->GetRect(), "", control->ParamIndex());
    mEditor.box = typed;
  }
  bool Frame() {
    Rect dirty;
    return mEditor.TimerStep(dirty);
  }
  double Value(int param) { return mPlug.GetParam(param)->GetValue(); }

  BoxPlug mPlug;
  BoxHost mEditor{&mPlug};
  Recorder* mGain = Add(0);
  Recorder* mSteps = Add(1);
  Recorder* mShape = Add(2);
  Recorder* mCut = Add(3);
  Recorder* mFreeText = Add(-1);
};

TEST_F(ValueBox, TakesTheCharactersANumberOfItsParameterMayHold) {
  const struct {
    Recorder* control;
    const char* passing;
    const char* refused;
  } cases[] = {
      {mGain, "0123456789+-.\b", "e,x /"},
      {mSteps, "0123456789+-\b", ".e"},
      {mShape, "+-5", ".a"},
      {mFreeText, "e.,x /", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.control->ParamIndex());
    Open(c.control, "");
    for (const char* ch = c.passing; *ch; ++ch) EXPECT_TRUE(mEditor.Box().CharPasses(*ch)) << *ch;
    for (const char* ch = c.refused; *ch; ++ch) EXPECT_FALSE(mEditor.Box().CharPasses(*ch)) << *ch;
    mEditor.Box().Close();
  }
}

// Enter commits and Escape or CancelTextEntry cancels, at the next frame, which draws nothing else.
TEST_F(ValueBox, ACommitSetsWhatTheTextSaysAndACancelDropsIt) {
  enum Ending { kEnter, kEscape, kCancelCall };
  const struct {
    Recorder* control;
    const char* typed;
    Ending ending;
    double value;
  } cases[] = {
      {mGain, "-3.5", kEnter, -3.5}, {mGain, "1e400", kEnter, 0.0},   {mGain, "4.25abc", kEnter, 4.25},
      {mGain, "7", kEscape, 4.25},   {mGain, "7", kCancelCall, 4.25}, {mCut, "3", kEnter, -3.0},
      {mSteps, "42", kEnter, 42.0},  {mShape, "fold", kEnter, 2.0},   {mShape, "nope", kEnter, 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    Open(c.control, c.typed);
    if (c.ending == kEnter) mEditor.Box().RequestCommit();
    if (c.ending == kEscape) mEditor.Box().RequestCancel();
    if (c.ending == kCancelCall) mEditor.CancelTextEntry();
    EXPECT_TRUE(mEditor.boxOpen) << "not before the frame";
    EXPECT_FALSE(Frame()) << "the frame is the box's";
    EXPECT_DOUBLE_EQ(Value(c.control->ParamIndex()), c.value);
    EXPECT_FALSE(mEditor.boxOpen);
    EXPECT_TRUE(Frame());
  }
  Open(mFreeText, std::string(40, 'x'));
  mEditor.Box().RequestCommit();
  Frame();
  EXPECT_EQ(mFreeText->entered, std::string(32, 'x')) << "a free-text box hands its first 32 characters on";
}

// A press cancels while the box has the keyboard and commits once it has lost it, as losing the
// keyboard does; a frame gone by leaves the keyboard's box an ordinary open one. The window's
// events never reach a control then.
TEST_F(ValueBox, ThePressesAndTheWheelOfTheWindowWhileItIsOpen) {
  enum Outcome { kCommitted, kCancelled, kStillOpen };
  enum Event { kLeftPress, kRightPress, kMiddlePress, kWheelNotch, kFocusLost };
  const struct {
    bool afterAFrame;
    Event event;
    Outcome outcome;
  } cases[] = {
      {false, kLeftPress, kCancelled},  {false, kRightPress, kCancelled}, {false, kMiddlePress, kStillOpen},
      {false, kWheelNotch, kStillOpen}, {true, kLeftPress, kCommitted},   {true, kMiddlePress, kCommitted},
      {true, kWheelNotch, kCancelled},  {false, kFocusLost, kCommitted},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.afterAFrame << " " << c.event);
    mFreeText->entered.clear();
    mEditor.HandleMouseDown(15, 15, kLeft);  // the gain holds the pointer when the box opens
    Open(mFreeText, "typed");
    mEditor.Box().FocusChanged(true);
    if (c.afterAFrame) {
      EXPECT_FALSE(Frame());
    }
    if (c.event == kFocusLost) {
      mEditor.Box().FocusChanged(false);
    } else if (c.event == kWheelNotch) {
      mEditor.HandleMouseWheel(15, 15, kLeft, 1);
    } else {
      const PointerButton button[] = {PointerButton::Left, PointerButton::Right, PointerButton::Middle};
      EXPECT_FALSE(mEditor.PressReachesControls(button[c.event]));
    }
    mEditor.HandleMouseDrag(30, 30, kLeft);
    Frame();
    EXPECT_EQ(mEditor.boxOpen, c.outcome == kStillOpen);
    EXPECT_EQ(mFreeText->entered, c.outcome == kCommitted ? "typed" : "");
    mEditor.Box().Close();
    mEditor.HandleMouseUp(30, 30, kLeft);
  }
  EXPECT_EQ(mGain->wheels + mGain->drags, 0);
  EXPECT_TRUE(mEditor.PressReachesControls(PointerButton::Left)) << "no box, the controls' press";
}

}  // namespace
}  // namespace editortest
