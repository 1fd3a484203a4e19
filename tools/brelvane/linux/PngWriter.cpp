#include "tools/brelvane/linux/PngWriter.h"

#include <png.h>

#include "raster/Bitmap.h"

namespace brel::cmd {

namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// Only plain data lives in the frame that libpng may jump back into.
bool WriteRows(png_structp png, png_infop info, LICE_IBitmap* bitmap, unsigned char* row,
               std::vector<unsigned char>* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  const int width = bitmap->Width();
  const int height = bitmap->Height();
  png_set_write_fn(png, out, Append, NoFlush);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    const LicePixel* pixels = RowPointer(*bitmap, y);
    for (int x = 0; x < width; ++x) {
      const LicePixel p = pixels[x];
      row[x * 4 + 0] = static_cast<unsigned char>(p >> 16);
      row[x * 4 + 1] = static_cast<unsigned char>(p >> 8);
      row[x * 4 + 2] = static_cast<unsigned char>(p);
      row[x * 4 + 3] = static_cast<unsigned char>(p >> 24);
    }
    png_write_row(png, row);
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

bool EncodePng(LICE_IBitmap& bitmap, std::vector<unsigned char>& out) {
  if (bitmap.Width() <= 0 || bitmap.Height() <= 0 || !bitmap.Pixels()) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  std::vector<unsigned char> row(static_cast<std::size_t>(bitmap.Width()) * 4);
  out.clear();
  const bool written = info && WriteRows(png, info, &bitmap, row.data(), &out);
  png_destroy_write_struct(&png, info ? &info : nullptr);
  return written;
}

}  // namespace brel::cmd
