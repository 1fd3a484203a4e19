#pragma once
// The per-pixel operations the blits, fills and glyph drawing share: a destination pixel D is
// combined with a colour K at an integer weight w out of 256. All integer; divisions truncate
// toward zero, as C++'s do.

#include "raster/LicePixel.h"

enum LiceBlitMode : int {
  BlitCopy = 0,
  BlitAdd = 1,
  BlitDodge = 2,
  BlitMultiply = 3,
  BlitOverlay = 4,
  BlitHsvAdjust = 5,
  BlitModeMask = 0xFF,
  BlitUseAlpha = 0x10000,
};

namespace PixelOps {

// A colour to combine, channel by channel; alpha may carry a weight of up to 256 (fills do that).
struct Colour {
  int b;
  int g;
  int r;
  int a;
};

inline Colour Split(LicePixel p) {
  return {LicePixelBlue(p), LicePixelGreen(p), LicePixelRed(p), LicePixelAlpha(p)};
}

// trunc(weight x 256). Weights are meant to be 0..1; far larger ones (and NaN, as 0) are held to
// +-16 so that no formula can overflow an int.
inline int WeightToInt(float weight) {
  constexpr float kLimit = 4096.0f;
  const float scaled = weight * 256;
  if (!(scaled == scaled)) return 0;
  return static_cast<int>(scaled > kLimit ? kLimit : scaled < -kLimit ? -kLimit : scaled);
}

inline int Clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

// Brightens x by s at weight w; the guard keeps the divisor at 2 or more.
inline int Dodge(int x, int s, int w) {
  const int t = s * w / 256;
  return Clamp(t < 255 ? (x * 256) / (256 - t) : x * 256);
}

inline LicePixel Pack(int b, int g, int r, int a) {
  return static_cast<LicePixel>(b & 0xFF) | (static_cast<LicePixel>(g & 0xFF) << 8) |
         (static_cast<LicePixel>(r & 0xFF) << 16) | (static_cast<LicePixel>(a & 0xFF) << 24);
}

inline int Toward(int d, int k, int w) { return k + (d - k) * (256 - w) / 256; }
inline int Multiply(int d, int k, int w) { return ((k * w + (256 - w) * 256) * d) >> 16; }
inline int Overlay(int d, int k, int w) {
  const int m = (256 - w) * 128;
  return Clamp(((((32768 - k * w - m) * d) / 256) + k * w + m) * d >> 15);
}

LicePixel HsvAdjust(LicePixel d, const Colour& k, int w);

// Applies operation `op` (a mode's low byte). Operations this library does not know leave D alone.
inline LicePixel Apply(int op, LicePixel dst, const Colour& k, int w) {
  const Colour d = Split(dst);
  switch (op) {
    case BlitCopy:
      return Pack(Toward(d.b, k.b, w), Toward(d.g, k.g, w), Toward(d.r, k.r, w), Toward(d.a, k.a, w));
    case BlitAdd:
      return Pack(Clamp(d.b + k.b * w / 256), Clamp(d.g + k.g * w / 256), Clamp(d.r + k.r * w / 256),
                  Clamp(d.a + k.a * w / 256));
    case BlitDodge:
      return Pack(Dodge(d.b, k.b, w), Dodge(d.g, k.g, w), Dodge(d.r, k.r, w), Dodge(d.a, k.a, w));
    case BlitMultiply:
      return Pack(Multiply(d.b, k.b, w), Multiply(d.g, k.g, w), Multiply(d.r, k.r, w), Multiply(d.a, k.a, w));
    case BlitOverlay:
      return Pack(Overlay(d.b, k.b, w), Overlay(d.g, k.g, w), Overlay(d.r, k.r, w), Overlay(d.a, k.a, w));
    case BlitHsvAdjust: return HsvAdjust(dst, k, w);
    default: return dst;
  }
}

}  // namespace PixelOps
