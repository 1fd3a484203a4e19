#pragma once
// Encodes test images with libpng's writer, into memory.

#include <png.h>

#include <vector>

struct PngImage {
  PngImage(int w, int h, int type, int depth, bool interlace = false)
      : width(w), height(h), colourType(type), bitDepth(depth), interlaced(interlace) {}
  int width;
  int height;
  int colourType;  // PNG_COLOR_TYPE_*
  int bitDepth;
  bool interlaced;
  std::vector<unsigned char> rows;  // packed as the PNG stores them, rows one after another
  std::vector<png_color> palette;
  std::vector<unsigned char> transparency;  // tRNS entries for palette images
  bool grayTransparency = false;
  png_color_16 transparentColour = {};
};

inline std::vector<unsigned char> EncodePng(const PngImage& image) {
  std::vector<unsigned char> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, png_size_t n) {
        auto* bytes = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(p));
        bytes->insert(bytes->end(), data, data + n);
      },
      nullptr);
  png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colourType,
               image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!image.palette.empty()) {
    png_set_PLTE(png, info, image.palette.data(), static_cast<int>(image.palette.size()));
  }
  if (!image.transparency.empty()) {
    png_set_tRNS(png, info, image.transparency.data(), static_cast<int>(image.transparency.size()), nullptr);
  }
  if (image.grayTransparency) png_set_tRNS(png, info, nullptr, 0, &image.transparentColour);
  const size_t stride = image.rows.size() / image.height;
  std::vector<png_bytep> rowPointers(image.height);
  for (int y = 0; y < image.height; ++y) {
    rowPointers[y] = const_cast<png_bytep>(image.rows.data() + y * stride);
  }
  png_set_rows(png, info, rowPointers.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}
