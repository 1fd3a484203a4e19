#pragma once
// Fonts that draw UTF-8 text into raster bitmaps: the interface the editor draws through, and the
// font that keeps a coverage mask per rendered glyph and composites text from them itself (or
// hands whole strings to the window system where that looks the same).

#include <atomic>
#include <vector>

#include "raster/Bitmap.h"
#include "raster/NativeText.h"

// Font flags.
enum : int {
  kFontRotate = 0x1,          // vertical text
  kFontRotateUpward = 0x2,    // with kFontRotate: reads bottom to top
  kFontFixedAscii = 0x4,      // renders 0..127 up front and never adds other characters
  kFontSoften = 0x10,         // smooths every rendered glyph
  kFontInvert = 0x20,         // inverts coverage
  kFontMono = 0x40,           // coverage above 130 is full, the rest empty
  kFontMonoShadow = 0x80,     // monochrome with a one-pixel shadow to the lower right
  kFontMonoOutline = 0x100,   // monochrome with a one-pixel outline
  kFontOwnsNative = 0x200,    // the native font is deleted with this font
  kFontPreferNative = 0x400,  // draws through the window system where it can
};

// Drawing flags: the window system's DrawText values plus two of our own.
enum : int {
  kTextCentre = 0x1,
  kTextRight = 0x2,
  kTextVCentre = 0x4,
  kTextBottom = 0x8,
  kTextSingleLine = 0x20,
  kTextNoClip = 0x100,
  kTextMeasure = 0x400,
  kTextNoPrefix = 0x800,
  kTextColourAlpha = 0x40000000,  // weighs the text by the alpha of its colour
};
constexpr int kTextInternal = static_cast<int>(0x80000000u);  // never takes the native path

enum : int { kBackgroundTransparent = 1, kBackgroundOpaque = 2 };

// Keep the order of the virtual operations: it is part of the interface.
class LICE_IFont {
public:
  virtual ~LICE_IFont() = default;
  virtual void SetNativeFont(NativeText::Font font, int flags) = 0;
  virtual LicePixel SetTextColour(LicePixel colour) = 0;
  virtual LicePixel SetBackgroundColour(LicePixel colour) = 0;
  virtual LicePixel SetEffectColour(LicePixel colour) = 0;
  virtual int SetBackgroundMode(int mode) = 0;
  virtual void SetCombineMode(int mode, float alpha) = 0;
  // Draws (or with kTextMeasure measures into `rect`) `length` bytes of UTF-8, all of it when
  // negative; returns the height drawn (the width for vertical text).
  virtual int DrawString(LICE_IBitmap* bitmap, const char* text, int length, LiceRect* rect, int flags) = 0;
  virtual LicePixel TextColour() = 0;
  virtual NativeText::Font NativeFont() = 0;
  virtual int LineHeight() = 0;
};

// One character's coverage mask in the font's mask store.
struct GlyphRecord {
  int maskPosition;  // offset into the mask store + 1; 0 not rendered yet; -1 renders as nothing
  int width;
  int height;
  int advance;
  int code;  // used only in the sorted array of non-ASCII glyphs
};

class LICE_CachedFont : public LICE_IFont {
public:
  LICE_CachedFont();
  ~LICE_CachedFont() override;
  LICE_CachedFont(const LICE_CachedFont&) = delete;
  LICE_CachedFont& operator=(const LICE_CachedFont&) = delete;

  void SetNativeFont(NativeText::Font font, int flags) override;
  LicePixel SetTextColour(LicePixel colour) override;
  LicePixel SetBackgroundColour(LicePixel colour) override;
  LicePixel SetEffectColour(LicePixel colour) override;
  int SetBackgroundMode(int mode) override;
  void SetCombineMode(int mode, float alpha) override;
  int DrawString(LICE_IBitmap* bitmap, const char* text, int length, LiceRect* rect, int flags) override;
  LicePixel TextColour() override { return mTextColour; }
  NativeText::Font NativeFont() override { return mNativeFont; }
  int LineHeight() override { return mLineHeight; }
  // Draws one glyph with its mask's top-left corner at (x, y), inside `clip`; false when nothing of
  // it is visible.
  virtual bool DrawGlyph(LICE_IBitmap* bitmap, unsigned int code, int x, int y, const LiceRect& clip);

  void SetExtraLineSpacing(int pixels) { mExtraLineSpacing = pixels; }
  int Flags() const { return mFlags; }

  // Fonts alive in the process; the shared render bitmaps go with the last one.
  static int LiveCount() { return sLiveCount.load(std::memory_order_relaxed); }

private:
  struct Extent {
    int width;
    int height;
  };

  const GlyphRecord* FindGlyph(unsigned int code);
  GlyphRecord* RecordFor(unsigned int code);
  void RenderGlyph(GlyphRecord& record, unsigned int code);
  bool StoreMask(GlyphRecord& record, int glyphWidth, int boxWidth, int boxHeight);
  void RotateMask(GlyphRecord& record);
  void ApplyMonochrome(GlyphRecord& record);
  bool UsesNativePath(int flags, bool internal) const;
  Extent Measure(const char* text, int length, int flags);
  int DrawGlyphs(LICE_IBitmap* bitmap, const char* text, int length, LiceRect* rect, int flags);
  void CompositeMask(LICE_IBitmap& bitmap, const GlyphRecord& record, int x, int y, const LiceRect& visible);

  LicePixel mTextColour = 0;
  LicePixel mBackgroundColour = 0xFFFFFFFF;
  LicePixel mEffectColour = 0xFFFFFFFF;
  int mBackgroundMode = kBackgroundTransparent;
  int mCombineMode = 0;
  float mCombineAlpha = 1.0f;
  int mFlags = 0;
  int mLineHeight = 0;
  int mExtraLineSpacing = 0;
  GlyphRecord mAscii[128] = {};
  std::vector<GlyphRecord> mOthers;
  std::vector<unsigned char> mMasks;
  NativeText::Font mNativeFont = nullptr;

  static std::atomic<int> sLiveCount;
};
