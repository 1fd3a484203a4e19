#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include "raster/Font.h"
#include "raster/Raster.h"
#include "raster/Utf8.h"

std::atomic<int> LICE_CachedFont::sLiveCount{0};

namespace {

// Glyphs of every font are rendered on this one bitmap (user-interface thread only); it lives while
// any font does.
LICE_SysBitmap* gCanvas = nullptr;

LICE_SysBitmap& Canvas(int side) {
  if (!gCanvas) gCanvas = new LICE_SysBitmap(0, 0);
  if (gCanvas->Width() < side || gCanvas->Height() < side) {
    gCanvas->Resize(std::max(gCanvas->Width(), side), std::max(gCanvas->Height(), side));
  }
  NativeText::PrepareCanvas(*gCanvas);
  return *gCanvas;
}

constexpr int kMaxGlyphLineHeight = 1023;
constexpr int kMaxGlyphPathLineHeight = 255;
constexpr int kMonoThreshold = 130;
constexpr unsigned char kFull = 255;
constexpr unsigned char kEffect = 128;
constexpr int kAnyMono = kFontMono | kFontMonoShadow | kFontMonoOutline;
constexpr int kGlyphOnlyFlags =
    kFontRotate | kFontRotateUpward | kFontFixedAscii | kFontSoften | kFontInvert | kAnyMono;
constexpr int kAlignFlags = kTextCentre | kTextRight | kTextVCentre | kTextBottom;

bool Intersect(const LiceRect& a, const LiceRect& b, LiceRect* out) {
  *out = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
  return out->left < out->right && out->top < out->bottom;
}

// Walks a string's characters as the text routines see them: carriage returns vanish, and a line
// feed is a space on a single line or the start of the next line otherwise.
template <typename GlyphFn, typename LineFn>
void WalkText(const char* text, int length, bool singleLine, GlyphFn glyph, LineFn newLine) {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  const unsigned char* end = p + length;
  while (p < end) {
    unsigned int code = Utf8::Next(&p, end);
    if (code == '\r') continue;
    if (code == '\n') {
      if (!singleLine) {
        newLine();
        continue;
      }
      code = ' ';
    }
    glyph(code);
  }
}

}  // namespace

LICE_CachedFont::LICE_CachedFont() { sLiveCount.fetch_add(1, std::memory_order_relaxed); }

LICE_CachedFont::~LICE_CachedFont() {
  if ((mFlags & kFontOwnsNative) && mNativeFont) NativeText::CloseFont(mNativeFont);
  if (sLiveCount.fetch_sub(1, std::memory_order_relaxed) == 1) {
    delete gCanvas;
    gCanvas = nullptr;
    NativeText::ReleaseScratch();
  }
}

void LICE_CachedFont::SetNativeFont(NativeText::Font font, int flags) {
  if ((mFlags & kFontOwnsNative) && mNativeFont && mNativeFont != font) NativeText::CloseFont(mNativeFont);
  mFlags = flags;
  mNativeFont = font;
  if (font) mLineHeight = NativeText::LineHeight(font, Canvas(256));
  std::memset(mAscii, 0, sizeof mAscii);
  mOthers.clear();
  mMasks.clear();
  if (font && (flags & kFontFixedAscii)) {
    for (unsigned int c = 0; c < 128; ++c) RecordFor(c);
  }
}

LicePixel LICE_CachedFont::SetTextColour(LicePixel colour) { return std::exchange(mTextColour, colour); }
LicePixel LICE_CachedFont::SetBackgroundColour(LicePixel colour) {
  return std::exchange(mBackgroundColour, colour);
}
LicePixel LICE_CachedFont::SetEffectColour(LicePixel colour) { return std::exchange(mEffectColour, colour); }
int LICE_CachedFont::SetBackgroundMode(int mode) { return std::exchange(mBackgroundMode, mode); }

void LICE_CachedFont::SetCombineMode(int mode, float alpha) {
  mCombineMode = mode;
  mCombineAlpha = alpha;
}

