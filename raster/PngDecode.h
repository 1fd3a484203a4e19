#pragma once
// Decodes a PNG image held in memory into a new bitmap of LicePixels (straight alpha).

#include "raster/Bitmap.h"

// Returns a bitmap the caller owns, or null for anything that is not a complete, valid PNG that
// fits in memory. Reads only `length` bytes and keeps no reference to them.
LICE_MemBitmap* DecodePngImage(const unsigned char* bytes, int length);
