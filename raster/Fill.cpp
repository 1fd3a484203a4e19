#include "raster/Raster.h"

namespace {

using PixelOps::Clamp;
using PixelOps::Colour;
using PixelOps::Dodge;
using PixelOps::Pack;
using PixelOps::Split;

constexpr LicePixel kHalfMask = 0x7F7F7F7F;
constexpr LicePixel kQuarterMask = 0x3F3F3F3F;

template <typename PixelFn>
void EachPixel(LICE_IBitmap& bitmap, int x, int y, int width, int height, PixelFn pixel) {
  LicePixel* row = RowPointer(bitmap, y) + x;
  const std::intptr_t stride = RowStride(bitmap);
  for (int j = 0; j < height; ++j, row += stride) {
    for (int i = 0; i < width; ++i) row[i] = pixel(row[i]);
  }
}

inline LicePixel Half(LicePixel p) { return (p >> 1) & kHalfMask; }
inline LicePixel Quarter(LicePixel p) { return (p >> 2) & kQuarterMask; }

// Copy: the common weights are exact per-byte shifts; any other pulls colour toward K and alpha
// toward the weight itself.
void FillCopy(LICE_IBitmap& bitmap, int x, int y, int width, int height, LicePixel colour, int w) {
  switch (w) {
    case 256: EachPixel(bitmap, x, y, width, height, [colour](LicePixel) { return colour; }); return;
    case 128: {
      const LicePixel k = Half(colour);
      EachPixel(bitmap, x, y, width, height, [k](LicePixel d) { return Half(d) + k; });
      return;
    }
    case 64: {
      const LicePixel k = Quarter(colour);
      EachPixel(bitmap, x, y, width, height, [k](LicePixel d) { return Half(d) + Quarter(d) + k; });
      return;
    }
    case 192: {
      const LicePixel k = Quarter(colour) + Half(colour);
      EachPixel(bitmap, x, y, width, height, [k](LicePixel d) { return Quarter(d) + k; });
      return;
    }
    default: break;
  }
  if (w < 1) return;
  const Colour k = Split(colour);
  const int keep = 256 - w;
  EachPixel(bitmap, x, y, width, height, [k, w, keep](LicePixel dst) {
    const Colour d = Split(dst);
    return Pack(k.b + (d.b - k.b) * keep / 256, k.g + (d.g - k.g) * keep / 256,
                k.r + (d.r - k.r) * keep / 256, w + (d.a - w) * keep / 256);
  });
}

}  // namespace

void FillRectangle(LICE_IBitmap* bitmap, int x, int y, int width, int height, LicePixel colour, float weight,
                   int mode) {
  if (!bitmap) return;
  if (mode & BlitUseAlpha) weight *= static_cast<float>(LicePixelAlpha(colour)) / 255.0f;
  if (weight == 0.0f || !bitmap->Pixels()) return;

  // 64-bit so that a far negative corner cannot overflow the shortened size.
  long long left = x, top = y, w = width, h = height;
  if (left < 0) w += left, left = 0;
  if (top < 0) h += top, top = 0;
  if (w < 1 || h < 1 || left >= bitmap->Width() || top >= bitmap->Height()) return;
  if (w > bitmap->Width() - left) w = bitmap->Width() - left;
  if (h > bitmap->Height() - top) h = bitmap->Height() - top;
  x = static_cast<int>(left), y = static_cast<int>(top), width = static_cast<int>(w),
  height = static_cast<int>(h);

  const int weight256 = PixelOps::WeightToInt(weight);
  const int op = mode & BlitModeMask;
  const Colour k = Split(colour);
  switch (op) {
    case BlitCopy: FillCopy(*bitmap, x, y, width, height, colour, weight256); return;
    case BlitAdd:
      EachPixel(*bitmap, x, y, width, height, [k, weight256](LicePixel dst) {
        const Colour d = Split(dst);
        return Pack(Clamp(d.b + k.b * weight256 / 256), Clamp(d.g + k.g * weight256 / 256),
                    Clamp(d.r + k.r * weight256 / 256), Clamp(d.a + weight256 * weight256 / 256));
      });
      return;
    case BlitDodge:
      EachPixel(*bitmap, x, y, width, height, [k, weight256](LicePixel dst) {
        const Colour d = Split(dst);
        return Pack(Dodge(d.b, k.b, weight256), Dodge(d.g, k.g, weight256), Dodge(d.r, k.r, weight256),
                    Dodge(d.a, weight256, weight256));
      });
      return;
    default: {
      // The weight stands in for the colour's alpha.
      const Colour kw = {k.b, k.g, k.r, weight256};
      EachPixel(*bitmap, x, y, width, height,
                [op, kw, weight256](LicePixel d) { return PixelOps::Apply(op, d, kw, weight256); });
      return;
    }
  }
}
