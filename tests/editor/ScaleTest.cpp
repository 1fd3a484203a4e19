// The editor at a scale: the window's size, the twice-as-large picture against the 1x one, the
// area-averaging resampler, and the pointer mapped from window pixels to the editor's own.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "editor/VuControl.h"
#include "raster/AreaResample.h"
#include "tests/editor/PlugRig.h"

namespace editortest {
namespace {

constexpr MouseModifiers kLeft{true, false, false, false, false};
// How far a 2x2 block's mean may stray from the 1x pixel, per channel: edges antialiased at
// either resolution land a little apart, nothing more (measured: 29 at worst, 0.2 on average).
constexpr int kMaxSameDesignDistance = 32;
constexpr double kMaxMeanDistance = 0.5;

int Channel(LicePixel p, int c) { return static_cast<int>((p >> (8 * c)) & 0xFF); }

TEST(AreaResample, AveragesTheCoveredAreaAndKeepsAFlatAreaFlat) {
  struct Case {
    int sw, sh, dw, dh;
  };
  for (const Case& c : {Case{4, 4, 3, 3}, Case{2, 2, 3, 3}, Case{3, 5, 2, 2}, Case{904, 416, 1356, 624}}) {
    LICE_MemBitmap source(c.sw, c.sh), dest(c.dw, c.dh);
    for (int y = 0; y < c.sh; ++y)
      for (int x = 0; x < c.sw; ++x) RowPointer(source, y)[x] = 0xFF336699u;
    AreaResampler resampler;
    resampler.Prepare(c.sw, c.sh, c.dw, c.dh);
    resampler.Run(source, dest, LiceRect{0, 0, c.dw, c.dh});
    for (int y = 0; y < c.dh; ++y)
      for (int x = 0; x < c.dw; ++x) ASSERT_EQ(RowPointer(dest, y)[x], 0xFF336699u) << c.sw << "->" << c.dw;
  }

  // Halving: each pixel the mean of its 2x2 block; outside the area nothing is written.
  LICE_MemBitmap source(4, 2), dest(2, 1);
  const LicePixel block[2][4] = {{0x00000000u, 0x04080C10u, 0x10101010u, 0x10101010u},
                                 {0x08102030u, 0x0C182838u, 0x10101010u, 0x10101010u}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) RowPointer(source, y)[x] = block[y][x];
  RowPointer(dest, 0)[1] = 0xDEADBEEFu;
  AreaResampler halve;
  halve.Prepare(4, 2, 2, 1);
  halve.Run(source, dest, LiceRect{0, 0, 1, 1});
  EXPECT_EQ(RowPointer(dest, 0)[0], 0x060C151Eu);
  EXPECT_EQ(RowPointer(dest, 0)[1], 0xDEADBEEFu);
}

TEST(EditorScale, TheWindowGrowsWithTheFactorWhileTheEditorKeepsItsSize) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double factor;
    int width, height, artScale;
  };
  const Case cases[] = {{1.0, 904, 416, 1},  {1.25, 1130, 520, 2}, {1.5, 1356, 624, 2},
                        {2.0, 1808, 832, 2}, {3.0, 2712, 1248, 2}, {0.0, 904, 416, 1},
                        {-2.0, 904, 416, 1}, {nan, 904, 416, 1},   {7.0, 2712, 1248, 2}};
  for (const Case& c : cases) {
    auto plug = MakeBrelvane();
    IGraphics& editor = *plug->Graphics();
    EXPECT_TRUE(editor.SetHostScale(c.factor));
    int width = 0, height = 0;
    editor.WindowSize(width, height);
    EXPECT_EQ(width, c.width) << c.factor;
    EXPECT_EQ(height, c.height) << c.factor;
    EXPECT_EQ(editor.ArtScale(), c.artScale) << c.factor;
    EXPECT_EQ(editor.GetWidth(), 904);
    EXPECT_EQ(editor.ScreenBitmap()->Width(), c.width) << c.factor;
    EXPECT_EQ(editor.DrawBitmap()->Width(), 904 * c.artScale) << c.factor;
    EXPECT_EQ(editor.GetControl(1)->GetRect(), (Rect{64, 232, 192, 360}));
  }
}

