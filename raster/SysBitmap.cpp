#include "raster/SysBitmap.h"

// The resize rule is shared; the storage behind it is the platform's (raster/win, raster/linux).
bool LICE_SysBitmap::Resize(int width, int height) {
  if (!mHasContext) {
    mWidth = 0;
    mHeight = 0;
    mPixels = nullptr;
    return false;
  }
  if (width == mWidth && height == mHeight) return false;
  mWidth = width;
  mHeight = height;
  if (width > 0 && height > 0 && width <= mAllocWidth && height <= mAllocHeight && mPixels) return true;

  mAllocWidth = (width + 3) & ~3;
  mAllocHeight = height;
  ReleaseStorage();
  mPixels = nullptr;
  if (mAllocWidth < 1 || mAllocHeight < 1) return false;
  if (!CreateStorage()) {
    mWidth = 0;
    mHeight = 0;
    mPixels = nullptr;
  }
  return true;
}