GlyphRecord* LICE_CachedFont::RecordFor(unsigned int code) {
  if (!mNativeFont || mLineHeight > kMaxGlyphLineHeight) return nullptr;
  GlyphRecord* record;
  if (code < 128) {
    record = &mAscii[code];
  } else {
    const int key = static_cast<int>(code);
    auto at = std::lower_bound(mOthers.begin(), mOthers.end(), key,
                               [](const GlyphRecord& r, int c) { return r.code < c; });
    if (at != mOthers.end() && at->code == key) {
      record = &*at;
    } else {
      if (mFlags & kFontFixedAscii) return nullptr;
      record = &*mOthers.insert(at, GlyphRecord{0, 0, 0, 0, key});
    }
  }
  if (record->maskPosition == 0) RenderGlyph(*record, code);
  return record;
}

const GlyphRecord* LICE_CachedFont::FindGlyph(unsigned int code) {
  const GlyphRecord* record = RecordFor(code);
  return record && record->maskPosition > 0 ? record : nullptr;
}

void LICE_CachedFont::RenderGlyph(GlyphRecord& record, unsigned int code) {
  const int lineHeight = mLineHeight;
  LICE_SysBitmap& canvas = Canvas(2 * std::max(lineHeight, 1) + 8);
  int width = 0, height = 0;
  NativeText::MeasureChar(mNativeFont, canvas, code, &width, &height);
  // Room to the right for overhangs (italics, wide serifs).
  int box = width + (lineHeight >= 16 ? lineHeight / 16 : 0) + 2;
  width = std::min(width, canvas.Width());
  box = std::min(box, canvas.Width());
  height = std::min(height, canvas.Height());
  if (width < 1 || height < 1) {
    record = {-1, 0, 0, 0, record.code};
    return;
  }
  FillRectangle(&canvas, 0, 0, box, height, 0xFF000000, 1.0f, BlitCopy);
  NativeText::DrawChar(mNativeFont, canvas, code);
  record.advance = width;
  if (mFlags & kFontSoften) SmoothBitmap(&canvas, box, height);
  if (!StoreMask(record, width, box, height)) {
    record = {-1, 0, 0, 0, record.code};
    return;
  }
  if (mFlags & kFontRotate) RotateMask(record);
  if (mFlags & kAnyMono) ApplyMonochrome(record);
}

// Copies the rendered box into the mask store, one byte of coverage per pixel, keeping columns
// past the glyph's width only as far as some row still has coverage there.
bool LICE_CachedFont::StoreMask(GlyphRecord& record, int glyphWidth, int boxWidth, int boxHeight) {
  const std::size_t position = mMasks.size();
  const std::size_t boxBytes = static_cast<std::size_t>(boxWidth) * boxHeight;
  if (position + boxBytes >= static_cast<std::size_t>(INT_MAX)) return false;
  mMasks.resize(position + boxBytes);
  unsigned char* mask = mMasks.data() + position;
  const bool invert = (mFlags & kFontInvert) != 0;
  int lastCovered = -1;
  for (int y = 0; y < boxHeight; ++y) {
    const LicePixel* row = RowPointer(*gCanvas, y);
    unsigned char* out = mask + static_cast<std::size_t>(y) * boxWidth;
    for (int x = 0; x < boxWidth; ++x) {
      const int red = LicePixelRed(row[x]);
      out[x] = static_cast<unsigned char>(invert ? 255 - red : red);
      if (out[x] && x >= glyphWidth && x > lastCovered) lastCovered = x;
    }
  }
  const int stored = std::max(glyphWidth, lastCovered + 1);
  for (int y = 1; y < boxHeight; ++y) {
    std::memmove(mask + static_cast<std::size_t>(y) * stored, mask + static_cast<std::size_t>(y) * boxWidth,
                 stored);
  }
  mMasks.resize(position + static_cast<std::size_t>(stored) * boxHeight);
  record.maskPosition = static_cast<int>(position) + 1;
  record.width = stored;
  record.height = boxHeight;
  return true;
}

// Turns the mask a quarter: clockwise for text that reads downwards, the other way upwards.
void LICE_CachedFont::RotateMask(GlyphRecord& record) {
  const int w = record.width, h = record.height;
  unsigned char* mask = mMasks.data() + record.maskPosition - 1;
  const std::vector<unsigned char> old(mask, mask + static_cast<std::size_t>(w) * h);
  const bool upward = (mFlags & kFontRotateUpward) != 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int nx = upward ? y : h - 1 - y;
      const int ny = upward ? w - 1 - x : x;
      mask[static_cast<std::size_t>(ny) * h + nx] = old[static_cast<std::size_t>(y) * w + x];
    }
  }
  record.width = h;
  record.height = w;
}

