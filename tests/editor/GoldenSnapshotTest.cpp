// The default editor, drawn as `brelvane snapshot` draws it, matches the committed reference
// picture pixel for pixel, on every platform the tree builds for.
#include <gtest/gtest.h>

#include <memory>

#include "raster/PngDecode.h"
#include "resources/EmbeddedResource.h"
#include "tests/editor/PlugRig.h"
#include "editor/VuControl.h"

extern const EmbeddedResource kEmbedded900;

namespace editortest {
namespace {

TEST(GoldenSnapshot, TheDefaultEditorMatchesTheReferencePictureExactly) {
  std::unique_ptr<LICE_MemBitmap> reference(
      DecodePngImage(kEmbedded900.data, static_cast<int>(kEmbedded900.size)));
  ASSERT_NE(reference, nullptr);
  auto plug = MakeBrelvane();
  plug->SetSampleRateFromHost(48000.0);
  plug->NotifyAllParamsChanged();
  ProcessSilence(*plug);
  IGraphics& editor = *plug->Graphics();
  ASSERT_TRUE(DrawWholeEditor(editor, VuControl::kLampFadeFrames));
  LICE_IBitmap& drawn = *editor.DrawBitmap();
  ASSERT_EQ(reference->Width(), drawn.Width());
  ASSERT_EQ(reference->Height(), drawn.Height());
  int differing = 0;
  int firstX = -1, firstY = -1;
  for (int y = 0; y < drawn.Height(); ++y) {
    const LicePixel* a = RowPointer(drawn, y);
    const LicePixel* b = RowPointer(*reference, y);
    for (int x = 0; x < drawn.Width(); ++x) {
      if (a[x] == b[x]) continue;
      if (differing++ == 0) {
        firstX = x;
        firstY = y;
      }
    }
  }
  EXPECT_EQ(differing, 0) << "first difference at " << firstX << ", " << firstY;
}

}  // namespace
}  // namespace editortest
