#pragma once
// Encodes images as PNG files in memory with libpng's writer: a bitmap as 8-bit RGBA, or rows
// already packed the way a PNG stores them, in any colour type and bit depth the format has (so
// tests can make every kind of file the decoder must read).

#include <cstdint>
#include <optional>
#include <vector>

#include "raster/Bitmap.h"

// The colour types as a PNG header stores them.
enum PngColourType : int { kPngGray = 0, kPngRgb = 2, kPngPalette = 3, kPngGrayAlpha = 4, kPngRgba = 6 };

struct PngPaletteEntry {
  unsigned char red, green, blue;
};

struct PngImage {
  PngImage(int w, int h, int type, int depth, bool interlace = false)
      : width(w), height(h), colourType(type), bitDepth(depth), interlaced(interlace) {}
  int width;
  int height;
  int colourType;  // a PngColourType
  int bitDepth;
  bool interlaced;                  // Adam7
  std::vector<unsigned char> rows;  // packed as the file stores them, rows one after another
  std::vector<PngPaletteEntry> palette;
  std::vector<unsigned char> transparency;       // the alpha of the first palette entries (tRNS)
  std::optional<std::uint16_t> transparentGray;  // the gray level that is transparent (tRNS)
};

// False, with `out` empty, when the rows do not fill exactly the header's width and height, when
// libpng refuses the header (a colour type and a depth that do not go together) or on running
// out of memory.
bool EncodePngImage(const PngImage& image, std::vector<unsigned char>& out);

// The bitmap as 8-bit RGBA with its straight alpha, rows from the top; false for a bitmap
// without pixels.
bool EncodePngImage(LICE_IBitmap& bitmap, std::vector<unsigned char>& out);
