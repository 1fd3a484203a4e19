// The editor the plug-in constructor builds: its controls in drawing order, where they sit, what
// they are bound to, and the images behind them.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "editor/BrelvaneKnob.h"
#include "editor/IBitmapControl.h"
#include "editor/ModeSwitch.h"
#include "editor/VuControl.h"
#include "raster/Bitmap.h"
#include "resources/ImageResources.h"
#include "tests/editor/PlugRig.h"

namespace editortest {
namespace {

template <class T>
bool Is(IControl* control) {
  return dynamic_cast<T*>(control) != nullptr;
}

bool IsPlainBitmap(IControl* c) { return Is<IBitmapControl>(c) && !Is<ISwitchControl>(c); }

struct Expected {
  Rect rect;
  int param;
  bool (*kind)(IControl*);
};

TEST(EditorLayout, SeventeenControlsInDrawingOrderWithTheirRectanglesBindingsAndBlends) {
  auto plug = MakeBrelvane();
  IGraphics* editor = plug->Graphics();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->GetWidth(), 904);
  EXPECT_EQ(editor->GetHeight(), 416);
  EXPECT_EQ(editor->FrameRate(), 25);
  EXPECT_EQ(plug->GetEditor(), editor);

  const Expected expected[] = {
      {{0, 0, 904, 416}, -1, IsPlainBitmap},          {{64, 232, 192, 360}, 0, Is<BrelvaneKnob>},
      {{210, 274, 290, 354}, 1, Is<BrelvaneKnob>},    {{298, 274, 378, 354}, 2, Is<BrelvaneKnob>},
      {{394, 274, 474, 354}, 3, Is<BrelvaneKnob>},    {{482, 274, 562, 354}, 4, Is<BrelvaneKnob>},
      {{576, 232, 704, 360}, 5, Is<BrelvaneKnob>},    {{712, 232, 840, 360}, 6, Is<BrelvaneKnob>},
      {{401, 56, 501, 156}, 7, Is<ISwitchControl>},   {{373, 126, 429, 182}, 9, Is<ISwitchControl>},
      {{474, 126, 530, 182}, 10, Is<ISwitchControl>}, {{112, 32, 376, 168}, -1, Is<VuControl>},
      {{528, 32, 792, 168}, -1, Is<VuControl>},       {{51, 48, 101, 98}, 8, Is<ModeSwitch>},
      {{51, 120, 101, 170}, 8, Is<ModeSwitch>},       {{803, 48, 853, 98}, 8, Is<ModeSwitch>},
      {{803, 120, 853, 170}, 8, Is<ModeSwitch>},
  };
  ASSERT_EQ(editor->NControls(), 17);
  for (int i = 0; i < 17; ++i) {
    IControl* control = editor->GetControl(i);
    EXPECT_EQ(control->GetRect(), expected[i].rect) << "control " << i;
    EXPECT_EQ(control->GetTargetRect(), expected[i].rect) << "control " << i;
    EXPECT_EQ(control->ParamIndex(), expected[i].param) << "control " << i;
    EXPECT_TRUE(expected[i].kind(control)) << "control " << i;
    EXPECT_EQ(control->Blend().method, i == 0 ? 1 : 0) << "control " << i;
    EXPECT_EQ(control->Blend().weight, 1.0f) << "control " << i;
  }
  for (int i = 13; i < 17; ++i)
    EXPECT_EQ(static_cast<ModeSwitch*>(editor->GetControl(i))->ModeNumber(), i - 12);
  // The meters' feeds are the ones the engine writes.
  EXPECT_EQ(&plug->PresMeter(), &static_cast<VuControl*>(editor->GetControl(11))->Feed());
  EXPECT_EQ(&plug->FinalMeter(), &static_cast<VuControl*>(editor->GetControl(12))->Feed());
  // Every control starts at its parameter's value, which is also its double-click value.
  for (int i = 1; i < 17; ++i) {
    IControl* control = editor->GetControl(i);
    if (control->ParamIndex() < 0) continue;
    const double initial = plug->GetParam(control->ParamIndex())->GetNormalizedValue();
    EXPECT_DOUBLE_EQ(control->GetValue(), initial) << "control " << i;
    EXPECT_DOUBLE_EQ(control->GetDefaultValue(), initial) << "control " << i;
  }
}

TEST(EditorLayout, EachImageIsDecodedOnceForEveryEditorOfTheModule) {
  auto first = MakeBrelvane();
  const int cached = IGraphics::CachedImageCount();
  auto second = MakeBrelvane();
  // Eighteen images (and their twins, where an editor drew at a scale before, as others in this
  // process may have), although the knobs, limiter switches and meters load theirs repeatedly
  // and two editors exist.
  EXPECT_TRUE(cached == 18 || cached == 36) << cached;
  EXPECT_EQ(IGraphics::CachedImageCount(), cached);
  auto* knob1 = static_cast<BrelvaneKnob*>(first->Graphics()->GetControl(1));
  auto* knob6 = static_cast<BrelvaneKnob*>(second->Graphics()->GetControl(6));
  auto* small = static_cast<BrelvaneKnob*>(first->Graphics()->GetControl(2));
  EXPECT_EQ(knob1->Strip().bitmap, knob6->Strip().bitmap);
  ASSERT_NE(knob1->Strip().bitmap, nullptr);
  EXPECT_NE(knob1->Strip().bitmap, small->Strip().bitmap);
  EXPECT_EQ(knob1->Strip().frames, 240);
  EXPECT_EQ(small->Strip().height, 19200);
  auto* p = static_cast<ISwitchControl*>(first->Graphics()->GetControl(9));
  auto* f = static_cast<ISwitchControl*>(second->Graphics()->GetControl(10));
  EXPECT_EQ(p->Strip().bitmap, f->Strip().bitmap);
}

// Every editor, with a window or without, on either platform, loads its images this one way.
TEST(EditorLayout, ImagesLoadFromTheModulesPngResourcesByIdAndAPngName) {
  auto plug = MakeBrelvane();
  IGraphics& editor = *plug->Graphics();
  for (const ImageResource& image : kImageResources) {
    SCOPED_TRACE(image.fileName);
    std::unique_ptr<LICE_IBitmap> bitmap(editor.LoadImageResource(image.id, image.fileName));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_GT(bitmap->Width(), 0);
    EXPECT_EQ(bitmap->Height() % image.frames, 0);
  }
  const int id = kBackgroundImage.id;
  std::unique_ptr<LICE_IBitmap> upper(editor.LoadImageResource(id, "BACKGROUND.PNG"));
  EXPECT_NE(upper, nullptr);
  const char* const refused[] = {"background.bmp", "background", "background.png.txt", "png", "", nullptr};
  for (const char* name : refused)
    EXPECT_EQ(editor.LoadImageResource(id, name), nullptr) << (name ? name : "null");
  // 0x10000 + id would find the image `id` among Windows's 16-bit resource names.
  for (int missing : {0, 102, -1, 0x10000 + id})
    EXPECT_EQ(editor.LoadImageResource(missing, "a.png"), nullptr);
}

TEST(EditorLayout, OverlapsAreResolvedByDrawingOrder) {
  auto plug = MakeBrelvane();
  IGraphics* editor = plug->Graphics();
  const MouseModifiers left{true, false, false, false, false};
  // Later controls win: the limiter switches over the power switch's lower corners, the meters
  // over the limiter switches' outer edges.
  editor->HandleMouseDown(410, 140, left);  // power switch and "P Limit" overlap
  EXPECT_EQ(editor->CapturedControl(), 9);
  editor->HandleMouseUp(410, 140, left);
  editor->HandleMouseDown(374, 160, left);  // "Pres Comp" meter and "P Limit" overlap
  EXPECT_EQ(editor->CapturedControl(), 11);
  editor->HandleMouseUp(374, 160, left);
  editor->HandleMouseDown(529, 130, left);  // "Final Comp" meter and "F Limit" overlap
  EXPECT_EQ(editor->CapturedControl(), 12);
  editor->HandleMouseUp(529, 130, left);
  // A grayed limiter switch lets the click through to the power switch below it.
  editor->GetControl(9)->SetGrayed(true);
  editor->HandleMouseDown(410, 140, left);
  EXPECT_EQ(editor->CapturedControl(), 8);
  editor->HandleMouseUp(410, 140, left);
}

}  // namespace
}  // namespace editortest
