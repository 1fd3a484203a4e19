#pragma once
// The raster routines: copy or combine a rectangle of one bitmap into another, combine a solid
// colour into a rectangle, and soften a bitmap in place. All of them clip silently and do nothing
// on a bitmap without pixels.

#include "raster/Bitmap.h"
#include "raster/PixelOps.h"

// Combines `source` (the whole of it, or `sourceRect`) into `dest` with its top-left corner at
// (x, y). The mode's low byte selects the operation; BlitUseAlpha weighs it by the source alpha.
void BlitBitmap(LICE_IBitmap* dest, LICE_IBitmap* source, int x, int y, const LiceRect* sourceRect,
                float weight, int mode);

// Combines `colour` into the rectangle; BlitUseAlpha scales the weight by the colour's alpha.
void FillRectangle(LICE_IBitmap* bitmap, int x, int y, int width, int height, LicePixel colour, float weight,
                   int mode);

// Softens the top-left width x height pixels in place (used on rendered glyphs).
void SmoothBitmap(LICE_IBitmap* bitmap, int width, int height);
