#pragma once
// The process-wide cache that turns a text style into a font. Entries are only ever added, and
// live as long as the module.

#include "raster/Font.h"
#include "raster/TextStyle.h"

class FontCache {
public:
  // The font for the style's size, orientation, weight and face (quality is not part of the key:
  // the first style to ask decides it); stored in the style. Null when no font can be made.
  static LICE_IFont* FontFor(TextStyle& style);
};
