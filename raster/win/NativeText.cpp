// GDI text for the fonts: fonts made with CreateFontA, glyphs measured and drawn with DrawTextW on
// the glyph canvas's DC, and whole strings drawn by DrawTextA/W when a font takes the native path.
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <vector>

#include "raster/Font.h"
#include "raster/NativeText.h"
#include "raster/Raster.h"
#include "raster/Utf8.h"

namespace {

// Scratch for native drawing into bitmaps without a DC; user-interface thread only.
LICE_SysBitmap* gScratch = nullptr;

HDC Dc(LICE_IBitmap& bitmap) { return static_cast<HDC>(bitmap.DeviceContext()); }
COLORREF Rgb(LicePixel p) { return RGB(LicePixelRed(p), LicePixelGreen(p), LicePixelBlue(p)); }

// A character as one or two UTF-16 units.
int ToUtf16(unsigned int code, wchar_t* out) {
  if (code < 0x10000) {
    out[0] = static_cast<wchar_t>(code);
    return 1;
  }
  code -= 0x10000;
  out[0] = static_cast<wchar_t>(0xD800 + (code >> 10));
  out[1] = static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
  return 2;
}

bool HasMultiByteSequence(const char* text, int length) {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  const unsigned char* end = p + length;
  bool multiByte = false;
  while (p < end && !multiByte) Utf8::Next(&p, end, &multiByte);
  return multiByte;
}

constexpr int kStackUnits = 1024;
constexpr int kHeapFromUnits = 1000;

// The string as the window system takes it: UTF-16 when it holds real UTF-8, else the bytes.
class GdiString {
public:
  GdiString(const char* text, int length) : mText(text), mLength(length) {
    if (!HasMultiByteSequence(text, length)) return;
    const int units = MultiByteToWideChar(CP_UTF8, 0, text, length, nullptr, 0);
    if (units <= 0) return;
    if (units >= kHeapFromUnits) {
      mHeap.resize(static_cast<size_t>(units) + 1);
      mWide = mHeap.data();
    } else {
      mWide = mStack;
    }
    mWideLength = MultiByteToWideChar(CP_UTF8, 0, text, length, mWide, units);
  }
  int Draw(HDC dc, RECT* rect, UINT flags) const {
    return mWide ? DrawTextW(dc, mWide, mWideLength, rect, flags)
                 : DrawTextA(dc, mText, mLength, rect, flags);
  }

private:
  const char* mText;
  int mLength;
  wchar_t mStack[kStackUnits];
  std::vector<wchar_t> mHeap;
  wchar_t* mWide = nullptr;
  int mWideLength = 0;
};

RECT ToRect(const LiceRect& r) { return {r.left, r.top, r.right, r.bottom}; }
LiceRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void SetColours(HDC dc, const NativeText::StringRequest& request) {
  SetTextColor(dc, Rgb(request.textColour));
  const bool opaque = request.backgroundMode == kBackgroundOpaque;
  SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
  if (opaque) SetBkColor(dc, Rgb(request.backgroundColour));
}

// Draws straight into a bitmap that has a DC of its own.
int DrawIntoDc(HDC dc, const NativeText::StringRequest& request, const GdiString& text, UINT flags) {
  HGDIOBJ previous = SelectObject(dc, static_cast<HFONT>(request.font));
  SetColours(dc, request);
  RECT rect = request.rect ? ToRect(*request.rect) : RECT{0, 0, 0, 0};
  const int result = text.Draw(dc, &rect, flags);
  GdiFlush();
  if ((flags & DT_CALCRECT) && request.rect) *request.rect = FromRect(rect);
  SelectObject(dc, previous);
  return result;
}

LICE_SysBitmap& Scratch(int width, int height) {
  if (!gScratch) gScratch = new LICE_SysBitmap(4, 4);
  if (gScratch->Width() < width || gScratch->Height() < height) {
    gScratch->Resize(std::max(gScratch->Width(), width), std::max(gScratch->Height(), height));
  }
  return *gScratch;
}

// Draws into a memory bitmap through the scratch bitmap: the destination area is copied there,
// drawn on by GDI and blitted back at the font's combine alpha.
int DrawThroughScratch(const NativeText::StringRequest& request, const GdiString& text, UINT flags) {
  LICE_SysBitmap& scratch = Scratch(4, 4);
  HDC dc = Dc(scratch);
  if (!dc) return 0;
  HGDIOBJ previous = SelectObject(dc, static_cast<HFONT>(request.font));
  const LiceRect box = request.rect ? *request.rect : LiceRect{};
  RECT extent = {0, 0, box.right - box.left, box.bottom - box.top};
  int result = text.Draw(dc, &extent, flags | DT_CALCRECT);
  if (flags & DT_CALCRECT || !request.bitmap) {
    if (request.rect) *request.rect = {box.left, box.top, box.left + extent.right, box.top + extent.bottom};
    SelectObject(dc, previous);
    return result;
  }
  const int textWidth = extent.right, textHeight = extent.bottom;
  int x = box.left, y = box.top;
  if (flags & DT_CENTER) {
    x += (box.right - box.left - textWidth) / 2;
  } else if (flags & DT_RIGHT) {
    x = box.right - textWidth;
  }
  if (flags & DT_VCENTER) {
    y += (box.bottom - box.top - textHeight) / 2;
  } else if (flags & DT_BOTTOM) {
    y = box.bottom - textHeight;
  }
  LICE_IBitmap& bitmap = *request.bitmap;
  LiceRect area = {std::max(x, 0), std::max(y, 0), std::min(x + textWidth, bitmap.Width()),
                   std::min(y + textHeight, bitmap.Height())};
  if (!(flags & DT_NOCLIP)) {
    area = {std::max(area.left, box.left), std::max(area.top, box.top), std::min(area.right, box.right),
            std::min(area.bottom, box.bottom)};
  }
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) {
    SelectObject(dc, previous);
    return 0;
  }
  Scratch(width, height);
  BlitBitmap(&scratch, &bitmap, 0, 0, &area, 1.0f, BlitCopy);
  SetColours(dc, request);
  RECT placed = {x - area.left, y - area.top, x - area.left + textWidth, y - area.top + textHeight};
  result = text.Draw(dc, &placed, flags | DT_NOCLIP);
  GdiFlush();
  const LiceRect drawn = {0, 0, width, height};
  BlitBitmap(&bitmap, &scratch, area.left, area.top, &drawn, request.combineAlpha, BlitCopy);
  SelectObject(dc, previous);
  return result;
}

}  // namespace

