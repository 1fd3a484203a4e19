#include "raster/PngEncode.h"

#include <png.h>

#include <csetjmp>

namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

// Without a flush function of its own libpng would flush its output as a C file.
void NoFlush(png_structp) {}

int Channels(int colourType) {
  switch (colourType) {
    case kPngGray:
    case kPngPalette: return 1;
    case kPngGrayAlpha: return 2;
    case kPngRgb: return 3;
    case kPngRgba: return 4;
    default: return 0;
  }
}

// libpng reads as many bytes per row as the header implies, whatever the rows hold.
bool RowsFillHeader(const PngImage& image) {
  if (image.width <= 0 || image.height <= 0 || image.bitDepth <= 0 || image.bitDepth > 16) return false;
  const std::size_t bits =
      static_cast<std::size_t>(image.width) * Channels(image.colourType) * image.bitDepth;
  const std::size_t rowBytes = (bits + 7) / 8;
  return rowBytes > 0 && image.rows.size() % rowBytes == 0 &&
         image.rows.size() / rowBytes == static_cast<std::size_t>(image.height);
}

// Only plain data lives in the frame that libpng may jump back into.
bool Write(png_structp png, png_infop info, const PngImage* image, const png_color* palette,
           png_color_16* transparentGray, png_bytepp rows, std::vector<unsigned char>* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, Append, NoFlush);
  png_set_IHDR(png, info, image->width, image->height, image->bitDepth, image->colourType,
               image->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!image->palette.empty()) png_set_PLTE(png, info, palette, static_cast<int>(image->palette.size()));
  if (!image->transparency.empty())
    png_set_tRNS(png, info, image->transparency.data(), static_cast<int>(image->transparency.size()),
                 nullptr);
  if (transparentGray) png_set_tRNS(png, info, nullptr, 0, transparentGray);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  return true;
}

}  // namespace

bool EncodePngImage(const PngImage& image, std::vector<unsigned char>& out) {
  out.clear();
  if (!RowsFillHeader(image)) return false;
  std::vector<png_color> palette;
  for (const PngPaletteEntry& entry : image.palette)
    palette.push_back(png_color{entry.red, entry.green, entry.blue});
  png_color_16 gray = {};
  if (image.transparentGray) gray.gray = *image.transparentGray;
  const std::size_t stride = image.rows.size() / image.height;
  std::vector<png_bytep> rows;
  for (int y = 0; y < image.height; ++y)
    rows.push_back(const_cast<png_bytep>(image.rows.data() + static_cast<std::size_t>(y) * stride));

  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  const bool written = info && Write(png, info, &image, palette.data(),
                                     image.transparentGray ? &gray : nullptr, rows.data(), &out);
  png_destroy_write_struct(&png, info ? &info : nullptr);
  if (!written) out.clear();
  return written;
}

bool EncodePngImage(LICE_IBitmap& bitmap, std::vector<unsigned char>& out) {
  out.clear();
  if (bitmap.Width() <= 0 || bitmap.Height() <= 0 || !bitmap.Pixels()) return false;
  PngImage image(bitmap.Width(), bitmap.Height(), kPngRgba, 8);
  image.rows.reserve(static_cast<std::size_t>(image.width) * image.height * 4);
  for (int y = 0; y < image.height; ++y) {
    const LicePixel* pixels = RowPointer(bitmap, y);
    for (int x = 0; x < image.width; ++x) {
      const LicePixel p = pixels[x];
      image.rows.insert(image.rows.end(),
                        {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                         static_cast<unsigned char>(p), static_cast<unsigned char>(p >> 24)});
    }
  }
  return EncodePngImage(image, out);
}
