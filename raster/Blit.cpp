#include <cstring>

#include "raster/BlitPixels.h"
#include "raster/BlitRows.h"
#include "raster/Raster.h"

namespace {

using PixelOps::Colour;
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

// Runs `row(dst, src, width)` over every row of the region, from the top.
template <typename RowFn>
void EachRow(LICE_IBitmap& dest, LICE_IBitmap& source, const BlitRegion& r, RowFn row) {
  LicePixel* dstRow = RowPointer(dest, r.dy) + r.dx;
  const LicePixel* srcRow = RowPointer(source, r.sy) + r.sx;
  const std::intptr_t dstStride = RowStride(dest), srcStride = RowStride(source);
  for (int i = 0; i < r.height; ++i, dstRow += dstStride, srcRow += srcStride) row(dstRow, srcRow, r.width);
}

void CopyBlit(LICE_IBitmap& dest, LICE_IBitmap& source, const BlitRegion& r, float weight, int w) {
  if (weight == 1.0f) {
    CopyRows(dest, source, r);
  } else if (weight == 0.5f) {
    EachPair(dest, source, r,
             [](LicePixel d, LicePixel s) { return ((d >> 1) & kHalfMask) + ((s >> 1) & kHalfMask); });
  } else if (w > 0) {
    const int keep = 256 - w;
    EachPair(dest, source, r, [keep](LicePixel d, LicePixel s) {
      const Colour dc = Split(d), sc = Split(s);
      return Pack(BlitPixels::Toward(dc.b, sc.b, keep), BlitPixels::Toward(dc.g, sc.g, keep),
                  BlitPixels::Toward(dc.r, sc.r, keep), BlitPixels::Toward(dc.a, sc.a, keep));
    });
  }
}

void BlitWithAlpha(int op, LICE_IBitmap& dest, LICE_IBitmap& source, const BlitRegion& r, int w) {
  switch (op) {
    case BlitCopy:
      if (w == 256) {
        EachRow(dest, source, r, BlitRows::OverFull);
      } else if (w > 0 && w < 256) {
        EachRow(dest, source, r,
                [w](LicePixel* d, const LicePixel* s, int n) { BlitRows::OverWeighted(d, s, n, w); });
      } else {
        EachPair(dest, source, r,
                 [w](LicePixel d, LicePixel s) { return BlitPixels::OverWeighted(d, s, w); });
      }
      return;
    case BlitAdd:
      if (w > 0 && w <= 256) {
        EachRow(dest, source, r,
                [w](LicePixel* d, const LicePixel* s, int n) { BlitRows::AddWithAlpha(d, s, n, w); });
      } else {
        EachPair(dest, source, r,
                 [w](LicePixel d, LicePixel s) { return BlitPixels::AddWithAlpha(d, s, w); });
      }
      return;
    case BlitDodge:
      EachPair(dest, source, r,
               [w](LicePixel d, LicePixel s) { return BlitPixels::DodgeWithAlpha(d, s, w); });
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
  const int w = PixelOps::WeightToInt(weight);
  if (op == BlitCopy && !(mode & BlitUseAlpha)) {
    CopyBlit(*dest, *source, region, weight, w);
    return;
  }
  if (w == 0) return;
  if (mode & BlitUseAlpha) {
    BlitWithAlpha(op, *dest, *source, region, w);
  } else if (op == BlitAdd && w > 0 && w <= 256) {
    EachRow(*dest, *source, region,
            [w](LicePixel* d, const LicePixel* s, int n) { BlitRows::Add(d, s, n, w); });
  } else {
    EachPair(*dest, *source, region,
             [op, w](LicePixel d, LicePixel s) { return PixelOps::Apply(op, d, Split(s), w); });
  }
}
