#pragma once
// Bitmaps of LicePixels: the interface every raster routine draws through, and the plain-memory
// bitmap that holds decoded images.

#include <cstdint>

#include "raster/LicePixel.h"

// The order of the virtual operations is part of the interface: keep it.
class LICE_IBitmap {
public:
  virtual ~LICE_IBitmap() = default;
  // The first pixel in memory, or null without storage. A bottom-up bitmap keeps its row 0 in the
  // last memory row; the raster routines find rows through RowPointer below.
  virtual LicePixel* Pixels() = 0;
  virtual int Width() = 0;
  virtual int Height() = 0;
  virtual int RowSpan() = 0;
  virtual bool IsBottomUp() { return false; }
  virtual bool Resize(int width, int height) = 0;
  virtual void* DeviceContext() { return nullptr; }
  virtual std::intptr_t QueryExtension(int id, void* data) { return 0; }
};

// Row y of a bitmap with pixels, whichever way up its rows are stored.
inline LicePixel* RowPointer(LICE_IBitmap& bitmap, int y) {
  const int row = bitmap.IsBottomUp() ? bitmap.Height() - 1 - y : y;
  return bitmap.Pixels() + static_cast<std::intptr_t>(row) * bitmap.RowSpan();
}
// The distance in pixels from row y to row y + 1.
inline std::intptr_t RowStride(LICE_IBitmap& bitmap) {
  return bitmap.IsBottomUp() ? -static_cast<std::intptr_t>(bitmap.RowSpan()) : bitmap.RowSpan();
}

// A bitmap in plain heap memory, rows padded to four pixels and storage aligned to 64 bytes.
// Its storage only ever grows, so resizing back and forth allocates nothing.
class LICE_MemBitmap : public LICE_IBitmap {
public:
  LICE_MemBitmap(int width = 0, int height = 0);
  ~LICE_MemBitmap() override;
  LICE_MemBitmap(const LICE_MemBitmap&) = delete;
  LICE_MemBitmap& operator=(const LICE_MemBitmap&) = delete;

  LicePixel* Pixels() override;
  int Width() override { return mWidth; }
  int Height() override { return mHeight; }
  int RowSpan() override { return (mWidth + mRowAlignMask) & ~mRowAlignMask; }
  bool Resize(int width, int height) override;

  int AllocatedBytes() const { return mAllocSize; }

private:
  void FreeStorage();

  unsigned char* mRaw = nullptr;
  int mWidth = 0;
  int mHeight = 0;
  int mAllocSize = 0;
  int mRowAlignMask = 3;
};
