#include <cstring>

#include "raster/Raster.h"

namespace {

using PixelOps::Clamp;
using PixelOps::Colour;
using PixelOps::Dodge;
using PixelOps::Pack;
using PixelOps::Split;

constexpr LicePixel kHalfMask = 0x7F7F7F7F;

// The region a blit touches, after clipping: `width` x `height` pixels from source (sx, sy) to
// destination (dx, dy).
struct BlitRegion {
  int sx, sy, dx, dy, width, height;
};

// Clips in 64-bit so that extreme rectangles cannot overflow; the outcome is the plain int rule.
bool ClipBlit(LICE_IBitmap& dest, LICE_IBitmap& source, long long x, long long y, const LiceRect* rect,
              BlitRegion* region) {
  long long left = 0, top = 0, right = source.Width(), bottom = source.Height();
  if (rect) {
    left = rect->left;
    top = rect->top;
    if (rect->right < right) right = rect->right;
    if (rect->bottom < bottom) bottom = rect->bottom;
    if (left < 0) x -= left, left = 0;
    if (top < 0) y -= top, top = 0;
  }
  if (x < 0) left -= x, x = 0;
  if (y < 0) top -= y, y = 0;
  if (left >= right || top >= bottom || x >= dest.Width() || y >= dest.Height()) return false;
  const long long width = (right < left + dest.Width() - x ? right : left + dest.Width() - x) - left;
  const long long height = (bottom < top + dest.Height() - y ? bottom : top + dest.Height() - y) - top;
  if (width <= 0 || height <= 0 || !dest.Pixels() || !source.Pixels()) return false;
  *region = {static_cast<int>(left), static_cast<int>(top),   static_cast<int>(x),
             static_cast<int>(y),    static_cast<int>(width), static_cast<int>(height)};
  return true;
}

// Runs `pixel(dst, src)` over every pixel pair of the region, rows from the top.
template <typename PixelFn>
void EachPair(LICE_IBitmap& dest, LICE_IBitmap& source, const BlitRegion& r, PixelFn pixel) {
  LicePixel* dstRow = RowPointer(dest, r.dy) + r.dx;
  const LicePixel* srcRow = RowPointer(source, r.sy) + r.sx;
  const std::intptr_t dstStride = RowStride(dest), srcStride = RowStride(source);
  for (int row = 0; row < r.height; ++row, dstRow += dstStride, srcRow += srcStride) {
    for (int i = 0; i < r.width; ++i) dstRow[i] = pixel(dstRow[i], srcRow[i]);
  }
}

void CopyRows(LICE_IBitmap& dest, LICE_IBitmap& source, const BlitRegion& r) {
  LicePixel* dstRow = RowPointer(dest, r.dy) + r.dx;
  const LicePixel* srcRow = RowPointer(source, r.sy) + r.sx;
  const std::intptr_t dstStride = RowStride(dest), srcStride = RowStride(source);
  const std::size_t bytes = static_cast<std::size_t>(r.width) * sizeof(LicePixel);
  // memmove: a bitmap may be blitted onto itself.
  for (int row = 0; row < r.height; ++row, dstRow += dstStride, srcRow += srcStride) {
    std::memmove(dstRow, srcRow, bytes);
  }
}

inline int Toward(int d, int s, int keep) { return s + (d - s) * keep / 256; }

inline LicePixel TowardAll(LicePixel dst, LicePixel src, int keep) {
  const Colour d = Split(dst), s = Split(src);
  return Pack(Toward(d.b, s.b, keep), Toward(d.g, s.g, keep), Toward(d.r, s.r, keep), Toward(d.a, s.a, keep));
}

void CopyBlit(LICE_IBitmap& dest, LICE_IBitmap& source, const BlitRegion& r, float weight, int w) {
  if (weight == 1.0f) {
    CopyRows(dest, source, r);
  } else if (weight == 0.5f) {
    EachPair(dest, source, r,
             [](LicePixel d, LicePixel s) { return ((d >> 1) & kHalfMask) + ((s >> 1) & kHalfMask); });
  } else if (w > 0) {
    const int keep = 256 - w;
    EachPair(dest, source, r, [keep](LicePixel d, LicePixel s) { return TowardAll(d, s, keep); });
  }
}

// Source alpha A at full weight: A = 255 replaces, A = 0 keeps, anything between mixes the colour by
// (255 - A) / 256 and raises the destination alpha by A.
inline LicePixel OverFull(LicePixel dst, LicePixel src) {
  const int a = LicePixelAlpha(src);
  if (a == 0) return dst;
  if (a == 255) return src;
  const Colour d = Split(dst), s = Split(src);
  const int keep = 255 - a;
  const int alpha = d.a + a > 255 ? 255 : d.a + a;
  return Pack(Toward(d.b, s.b, keep), Toward(d.g, s.g, keep), Toward(d.r, s.r, keep), alpha);
}

inline LicePixel OverWeighted(LicePixel dst, LicePixel src, int w) {
  const int a = LicePixelAlpha(src);
  if (a == 0) return dst;
  const Colour d = Split(dst), s = Split(src);
  const int p = w * (a + 1) / 256;
  const int keep = 256 - p;
  const int alpha = d.a + p > 255 ? 255 : d.a + p;
  return Pack(Toward(d.b, s.b, keep), Toward(d.g, s.g, keep), Toward(d.r, s.r, keep), alpha);
}

inline LicePixel AddWithAlpha(LicePixel dst, LicePixel src, int w) {
  const int a = LicePixelAlpha(src);
  if (a == 0) return dst;
  const Colour d = Split(dst), s = Split(src);
  const int n = w * (a + 1) / 256;
  return Pack(Clamp(d.b + n * s.b / 256), Clamp(d.g + n * s.g / 256), Clamp(d.r + n * s.r / 256),
              Clamp(d.a + a * n / 256));
}

inline LicePixel DodgeWithAlpha(LicePixel dst, LicePixel src, int w) {
  const Colour d = Split(dst), s = Split(src);
  const int e = w * (s.a + 1) / 256;
  return Pack(Dodge(d.b, s.b, e), Dodge(d.g, s.g, e), Dodge(d.r, s.r, e), Dodge(d.a, s.a, e));
}

void BlitWithAlpha(int op, LICE_IBitmap& dest, LICE_IBitmap& source, const BlitRegion& r, int w) {
  switch (op) {
    case BlitCopy:
      if (w == 256) {
        EachPair(dest, source, r, OverFull);
      } else {
        EachPair(dest, source, r, [w](LicePixel d, LicePixel s) { return OverWeighted(d, s, w); });
      }
      return;
    case BlitAdd:
      EachPair(dest, source, r, [w](LicePixel d, LicePixel s) { return AddWithAlpha(d, s, w); });
      return;
    case BlitDodge:
      EachPair(dest, source, r, [w](LicePixel d, LicePixel s) { return DodgeWithAlpha(d, s, w); });
      return;
    default:
      // Multiply leaves fully transparent source pixels alone; overlay and hue still apply at the
      // small weight an alpha of 0 gives.
      EachPair(dest, source, r, [op, w](LicePixel d, LicePixel s) {
        const int a = LicePixelAlpha(s);
        if (op == BlitMultiply && a == 0) return d;
        return PixelOps::Apply(op, d, Split(s), w * (a + 1) / 256);
      });
      return;
  }
}

}  // namespace

void BlitBitmap(LICE_IBitmap* dest, LICE_IBitmap* source, int x, int y, const LiceRect* sourceRect,
                float weight, int mode) {
  if (!dest || !source || weight == 0.0f) return;
  BlitRegion region;
  if (!ClipBlit(*dest, *source, x, y, sourceRect, &region)) return;
  const int op = mode & BlitModeMask;
  const int w = static_cast<int>(weight * 256);
  if (op == BlitCopy && !(mode & BlitUseAlpha)) {
    CopyBlit(*dest, *source, region, weight, w);
    return;
  }
  if (w == 0) return;
  if (mode & BlitUseAlpha) {
    BlitWithAlpha(op, *dest, *source, region, w);
  } else {
    EachPair(*dest, *source, region,
             [op, w](LicePixel d, LicePixel s) { return PixelOps::Apply(op, d, Split(s), w); });
  }
}
