#pragma once
// A bitmap the window system can draw into and copy from: the editor's backing store and the
// canvas glyphs are rendered on. On Windows it is a top-down 32-bit DIB section selected into a
// memory DC; on Linux the same contract over plain memory, without a device context.

#include "raster/Bitmap.h"

class LICE_SysBitmap : public LICE_IBitmap {
public:
  LICE_SysBitmap(int width = 0, int height = 0);
  ~LICE_SysBitmap() override;
  LICE_SysBitmap(const LICE_SysBitmap&) = delete;
  LICE_SysBitmap& operator=(const LICE_SysBitmap&) = delete;

  LicePixel* Pixels() override { return mPixels; }
  int Width() override { return mWidth; }
  int Height() override { return mHeight; }
  int RowSpan() override { return mAllocWidth; }
  // Keeps the storage when the new size fits in it; a section is never shrunk.
  bool Resize(int width, int height) override;
  void* DeviceContext() override { return mDC; }

private:
  // Replaces the storage by one of mAllocWidth x mAllocHeight pixels; false when it cannot be made.
  bool CreateStorage();
  void ReleaseStorage();

  int mWidth = 0;
  int mHeight = 0;
  void* mDC = nullptr;  // HDC on Windows; none on Linux
  LicePixel* mPixels = nullptr;
  int mAllocWidth = 0;
  int mAllocHeight = 0;
  void* mSection = nullptr;   // HBITMAP on Windows; the heap block on Linux
  void* mPrevious = nullptr;  // the object the DC held before the section, restored at the end
  bool mHasContext = false;
};
