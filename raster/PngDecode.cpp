#include "raster/PngDecode.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

struct MemorySource {
  const unsigned char* next;
  int left;
};

// A read past the end of the data is an error at once. Handing out zeros instead would let a
// chunk that declares gigabytes make libpng read and check that many phantom bytes.
void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
  if (count > static_cast<png_size_t>(source->left)) png_error(png, "the image data ends early");
  std::memcpy(out, source->next, count);
  source->next += count;
  source->left -= static_cast<int>(count);
}

// Asks libpng for every pixel as the four bytes alpha, red, green, blue.
void RequestArgb(png_structp png, png_infop info) {
  png_uint_32 width = 0, height = 0;
  int depth = 0, colourType = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colourType, nullptr, nullptr, nullptr);
  bool hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0;
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
    hasAlpha = true;
  }
  if (depth == 16) png_set_strip_16(png);
  if (depth < 8) png_set_packing(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  if (hasAlpha) {
    png_set_swap_alpha(png);
  } else {
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
  }
}

// Rows arrive as bytes alpha, red, green, blue; a LicePixel wants blue, green, red, alpha.
void ArgbBytesToPixels(LICE_MemBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    LicePixel* row = bitmap.Pixels() + static_cast<std::size_t>(y) * bitmap.RowSpan();
    auto* bytes = reinterpret_cast<const unsigned char*>(row);
    for (int x = 0; x < bitmap.Width(); ++x, bytes += 4) {
      row[x] = LicePixelFromChannels(bytes[1], bytes[2], bytes[3], bytes[0]);
    }
  }
}

constexpr unsigned char kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

}  // namespace

LICE_MemBitmap* DecodePngImage(const unsigned char* bytes, int length) {
  if (!bytes || length <= 7 || std::memcmp(bytes, kSignature, sizeof kSignature) != 0) return nullptr;

  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return nullptr;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return nullptr;
  }
  // Both are set after the error return point and read after a longjmp: volatile keeps them true.
  LICE_MemBitmap* volatile bitmap = nullptr;
  png_bytep* volatile rows = nullptr;
  MemorySource source = {bytes, length};
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    delete bitmap;
    std::free(rows);
    return nullptr;
  }
  png_set_read_fn(png, &source, ReadFromMemory);
  png_read_info(png, info);
  RequestArgb(png, info);

  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  // libpng caps each side well below 2^31, so both fit an int.
  bitmap = new (std::nothrow) LICE_MemBitmap(static_cast<int>(width), static_cast<int>(height));
  if (!bitmap || bitmap->Width() != static_cast<int>(width) || bitmap->Height() != static_cast<int>(height)) {
    png_longjmp(png, 1);
  }
  rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
  if (!rows) png_longjmp(png, 1);
  for (png_uint_32 i = 0; i < height; ++i) {
    rows[i] = reinterpret_cast<png_bytep>(bitmap->Pixels() + static_cast<std::size_t>(i) * bitmap->RowSpan());
  }
  png_read_image(png, rows);
  png_destroy_read_struct(&png, &info, nullptr);

  LICE_MemBitmap* decoded = bitmap;
  ArgbBytesToPixels(*decoded);
  std::free(rows);
  return decoded;
}
