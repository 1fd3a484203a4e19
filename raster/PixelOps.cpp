#include "raster/PixelOps.h"

namespace PixelOps {
namespace {

// T[x] = 65536 / x - 1 (T[0] = 0): reciprocals in 16-bit fixed point for the hue and saturation.
struct Reciprocals {
  int t[256];
  constexpr Reciprocals() : t() {
    for (int x = 1; x < 256; ++x) t[x] = 65536 / x - 1;
  }
};
constexpr Reciprocals kRecip;

int Ramp(int t, int s, int v) { return (((t * s + 16384) * v) / 16384) & 0xFF; }

}  // namespace

// Hue on a circle of 384 steps (64 per sixth), saturation and value 0..255.
LicePixel HsvAdjust(LicePixel dst, const Colour& k, int w) {
  const int b = LicePixelBlue(dst), g = LicePixelGreen(dst), r = LicePixelRed(dst);
  int v, low, hue;
  if (b >= r && b >= g) {
    v = b;
    low = r < g ? r : g;
    hue = 256 + (r - g) * (kRecip.t[v - low] + 1) / 1024;
  } else if (g > r) {
    v = g;
    low = r < b ? r : b;
    hue = 128 + (b - r) * (kRecip.t[v - low] + 1) / 1024;
  } else {
    v = r;
    low = g < b ? g : b;
    hue = (g < b ? 383 : 0) + (g - b) * (kRecip.t[v - low] + 1) / 1024;
  }
  const int delta = v - low;
  hue += ((k.r / 2) - 192 + k.r) * w / 256;
  if (hue < 0) {
    hue += 384;
  } else if (hue >= 384) {
    hue -= 384;
  }
  const int sat = Clamp(kRecip.t[v] * delta / 256 + (k.g - 128) * w / 128);
  const int val = Clamp(v + (k.b - 128) * w / 128);

  const int p = (((256 - sat) * val) / 256) & 0xFF;
  int outR, outG, outB;
  if (hue < 64) {
    outR = val, outG = Ramp(hue - 64, sat, val), outB = p;
  } else if (hue < 128) {
    outR = Ramp(64 - hue, sat, val), outG = val, outB = p;
  } else if (hue < 192) {
    outR = p, outG = val, outB = Ramp(hue - 192, sat, val);
  } else if (hue < 256) {
    outR = p, outG = Ramp(192 - hue, sat, val), outB = val;
  } else if (hue < 320) {
    outR = Ramp(hue - 320, sat, val), outG = p, outB = val;
  } else {
    outR = val, outG = p, outB = Ramp(320 - hue, sat, val);
  }
  return Pack(outB, outG, outR, k.a);
}

}  // namespace PixelOps
