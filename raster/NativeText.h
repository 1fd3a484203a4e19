#pragma once
// The window system's text services, as far as the fonts use them. Windows answers with GDI; on
// Linux the glyphs come from FreeType (DejaVu Sans when the face is not installed) and there is no
// window-system text drawing.

#include "raster/SysBitmap.h"

namespace NativeText {

using Font = void*;

struct FontRequest {
  const char* face;
  int height;      // character cell height in pixels
  int escapement;  // tenths of a degree
  int weight;      // 400 normal, 700 bold
  bool italic;
  int quality;  // the window system's quality value: 0, 3 (no antialiasing), 4 or 5
};

// Null when the window system cannot make the font.
Font OpenFont(const FontRequest& request);
void CloseFont(Font font);

// Readies `canvas` for glyph rendering: white text on an opaque black background.
void PrepareCanvas(LICE_SysBitmap& canvas);
int LineHeight(Font font, LICE_SysBitmap& canvas);
// The single-line extent of one character.
void MeasureChar(Font font, LICE_SysBitmap& canvas, unsigned int code, int* width, int* height);
// Draws one character at the canvas's top-left corner, unclipped, white on black.
void DrawChar(Font font, LICE_SysBitmap& canvas, unsigned int code);

// Whether the window system can draw whole strings itself (the fonts' native path).
bool HasStringDrawing();
// Whether this Windows process runs under Wine (checked once); always false elsewhere.
bool RunningUnderWine();

struct StringRequest {
  Font font;
  LICE_IBitmap* bitmap;  // null only when measuring
  const char* text;
  int length;  // bytes, or -1 up to the terminator
  LiceRect* rect;
  int flags;  // the window system's DrawText flags
  LicePixel textColour;
  LicePixel backgroundColour;
  int backgroundMode;
  float combineAlpha;
};
// Draws (or measures) a string through the window system; returns its DrawText result.
int DrawString(const StringRequest& request);
// The scratch bitmap DrawString uses for bitmaps without a device context, released with the
// last font.
void ReleaseScratch();

}  // namespace NativeText
