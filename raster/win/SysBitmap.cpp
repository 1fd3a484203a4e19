// On Windows a system bitmap is a top-down 32-bit DIB section selected into a memory DC, so GDI
// can draw text into it and the window host can BitBlt it to the screen.
#include "raster/SysBitmap.h"

#include <windows.h>

LICE_SysBitmap::LICE_SysBitmap(int width, int height) {
  mDC = CreateCompatibleDC(nullptr);
  mHasContext = mDC != nullptr;
  Resize(width, height);
}

LICE_SysBitmap::~LICE_SysBitmap() {
  ReleaseStorage();
  if (mDC) DeleteDC(static_cast<HDC>(mDC));
}

bool LICE_SysBitmap::CreateStorage() {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = mAllocWidth;
  info.bmiHeader.biHeight = -mAllocHeight;  // negative: rows run top to bottom
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(static_cast<HDC>(mDC), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section || !bits) {
    if (section) DeleteObject(section);
    return false;
  }
  mSection = section;
  mPixels = static_cast<LicePixel*>(bits);
  HGDIOBJ previous = SelectObject(static_cast<HDC>(mDC), section);
  if (!mPrevious) mPrevious = previous;
  return true;
}

void LICE_SysBitmap::ReleaseStorage() {
  if (!mSection) return;
  // Deselect before deleting: GDI refuses to delete a bitmap that a DC still holds.
  if (mPrevious) SelectObject(static_cast<HDC>(mDC), static_cast<HGDIOBJ>(mPrevious));
  DeleteObject(static_cast<HBITMAP>(mSection));
  mSection = nullptr;
}
