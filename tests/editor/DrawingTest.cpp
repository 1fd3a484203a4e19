// The drawing pass: which controls are drawn for an update rectangle, what hidden and pending
// controls do, and how frames of a strip land in the backing bitmap.
#include <gtest/gtest.h>

#include <thread>

#include "editor/IBitmapControl.h"
#include "tests/editor/EditorRig.h"

namespace editortest {
namespace {

TEST(DrawingPass, StrictDrawsWhatTouchesTheUpdateRectEdgeOnEdgeIncluded) {
  auto editor = MakeEditor();
  auto* inside = static_cast<CountingControl*>(editor->AddControl(new CountingControl({2, 2, 8, 8})));
  auto* onRightEdge = static_cast<CountingControl*>(editor->AddControl(new CountingControl({10, 0, 20, 10})));
  auto* onBottomEdge =
      static_cast<CountingControl*>(editor->AddControl(new CountingControl({0, 10, 10, 20})));
  auto* pastRight = static_cast<CountingControl*>(editor->AddControl(new CountingControl({11, 0, 20, 10})));
  auto* endsOnLeft = static_cast<CountingControl*>(editor->AddControl(new CountingControl({-10, 0, 0, 10})));
  auto* empty = static_cast<CountingControl*>(editor->AddControl(new CountingControl({0, 0, 0, 0})));

  editor->RedrawRegion({0, 0, 10, 10});
  EXPECT_EQ(inside->draws, 1);
  EXPECT_EQ(onRightEdge->draws, 1);  // its left edge lies on the update's right edge
  EXPECT_EQ(onBottomEdge->draws, 1);
  EXPECT_EQ(pastRight->draws, 0);
  EXPECT_EQ(endsOnLeft->draws, 0);  // right edges are exclusive
  EXPECT_EQ(empty->draws, 0);

  // An empty update draws nothing, and every control is clean afterwards.
  editor->RedrawRegion({0, 0, 0, 0});
  EXPECT_EQ(inside->draws, 1);
  for (int i = 0; i < editor->NControls(); ++i) EXPECT_FALSE(editor->GetControl(i)->IsDirty()) << i;
}

TEST(DrawingPass, HiddenControlsAreCleanedButNeverDrawn) {
  auto editor = MakeEditor();
  editor->AddBackground(new CountingControl({0, 0, 100, 100}));
  auto* hidden = static_cast<CountingControl*>(editor->AddControl(new CountingControl({0, 0, 50, 50})));
  hidden->SetHidden(true);
  editor->RedrawRegion({0, 0, 100, 100});
  Rect dirty;
  ASSERT_TRUE(editor->TimerStep(dirty));
  EXPECT_EQ(dirty, (Rect{0, 0, 50, 50}));  // hiding it asks for its area to be painted twice
  editor->RedrawRegion({0, 0, 100, 100});
  editor->RedrawRegion({0, 0, 100, 100});
  EXPECT_EQ(hidden->draws, 0);
  EXPECT_FALSE(hidden->IsDirty());
  // Non-strict drawing skips it too.
  editor->SetStrictDrawing(false);
  hidden->MarkDirty(false);
  editor->RedrawRegion({0, 0, 100, 100});
  EXPECT_EQ(hidden->draws, 0);
}

TEST(DrawingPass, AValueFromThePlugDrawsTwiceAMouseChangeOnce) {
  auto editor = MakeEditor();
  auto* control = static_cast<CountingControl*>(editor->AddControl(new CountingControl({0, 0, 10, 10}, 0)));
  control->ApplyPlugValue(0.2);  // the first value: becomes the default, changes nothing else
  editor->RedrawRegion({0, 0, 10, 10});
  ASSERT_EQ(control->draws, 1);
  ASSERT_FALSE(control->IsDirty());

  control->ApplyPlugValue(0.7);
  int passes = 0;
  Rect dirty;
  while (editor->TimerStep(dirty) && passes < 5) {
    editor->RedrawRegion(dirty);
    ++passes;
  }
  EXPECT_EQ(passes, 2);
  EXPECT_EQ(control->draws, 3);

  control->SetValue(0.4);
  control->MarkDirty(false);  // as a drag step does
  passes = 0;
  while (editor->TimerStep(dirty) && passes < 5) {
    editor->RedrawRegion(dirty);
    ++passes;
  }
  EXPECT_EQ(passes, 1);
}

TEST(DrawingPass, NonStrictRedrawsEachDirtyControlWithWhatOverlapsIt) {
  auto editor = MakeEditor();
  auto* background =
      static_cast<CountingControl*>(editor->AddBackground(new CountingControl({0, 0, 100, 100})));
  auto* a = static_cast<CountingControl*>(editor->AddControl(new CountingControl({0, 0, 20, 20})));
  auto* overlapping =
      static_cast<CountingControl*>(editor->AddControl(new CountingControl({20, 20, 30, 30})));
  auto* apart = static_cast<CountingControl*>(editor->AddControl(new CountingControl({60, 60, 70, 70})));
  editor->SetStrictDrawing(false);
  editor->RedrawRegion({0, 0, 100, 100});  // the background is dirty: everything once
  EXPECT_EQ(background->draws + a->draws + overlapping->draws + apart->draws, 4);

  a->MarkDirty(false);
  editor->RedrawRegion({0, 0, 20, 20});
  EXPECT_EQ(background->draws, 2);  // under it
  EXPECT_EQ(a->draws, 2);
  EXPECT_EQ(overlapping->draws, 2);  // its corner touches a's edge
  EXPECT_EQ(apart->draws, 1);
}

TEST(DrawingPass, WithoutControlsTheRegionStillGoesToTheScreen) {
  class Screen : public EmbeddedImageGraphics {
  public:
    using EmbeddedImageGraphics::EmbeddedImageGraphics;
    bool PaintScreen(const Rect& rect) override {
      painted = rect;
      return true;
    }
    Rect painted;
  } editor(nullptr, 10, 10, 25);
  editor.RedrawRegion({1, 2, 3, 4});
  EXPECT_EQ(editor.painted, (Rect{1, 2, 3, 4}));
}

TEST(DrawingPass, FramesComeFromTheirOffsetAndAreClippedToTheDrawRect) {
  auto editor = MakeEditor();
  SolidStrip strip(10, 10, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000});
  auto* control = new IBitmapControl(nullptr, 20, 30, -1, strip.strip, BlendSpec{1, 1.0f});
  editor->AddControl(control);
  EXPECT_EQ(control->GetRect(), (Rect{20, 30, 30, 40}));
  control->SetValue(0.5);  // the middle of three frames
  // Only the control's left half is in the update rect.
  editor->RedrawRegion({0, 0, 25, 100});
  EXPECT_EQ(PixelAt(*editor, 20, 30), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(*editor, 24, 39), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(*editor, 25, 30), 0u);  // clipped
  control->SetValue(1.0);
  editor->RedrawRegion({25, 35, 100, 100});  // lower right quarter: the source origin follows
  EXPECT_EQ(PixelAt(*editor, 29, 39), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(*editor, 29, 34), 0u);
  EXPECT_EQ(PixelAt(*editor, 24, 39), 0xFF00FF00u);  // left as it was
}

#if !defined(NDEBUG) && defined(BREL_DEBUG_CONTRACTS)
// The editor belongs to the thread that first drives it; a timer step from another thread is a
// host or window-host fault that would race with the controls, and stops the program.
TEST(DrawingPassDeathTest, DrivingTheEditorFromASecondThreadStopsTheProgram) {
  EXPECT_DEATH(
      {
        auto editor = MakeEditor();
        Rect dirty;
        editor->TimerStep(dirty);
        std::thread other([&] { editor->TimerStep(dirty); });
        other.join();
      },
      "IGraphics::TimerStep called off the editor's thread");
}
#endif

}  // namespace
}  // namespace editortest
