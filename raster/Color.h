#pragma once
// A colour as the editor and its text styles give it: alpha, red, green, blue, each 0..255.

#include "raster/LicePixel.h"

struct Color {
  int alpha = 255;
  int red = 0;
  int green = 0;
  int blue = 0;
};

inline LicePixel ColorToPixel(const Color& c) {
  return LicePixelFromChannels(c.red, c.green, c.blue, c.alpha);
}