TEST(EditorScale, TheTwiceSizePictureIsTheSameDesignInFinerDetail) {
  auto plug = MakeBrelvane();
  plug->SetSampleRateFromHost(48000.0);
  plug->NotifyAllParamsChanged();
  ProcessSilence(*plug);
  IGraphics& editor = *plug->Graphics();
  ASSERT_TRUE(DrawWholeEditor(editor, VuControl::kLampFadeFrames));
  LICE_MemBitmap once(904, 416);
  for (int y = 0; y < 416; ++y)
    for (int x = 0; x < 904; ++x) RowPointer(once, y)[x] = RowPointer(*editor.ScreenBitmap(), y)[x];

  editor.SetHostScale(2.0);
  ASSERT_TRUE(DrawWholeEditor(editor, VuControl::kLampFadeFrames));
  LICE_IBitmap& twice = *editor.ScreenBitmap();
  ASSERT_EQ(twice.Width(), 1808);
  ASSERT_EQ(twice.Height(), 832);
  int worst = 0;
  long long total = 0;
  int detailed = 0;  // 2x2 blocks that are not one colour: detail a doubled 1x picture lacks
  for (int y = 0; y < 416; ++y) {
    const LicePixel* upper = RowPointer(twice, 2 * y);
    const LicePixel* lower = RowPointer(twice, 2 * y + 1);
    for (int x = 0; x < 904; ++x) {
      const LicePixel quad[4] = {upper[2 * x], upper[2 * x + 1], lower[2 * x], lower[2 * x + 1]};
      if (quad[0] != quad[1] || quad[0] != quad[2] || quad[0] != quad[3]) ++detailed;
      for (int c = 0; c < 3; ++c) {
        const int mean =
            (Channel(quad[0], c) + Channel(quad[1], c) + Channel(quad[2], c) + Channel(quad[3], c) + 2) / 4;
        const int distance = std::abs(mean - Channel(RowPointer(once, y)[x], c));
        worst = std::max(worst, distance);
        total += distance;
      }
    }
  }
  EXPECT_GT(detailed, 904 * 416 / 4);
  EXPECT_LE(worst, kMaxSameDesignDistance);
  EXPECT_LE(static_cast<double>(total) / (904.0 * 416.0 * 3.0), kMaxMeanDistance);
}

// A drag of the Pres Comp knob: `scale` window pixels per editor pixel.
double KnobAfterDrag(double scale, int upBy) {
  auto plug = MakeBrelvane();
  IGraphics& editor = *plug->Graphics();
  editor.SetHostScale(scale);
  const auto at = [scale](int editorPixel) { return static_cast<int>(std::lround(editorPixel * scale)); };
  editor.HandleMouseDown(at(128), at(296), kLeft);
  editor.HandleMouseDrag(at(128), at(296) - upBy / 2, kLeft);
  editor.HandleMouseDrag(at(128), at(296) - upBy, kLeft);
  editor.HandleMouseUp(at(128), at(296) - upBy, kLeft);
  return plug->GetParamNormalized(BrelvaneParamIndex::kPresComp);
}

TEST(EditorScale, ThePointerMapsFromWindowPixelsToTheEditorsOwn) {
  const double atOne = KnobAfterDrag(1.0, 40);
  EXPECT_NE(atOne, KnobAfterDrag(1.0, 0));
  EXPECT_EQ(KnobAfterDrag(2.0, 80), atOne);

  // At 1.5 a click on mode button C's picture reaches it, and its repaint is in window pixels.
  auto plug = MakeBrelvane();
  IGraphics& editor = *plug->Graphics();
  editor.SetHostScale(1.5);
  Frame(editor);
  editor.HandleMouseDown(1242, 109, kLeft);
  editor.HandleMouseUp(1242, 109, kLeft);
  EXPECT_EQ(plug->GetParam(BrelvaneParamIndex::kMode)->GetValue(), 3.0);
  Rect dirty;
  ASSERT_TRUE(editor.TimerStep(dirty));
  // The mode buttons and the meters that show the mode: (51, 32, 853, 170) in the editor's pixels.
  EXPECT_EQ(dirty, (Rect{76, 48, 1280, 255}));
}

}  // namespace
}  // namespace editortest
