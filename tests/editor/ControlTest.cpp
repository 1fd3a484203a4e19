// The framework's controls under the editor's mouse dispatch: who takes a click, how knobs turn
// and switches step, what a double click returns to.
#include <gtest/gtest.h>

#include "editor/BrelvaneKnob.h"
#include "editor/IBitmapControl.h"
#include <vector>

#include "tests/editor/EditorRig.h"

namespace editortest {
namespace {

constexpr MouseModifiers kLeft{true, false, false, false, false};
constexpr MouseModifiers kLeftShift{true, false, true, false, false};
constexpr MouseModifiers kControl{false, false, false, true, false};

// A strip with no pixels: only its geometry matters to turning and stepping.
BitmapStrip Geometry(int width, int frameHeight, int frames) {
  BitmapStrip strip;
  strip.width = width;
  strip.height = frameHeight * frames;
  strip.frames = frames;
  return strip;
}

TEST(MouseDispatch, TheLastVisibleEnabledControlUnderThePointerTakesTheClick) {
  auto editor = MakeEditor();
  auto* bottom = static_cast<CountingControl*>(editor->AddControl(new CountingControl({0, 0, 50, 50})));
  auto* middle = static_cast<CountingControl*>(editor->AddControl(new CountingControl({20, 20, 60, 60})));
  auto* top = static_cast<CountingControl*>(editor->AddControl(new CountingControl({40, 40, 80, 80})));

  editor->HandleMouseDown(45, 45, kLeft);  // all three overlap here: the last one wins
  EXPECT_EQ(top->downs, 1);
  editor->HandleMouseUp(45, 45, kLeft);
  top->SetGrayed(true);
  EXPECT_FLOAT_EQ(top->Blend().weight, 0.25f);
  editor->HandleMouseDown(45, 45, kLeft);  // grayed: the next one down
  EXPECT_EQ(middle->downs, 1);
  middle->SetHidden(true);
  editor->HandleMouseDown(45, 45, kLeft);
  EXPECT_EQ(bottom->downs, 1);
  editor->HandleMouseDown(50, 10, kLeft);  // right edges are outside
  EXPECT_EQ(bottom->downs, 1);
  EXPECT_EQ(editor->CapturedControl(), -1);
  EXPECT_EQ(top->downs + middle->downs, 2);
}

// Takes the keys it is offered, or refuses them.
struct KeyTaker : CountingControl {
  KeyTaker(const Rect& rect, bool takes) : CountingControl(rect), takes(takes) {}
  bool OnKeyDown(int, int, int key) override {
    keys.push_back(key);
    return takes;
  }
  bool takes;
  std::vector<int> keys;
};

TEST(KeyDispatch, TheControlUnderThePointerOrHoldingItTakesKeysAndOverTheBackgroundTheKeyCatcher) {
  auto editor = MakeEditor();
  auto* background = static_cast<KeyTaker*>(editor->AddBackground(new KeyTaker({0, 0, 100, 100}, true)));
  auto* taking = static_cast<KeyTaker*>(editor->AddControl(new KeyTaker({10, 10, 30, 30}, true)));
  auto* refusing = static_cast<KeyTaker*>(editor->AddControl(new KeyTaker({50, 10, 70, 30}, false)));
  auto* catcher = new KeyTaker({}, true);
  editor->SetKeyCatcher(catcher);
  EXPECT_TRUE(editor->HandleKeyDown(20, 20, LetterKey(0)));
  EXPECT_FALSE(editor->HandleKeyDown(60, 20, DigitKey(9)));
  EXPECT_TRUE(editor->HandleKeyDown(80, 80, EditorKey::Space));
  EXPECT_FALSE(editor->HandleKeyDown(20, 20, EditorKey::NoKey));
  editor->HandleMouseDown(20, 20, kLeft);
  EXPECT_TRUE(editor->HandleKeyDown(80, 80, EditorKey::Up));  // the captured control's
  EXPECT_EQ(taking->keys, (std::vector<int>{15, 1}));
  EXPECT_EQ(refusing->keys, (std::vector<int>{14}));
  EXPECT_EQ(catcher->keys, (std::vector<int>{0}));
  EXPECT_TRUE(background->keys.empty());
  editor->SetKeyCatcher(nullptr);
  editor->HandleMouseUp(20, 20, kLeft);
  EXPECT_FALSE(editor->HandleKeyDown(80, 80, EditorKey::Down));
}

TEST(Knob, DragWheelAndFineAdjustmentMoveByTheDocumentedAmounts) {
  auto editor = MakeEditor(400, 400);
  auto* knob = new BrelvaneKnob(nullptr, 0, 100, 0, Geometry(100, 100, 240));
  editor->AddControl(knob);
  ASSERT_EQ(knob->GetRect(), (Rect{0, 100, 100, 200}));

  // 100 pixels up, in two steps, as one captured drag.
  editor->HandleMouseDown(50, 190, kLeft);
  editor->HandleMouseDrag(50, 140, kLeft);
  editor->HandleMouseDrag(50, 140, kLeft);  // no movement, no step
  editor->HandleMouseDrag(50, 90, kLeft);   // the capture holds outside the knob
  editor->HandleMouseUp(50, 90, kLeft);
  EXPECT_NEAR(knob->GetValue(), 0.25, 1e-12);

  knob->SetValue(0.0);
  editor->HandleMouseDown(50, 190, kLeftShift);
  editor->HandleMouseDrag(50, 90, kLeftShift);
  EXPECT_NEAR(knob->GetValue(), 0.025, 1e-12);
  editor->HandleMouseDrag(50, 2000, kLeftShift);  // far down: clamped at the bottom
  EXPECT_EQ(knob->GetValue(), 0.0);
  editor->HandleMouseUp(50, 2000, kLeftShift);

  knob->SetValue(0.5);
  editor->HandleMouseWheel(50, 150, kLeft, 3);
  EXPECT_NEAR(knob->GetValue(), 0.53, 1e-12);
  editor->HandleMouseWheel(50, 150, kControl, 3);
  EXPECT_NEAR(knob->GetValue(), 0.533, 1e-12);
  editor->HandleMouseWheel(50, 150, kLeft, 100);
  EXPECT_EQ(knob->GetValue(), 1.0);
}

TEST(Knob, TheFirstPushedValueIsWhereADoubleClickReturns) {
  auto editor = MakeEditor();
  auto* knob = new BrelvaneKnob(nullptr, 0, 0, 0, Geometry(80, 80, 240));
  editor->AddControl(knob);
  Rect dirty;
  editor->TimerStep(dirty);
  editor->RedrawRegion(dirty);
  editor->ApplyPlugValueToControls(0, 0.6);
  EXPECT_EQ(knob->GetDefaultValue(), 0.6);
  EXPECT_FALSE(knob->IsDirty());  // the first value marks nothing
  editor->ApplyPlugValueToControls(0, 0.9);
  EXPECT_EQ(knob->GetDefaultValue(), 0.6);  // later values do not move it
  editor->HandleMouseDoubleClick(10, 10, kLeft);
  EXPECT_EQ(knob->GetValue(), 0.6);
}

TEST(Frames, ValuesPickTheNearestFrameAndNeverLeaveTheStrip) {
  EXPECT_EQ(BrelvaneKnob::FrameFor(0.5, 240), 121);
  EXPECT_EQ(BrelvaneKnob::FrameFor(0.0, 240), 1);
  EXPECT_EQ(BrelvaneKnob::FrameFor(1.0, 240), 240);
  EXPECT_EQ(BrelvaneKnob::FrameFor(-3.0, 240), 1);
  EXPECT_EQ(BrelvaneKnob::FrameFor(7.0, 240), 240);
  EXPECT_EQ(FrameForValue(0.5, 240), 121);
  EXPECT_EQ(FrameForValue(1.0, 2), 2);
  EXPECT_EQ(FrameForValue(0.49, 2), 1);
  EXPECT_EQ(FrameForValue(0.7, 1), 1);
}

TEST(Switch, StepsThroughItsFramesAndWrapsToTheFirst) {
  auto editor = MakeEditor(400, 400);
  auto* four = new ISwitchControl(nullptr, 0, 0, -1, Geometry(10, 10, 4));
  auto* single = new ISwitchControl(nullptr, 100, 0, -1, Geometry(10, 10, 1));
  editor->AddControl(four);
  editor->AddControl(single);
  const MouseModifiers right{false, true, false, false, false};
  std::vector<double> seen;
  for (int i = 0; i < 5; ++i) {
    editor->HandleMouseDown(5, 5, i % 2 ? right : kLeft);  // any button steps
    seen.push_back(four->GetValue());
  }
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_NEAR(seen[0], 1.0 / 3.0, 1e-12);
  EXPECT_NEAR(seen[1], 2.0 / 3.0, 1e-12);
  EXPECT_NEAR(seen[2], 1.0, 1e-12);
  EXPECT_EQ(seen[3], 0.0);
  EXPECT_NEAR(seen[4], 1.0 / 3.0, 1e-12);
  editor->HandleMouseDoubleClick(5, 5, kLeft);  // a double click is one more step
  EXPECT_NEAR(four->GetValue(), 2.0 / 3.0, 1e-12);

  editor->HandleMouseDown(105, 5, kLeft);
  EXPECT_EQ(single->GetValue(), 1.0);
  editor->HandleMouseDown(105, 5, kLeft);
  EXPECT_EQ(single->GetValue(), 0.0);
}

}  // namespace
}  // namespace editortest
