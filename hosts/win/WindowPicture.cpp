#include "hosts/win/WindowPicture.h"

#include <png.h>

#include <cstdio>
#include <memory>

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

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
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
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) {
    error = path + ": cannot create the file";
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    error = path + ": out of memory";
    return false;
  }
  std::vector<png_byte> row(static_cast<std::size_t>(picture.width) * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    error = path + ": cannot write the picture";
    return false;
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, picture.width, picture.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t pixel = picture.At(x, y);
      row[3 * x] = static_cast<png_byte>(pixel >> 16);
      row[3 * x + 1] = static_cast<png_byte>(pixel >> 8);
      row[3 * x + 2] = static_cast<png_byte>(pixel);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fflush(file.get()) != 0) {
    error = path + ": cannot write the file";
    return false;
  }
  return true;
}

}  // namespace brel::win