void LICE_CachedFont::ApplyMonochrome(GlyphRecord& record) {
  const int w = record.width, h = record.height;
  unsigned char* mask = mMasks.data() + record.maskPosition - 1;
  const std::size_t count = static_cast<std::size_t>(w) * h;
  for (std::size_t i = 0; i < count; ++i) mask[i] = mask[i] > kMonoThreshold ? kFull : 0;
  if (!(mFlags & (kFontMonoShadow | kFontMonoOutline))) return;
  auto full = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && mask[y * w + x] == kFull; };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (mask[y * w + x]) continue;
      const bool shadow =
          (mFlags & kFontMonoShadow) && (full(x - 1, y) || full(x - 1, y - 1) || full(x, y - 1));
      const bool outline = (mFlags & kFontMonoOutline) &&
                           (full(x - 1, y) || full(x + 1, y) || full(x, y - 1) || full(x, y + 1));
      if (shadow || outline) mask[y * w + x] = kEffect;
    }
  }
}

bool LICE_CachedFont::UsesNativePath(int flags, bool internal) const {
  if (!NativeText::HasStringDrawing()) return false;
  const bool prefer = (mFlags & kFontPreferNative) && mNativeFont && !internal &&
                      !NativeText::RunningUnderWine() && !(flags & kTextColourAlpha) &&
                      !(mFlags & kGlyphOnlyFlags) && (mExtraLineSpacing == 0 || (flags & kTextSingleLine));
  return prefer || mLineHeight > kMaxGlyphPathLineHeight;
}

LICE_CachedFont::Extent LICE_CachedFont::Measure(const char* text, int length, int flags) {
  const bool rotated = (mFlags & kFontRotate) != 0;
  int pen = 0, line = 0, along = 0, across = 0;
  WalkText(
      text, length, (flags & kTextSingleLine) != 0,
      [&](unsigned int code) {
        const GlyphRecord* glyph = FindGlyph(code);
        if (!glyph) return;
        pen += rotated ? glyph->height : glyph->advance;
        along = std::max(along, pen);
        across = std::max(across, line + (rotated ? glyph->width : glyph->height));
      },
      [&] {
        pen = 0;
        line += mLineHeight + mExtraLineSpacing;
      });
  return rotated ? Extent{across, along} : Extent{along, across};
}

int LICE_CachedFont::DrawString(LICE_IBitmap* bitmap, const char* text, int length, LiceRect* rect,
                                int flags) {
  if (!text || (!bitmap && !(flags & kTextMeasure))) return 0;
  const bool internal = flags < 0;
  flags &= ~kTextInternal;
  if (length < 0) length = static_cast<int>(std::strlen(text));

  if (UsesNativePath(flags, internal)) {
    const NativeText::StringRequest request = {
        mNativeFont,       bitmap,          text,         length, rect, flags, mTextColour,
        mBackgroundColour, mBackgroundMode, mCombineAlpha};
    return NativeText::DrawString(request);
  }
  if (flags & kTextMeasure) {
    const Extent extent = Measure(text, length, flags);
    if (rect) {
      rect->right = rect->left + extent.width;
      rect->bottom = rect->top + extent.height;
    }
    return (mFlags & kFontRotate) ? extent.width : extent.height;
  }
  return DrawGlyphs(bitmap, text, length, rect, flags);
}

