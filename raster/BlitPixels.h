#pragma once
// The blit's own per-pixel formulas for a destination pixel D and a source pixel S of alpha A,
// at an integer weight w out of 256. These are the definition; the row loops in BlitRows.cpp
// compute the same values several pixels at a time.

#include "raster/PixelOps.h"

namespace BlitPixels {

inline int Toward(int d, int s, int keep) { return s + (d - s) * keep / 256; }

inline LicePixel Keep(LicePixel dst, LicePixel src, int keep, int alpha) {
  const PixelOps::Colour d = PixelOps::Split(dst), s = PixelOps::Split(src);
  return PixelOps::Pack(Toward(d.b, s.b, keep), Toward(d.g, s.g, keep), Toward(d.r, s.r, keep), alpha);
}

// Source alpha at full weight: A = 255 replaces, A = 0 keeps, anything between mixes the colour by
// (255 - A) / 256 and raises the destination alpha by A.
inline LicePixel OverFull(LicePixel dst, LicePixel src) {
  const int a = LicePixelAlpha(src);
  if (a == 0) return dst;
  if (a == 255) return src;
  const int da = LicePixelAlpha(dst);
  return Keep(dst, src, 255 - a, da + a > 255 ? 255 : da + a);
}

inline LicePixel OverWeighted(LicePixel dst, LicePixel src, int w) {
  const int a = LicePixelAlpha(src);
  if (a == 0) return dst;
  const int p = w * (a + 1) / 256;
  const int da = LicePixelAlpha(dst);
  return Keep(dst, src, 256 - p, da + p > 255 ? 255 : da + p);
}

inline LicePixel AddWithAlpha(LicePixel dst, LicePixel src, int w) {
  const int a = LicePixelAlpha(src);
  if (a == 0) return dst;
  const PixelOps::Colour d = PixelOps::Split(dst), s = PixelOps::Split(src);
  const int n = w * (a + 1) / 256;
  using PixelOps::Clamp;
  return PixelOps::Pack(Clamp(d.b + n * s.b / 256), Clamp(d.g + n * s.g / 256), Clamp(d.r + n * s.r / 256),
                        Clamp(d.a + a * n / 256));
}

inline LicePixel DodgeWithAlpha(LicePixel dst, LicePixel src, int w) {
  const PixelOps::Colour d = PixelOps::Split(dst), s = PixelOps::Split(src);
  const int e = w * (s.a + 1) / 256;
  using PixelOps::Dodge;
  return PixelOps::Pack(Dodge(d.b, s.b, e), Dodge(d.g, s.g, e), Dodge(d.r, s.r, e), Dodge(d.a, s.a, e));
}

}  // namespace BlitPixels
