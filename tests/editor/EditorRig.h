#pragma once
// An editor without a plug-in and controls that count their draws, for the drawing pass and the
// mouse dispatch on their own; strips of solid-coloured frames for the blits.

#include <memory>
#include <vector>

#include "editor/EmbeddedImageGraphics.h"
#include "raster/Bitmap.h"

namespace editortest {

class CountingControl : public IControl {
public:
  explicit CountingControl(const Rect& rect, int paramIndex = -1) : IControl(nullptr, rect, paramIndex) {}
  bool Draw(IGraphics&) override {
    ++draws;
    return true;
  }
  void OnMouseDown(int, int, const MouseModifiers&) override { ++downs; }
  int draws = 0;
  int downs = 0;
};

inline std::unique_ptr<EmbeddedImageGraphics> MakeEditor(int width = 100, int height = 100) {
  auto editor = std::make_unique<EmbeddedImageGraphics>(nullptr, width, height, 25);
  editor->CreateDrawingSurfaces();
  LICE_IBitmap& bitmap = *editor->DrawBitmap();
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) RowPointer(bitmap, y)[x] = 0;
  return editor;
}

// A strip of `frames` frames of width x frameHeight, frame k (1-based) filled with colours[k-1].
struct SolidStrip {
  SolidStrip(int width, int frameHeight, const std::vector<LicePixel>& colours)
      : bitmap(width, frameHeight * static_cast<int>(colours.size())) {
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < width; ++x) RowPointer(bitmap, y)[x] = colours[y / frameHeight];
    strip.bitmap = &bitmap;
    strip.width = width;
    strip.height = bitmap.Height();
    strip.frames = static_cast<int>(colours.size());
  }
  LICE_MemBitmap bitmap;
  BitmapStrip strip;
};

inline LicePixel PixelAt(IGraphics& editor, int x, int y) { return RowPointer(*editor.DrawBitmap(), y)[x]; }

}  // namespace editortest
