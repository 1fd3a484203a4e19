#pragma once
// One row of the busiest blits, several pixels at a time where the processor allows, with results
// identical to the per-pixel formulas of BlitPixels.h.

#include "raster/LicePixel.h"

namespace BlitRows {

void OverFull(LicePixel* dst, const LicePixel* src, int count);
// w from 1 to 255.
void OverWeighted(LicePixel* dst, const LicePixel* src, int count, int w);
// w from 1 to 256.
void AddWithAlpha(LicePixel* dst, const LicePixel* src, int count, int w);
// Plain add (no source alpha), w from 1 to 256.
void Add(LicePixel* dst, const LicePixel* src, int count, int w);

}  // namespace BlitRows
