#include "hosts/win/WindowPicture.h"

#include <cstdio>

#include "raster/PngEncode.h"

namespace brel::win {

namespace {

// A top-down 32-bit DIB section in a memory DC, released in reverse order.
class DibCanvas {
public:
  DibCanvas(HDC compatible, int width, int height) {
    mDC = CreateCompatibleDC(compatible);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    if (mDC) mSection = CreateDIBSection(mDC, &info, DIB_RGB_COLORS, &mBits, nullptr, 0);
    if (mSection) mPrevious = SelectObject(mDC, mSection);
  }
  ~DibCanvas() {
    if (mPrevious) SelectObject(mDC, mPrevious);
    if (mSection) DeleteObject(mSection);
    if (mDC) DeleteDC(mDC);
  }
  bool IsReady() const { return mSection && mBits; }
  HDC DC() const { return mDC; }
  const std::uint32_t* Bits() const { return static_cast<const std::uint32_t*>(mBits); }

private:
  HDC mDC = nullptr;
  HBITMAP mSection = nullptr;
  HGDIOBJ mPrevious = nullptr;
  void* mBits = nullptr;
};

}  // namespace

bool CaptureWindow(HWND window, WindowPicture& out) {
  out = WindowPicture{};
  RECT client = {};
  if (!IsWindow(window) || !GetClientRect(window, &client)) return false;
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return false;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);

  HDC windowDC = GetDC(window);
  if (!windowDC) return false;
  bool copied = false;
  {
    DibCanvas canvas(windowDC, width, height);
    if (canvas.IsReady() && BitBlt(canvas.DC(), 0, 0, width, height, windowDC, 0, 0, SRCCOPY)) {
      GdiFlush();
      const std::size_t count = static_cast<std::size_t>(width) * height;
      out.pixels.assign(canvas.Bits(), canvas.Bits() + count);
      for (std::uint32_t& pixel : out.pixels) pixel &= 0x00FFFFFF;
      out.width = width;
      out.height = height;
      copied = true;
    }
  }
  ReleaseDC(window, windowDC);
  return copied;
}

bool SavePng(const WindowPicture& picture, const std::string& path, std::string& error) {
  if (picture.width <= 0 || picture.height <= 0) {
    error = path + ": the picture is empty";
    return false;
  }
  PngImage image(picture.width, picture.height, kPngRgb, 8);
  image.rows.reserve(picture.pixels.size() * 3);
  for (std::uint32_t pixel : picture.pixels)
    image.rows.insert(image.rows.end(),
                      {static_cast<unsigned char>(pixel >> 16), static_cast<unsigned char>(pixel >> 8),
                       static_cast<unsigned char>(pixel)});
  std::vector<unsigned char> png;
  if (!EncodePngImage(image, png)) {
    error = path + ": cannot write the picture";
    return false;
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    error = path + ": cannot create the file";
    return false;
  }
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  if (std::fclose(file) != 0 || !written) {
    error = path + ": cannot write the file";
    return false;
  }
  return true;
}

}  // namespace brel::win
