#pragma once
// Small helpers for the raster tests: painting and reading pixels by logical row.

#include "raster/Bitmap.h"

inline void Paint(LICE_IBitmap& bitmap, LicePixel colour) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) RowPointer(bitmap, y)[x] = colour;
  }
}

// A pixel that tells where it came from: opaque, green = row, blue = column.
inline LicePixel NumberedPixel(int x, int y) { return 0xFF000000u | static_cast<LicePixel>(y << 8 | x); }

inline void Number(LICE_IBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) RowPointer(bitmap, y)[x] = NumberedPixel(x, y);
  }
}

inline LicePixel PixelAt(LICE_IBitmap& bitmap, int x, int y) { return RowPointer(bitmap, y)[x]; }

// A memory bitmap that keeps its rows bottom-up, as some window systems' bitmaps do.
class BottomUpBitmap : public LICE_MemBitmap {
public:
  using LICE_MemBitmap::LICE_MemBitmap;
  bool IsBottomUp() override { return true; }
};
