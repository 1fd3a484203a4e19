// On Linux a system bitmap is plain heap memory: there is no device context to draw through, so
// its owners draw with the raster routines alone.
#include "raster/SysBitmap.h"

#include <climits>
#include <cstdlib>

LICE_SysBitmap::LICE_SysBitmap(int width, int height) {
  mHasContext = true;
  Resize(width, height);
}

LICE_SysBitmap::~LICE_SysBitmap() { ReleaseStorage(); }

bool LICE_SysBitmap::CreateStorage() {
  const long long bytes = static_cast<long long>(mAllocWidth) * mAllocHeight * 4;
  if (bytes > INT_MAX) return false;
  mSection = std::malloc(static_cast<std::size_t>(bytes));
  mPixels = static_cast<LicePixel*>(mSection);
  return mSection != nullptr;
}

void LICE_SysBitmap::ReleaseStorage() {
  std::free(mSection);
  mSection = nullptr;
}