namespace NativeText {

Font OpenFont(const FontRequest& request) {
  return CreateFontA(request.height, 0, request.escapement, request.escapement, request.weight,
                     request.italic ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, static_cast<DWORD>(request.quality), DEFAULT_PITCH, request.face);
}

void CloseFont(Font font) {
  if (font) DeleteObject(static_cast<HFONT>(font));
}

void PrepareCanvas(LICE_SysBitmap& canvas) {
  HDC dc = Dc(canvas);
  if (!dc) return;
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(0, 0, 0));
}

int LineHeight(Font font, LICE_SysBitmap& canvas) {
  HDC dc = Dc(canvas);
  if (!dc || !font) return 0;
  HGDIOBJ previous = SelectObject(dc, static_cast<HFONT>(font));
  TEXTMETRICA metrics = {};
  const BOOL ok = GetTextMetricsA(dc, &metrics);
  SelectObject(dc, previous);
  return ok ? metrics.tmHeight : 0;
}

void MeasureChar(Font font, LICE_SysBitmap& canvas, unsigned int code, int* width, int* height) {
  *width = 0;
  *height = 0;
  HDC dc = Dc(canvas);
  if (!dc || !font) return;
  wchar_t units[2];
  const int count = ToUtf16(code, units);
  HGDIOBJ previous = SelectObject(dc, static_cast<HFONT>(font));
  RECT rect = {0, 0, 0, 0};
  DrawTextW(dc, units, count, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, previous);
  *width = rect.right - rect.left;
  *height = rect.bottom - rect.top;
}

void DrawChar(Font font, LICE_SysBitmap& canvas, unsigned int code) {
  HDC dc = Dc(canvas);
  if (!dc || !font) return;
  wchar_t units[2];
  const int count = ToUtf16(code, units);
  HGDIOBJ previous = SelectObject(dc, static_cast<HFONT>(font));
  RECT rect = {0, 0, canvas.Width(), canvas.Height()};
  DrawTextW(dc, units, count, &rect, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  GdiFlush();  // GDI batches: the pixels must be in the section before they are read
  SelectObject(dc, previous);
}

bool HasStringDrawing() { return true; }

int DrawString(const StringRequest& request) {
  if (!request.font || !request.text) return 0;
  const GdiString text(request.text, request.length);
  const UINT flags = static_cast<UINT>(request.flags & ~kTextColourAlpha) | DT_NOPREFIX;
  HDC dc = request.bitmap ? Dc(*request.bitmap) : nullptr;
  return dc ? DrawIntoDc(dc, request, text, flags) : DrawThroughScratch(request, text, flags);
}

void ReleaseScratch() {
  delete gScratch;
  gScratch = nullptr;
}

}  // namespace NativeText
