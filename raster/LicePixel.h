#pragma once
// The one pixel format of the raster library: 0xAARRGGBB with straight (not premultiplied) alpha,
// laid out in memory as the bytes blue, green, red, alpha.

#include <cstdint>

using LicePixel = std::uint32_t;

constexpr LicePixel LicePixelFromChannels(int red, int green, int blue, int alpha) {
  return (static_cast<LicePixel>(alpha & 0xFF) << 24) | (static_cast<LicePixel>(red & 0xFF) << 16) |
         (static_cast<LicePixel>(green & 0xFF) << 8) | static_cast<LicePixel>(blue & 0xFF);
}
constexpr int LicePixelBlue(LicePixel p) { return static_cast<int>(p & 0xFF); }
constexpr int LicePixelGreen(LicePixel p) { return static_cast<int>((p >> 8) & 0xFF); }
constexpr int LicePixelRed(LicePixel p) { return static_cast<int>((p >> 16) & 0xFF); }
constexpr int LicePixelAlpha(LicePixel p) { return static_cast<int>(p >> 24); }

// A rectangle in bitmap pixels, right and bottom exclusive.
struct LiceRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};