int LICE_CachedFont::DrawGlyphs(LICE_IBitmap* bitmap, const char* text, int length, LiceRect* rect,
                                int flags) {
  float alpha = mCombineAlpha;
  if (flags & kTextColourAlpha) alpha *= static_cast<float>(LicePixelAlpha(mTextColour)) / 255.0f;
  if (alpha == 0.0f) return 0;

  const LiceRect whole = {0, 0, bitmap->Width(), bitmap->Height()};
  const LiceRect area = rect ? *rect : whole;
  int x = area.left, y = area.top;
  if (flags & kAlignFlags) {
    const Extent extent = Measure(text, length, flags);
    if (flags & kTextCentre) {
      x += (area.right - area.left - extent.width) / 2;
    } else if (flags & kTextRight) {
      x = area.right - extent.width;
    }
    if (flags & kTextVCentre) {
      y += (area.bottom - area.top - extent.height) / 2;
    } else if (flags & kTextBottom) {
      y = area.bottom - extent.height;
    }
  }
  LiceRect clip = whole;
  if (!(flags & kTextNoClip) && !Intersect(area, whole, &clip)) return 0;
  if (clip.left >= clip.right || clip.top >= clip.bottom) return 0;

  const float savedAlpha = mCombineAlpha;
  mCombineAlpha = alpha;
  const bool rotated = (mFlags & kFontRotate) != 0;
  int penX = x, penY = y, across = 0;
  WalkText(
      text, length, (flags & kTextSingleLine) != 0,
      [&](unsigned int code) {
        const GlyphRecord* glyph = FindGlyph(code);
        if (!glyph) return;
        DrawGlyph(bitmap, code, penX, penY, clip);
        if (rotated) {
          penY += glyph->height;
          across = std::max(across, penX - x + glyph->width);
        } else {
          penX += glyph->advance;
          across = std::max(across, penY - y + glyph->height);
        }
      },
      [&] {
        if (rotated) {
          penY = y;
          penX += mLineHeight + mExtraLineSpacing;
        } else {
          penX = x;
          penY += mLineHeight + mExtraLineSpacing;
        }
      });
  mCombineAlpha = savedAlpha;
  return across;
}

bool LICE_CachedFont::DrawGlyph(LICE_IBitmap* bitmap, unsigned int code, int x, int y, const LiceRect& clip) {
  if (!bitmap || !bitmap->Pixels()) return false;
  const GlyphRecord* glyph = FindGlyph(code);
  if (!glyph) return false;
  const LiceRect box = {x, y, x + glyph->width, y + glyph->height};
  const LiceRect whole = {0, 0, bitmap->Width(), bitmap->Height()};
  LiceRect inClip, visible;
  if (!Intersect(box, clip, &inClip) || !Intersect(inClip, whole, &visible)) return false;
  if (mBackgroundMode == kBackgroundOpaque) {
    FillRectangle(bitmap, visible.left, visible.top, visible.right - visible.left,
                  visible.bottom - visible.top, mBackgroundColour, mCombineAlpha, mCombineMode);
  }
  CompositeMask(*bitmap, *glyph, x, y, visible);
  return true;
}

// Paints a glyph's mask within `visible` (a part of the mask placed at x, y).
void LICE_CachedFont::CompositeMask(LICE_IBitmap& bitmap, const GlyphRecord& glyph, int x, int y,
                                    const LiceRect& visible) {
  const int op = mCombineMode & BlitModeMask;
  const float alpha = mCombineAlpha;
  const int alpha256 = PixelOps::WeightToInt(alpha);
  const int fullWeight = std::min(alpha256, 256);
  const bool plainStore = alpha == 1.0f && op == BlitCopy;
  const bool withEffect = (mFlags & (kFontMonoShadow | kFontMonoOutline)) != 0;
  const bool mono = (mFlags & kAnyMono) != 0;
  const PixelOps::Colour text = PixelOps::Split(mTextColour), effect = PixelOps::Split(mEffectColour);
  auto paint = [&](LicePixel& d, LicePixel colour, const PixelOps::Colour& k) {
    d = plainStore ? colour : PixelOps::Apply(op, d, k, fullWeight);
  };

  const unsigned char* mask = mMasks.data() + glyph.maskPosition - 1;
  LicePixel* row = RowPointer(bitmap, visible.top);
  const std::intptr_t stride = RowStride(bitmap);
  for (int py = visible.top; py < visible.bottom; ++py, row += stride) {
    const unsigned char* coverage = mask + static_cast<std::size_t>(py - y) * glyph.width;
    for (int px = visible.left; px < visible.right; ++px) {
      const int c = coverage[px - x];
      if (!c) continue;
      if (withEffect) {
        if (c == kFull) {
          paint(row[px], mTextColour, text);
        } else if (c == kEffect) {
          paint(row[px], mEffectColour, effect);
        }
      } else if (mono) {
        paint(row[px], mTextColour, text);
      } else {
        const int weight = alpha == 1.0f ? c + 1 : std::min(alpha256 * c / 256, 256);
        row[px] = PixelOps::Apply(op, row[px], text, weight);
      }
    }
  }
}
