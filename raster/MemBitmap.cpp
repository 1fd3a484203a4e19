#include "raster/Bitmap.h"

#include <climits>
#include <cstdlib>

namespace {

constexpr int kAlignSlack = 63;

// Bytes of storage for a size, or -1 when it cannot be recorded in the int the bitmap keeps.
long long StorageBytes(int width, int height) {
  if (width <= 0 || height <= 0) return 0;
  const long long span = (static_cast<long long>(width) + 3) & ~3LL;
  const long long bytes = span * height * 4;
  return bytes > INT_MAX - kAlignSlack ? -1 : bytes;
}

}  // namespace

LICE_MemBitmap::LICE_MemBitmap(int width, int height) {
  if (width <= 0 || height <= 0) return;
  mWidth = width;
  mHeight = height;
  const long long bytes = StorageBytes(width, height);
  if (bytes > 0) mRaw = static_cast<unsigned char*>(std::malloc(bytes + kAlignSlack));
  if (mRaw) {
    mAllocSize = static_cast<int>(bytes);
  } else {
    mWidth = 0;
    mHeight = 0;
  }
}

LICE_MemBitmap::~LICE_MemBitmap() { std::free(mRaw); }

LicePixel* LICE_MemBitmap::Pixels() {
  if (!mRaw) return nullptr;
  const auto address = (reinterpret_cast<std::uintptr_t>(mRaw) + kAlignSlack) & ~std::uintptr_t{kAlignSlack};
  return reinterpret_cast<LicePixel*>(address);
}

void LICE_MemBitmap::FreeStorage() {
  std::free(mRaw);
  mRaw = nullptr;
  mAllocSize = 0;
}

bool LICE_MemBitmap::Resize(int width, int height) {
  if (width == mWidth && height == mHeight) return false;
  mWidth = width;
  mHeight = height;
  const long long bytes = StorageBytes(width, height);
  if (bytes < 0) {
    // Too large to address: the same outcome as an allocation that fails.
    FreeStorage();
  } else if (bytes == 0) {
    FreeStorage();
  } else if (!mRaw) {
    mRaw = static_cast<unsigned char*>(std::malloc(bytes + kAlignSlack));
    mAllocSize = mRaw ? static_cast<int>(bytes) : 0;
  } else if (mAllocSize < bytes) {
    // Grow by a quarter more than asked, so a slowly growing bitmap reallocates rarely.
    const long long grown = (bytes / 4) * 5;
    void* moved = grown <= INT_MAX - kAlignSlack ? std::realloc(mRaw, grown + kAlignSlack) : nullptr;
    if (moved) {
      mRaw = static_cast<unsigned char*>(moved);
      mAllocSize = static_cast<int>(grown);
    } else {
      std::free(mRaw);
      mRaw = static_cast<unsigned char*>(std::malloc(bytes + kAlignSlack));
      mAllocSize = mRaw ? static_cast<int>(bytes) : 0;
    }
  }
  if (!mRaw) {
    mWidth = 0;
    mHeight = 0;
  }
  return true;
}
