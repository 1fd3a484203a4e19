#pragma once
// Text for the artwork: the DejaVu faces loaded through FreeType, set as outlines so that the
// result does not depend on hinting or on the fonts a machine happens to have configured.

#include <cairo.h>

#include <string>

namespace brel::artwork {

enum class Face { Sans, SansBold, SansCondensedBold, SansExtraLight, SerifItalic };
enum class Align { Left, Centre, Right };

// Loads every face from `directory` (the fonts-dejavu-core files); false when one is missing.
bool LoadFonts(const std::string& directory);

struct Lettering {
  Face face = Face::SansBold;
  double size = 11;
  double tracking = 0;  // extra pixels after each glyph
  Align align = Align::Centre;
};

// Adds the outlines of `text` to the current path, with the baseline at y.
void TextPath(cairo_t* cr, const Lettering& look, const std::string& text, double x, double y);
double TextWidth(const Lettering& look, const std::string& text);

// Light paint in a shallow engraving: a dark lip above, a faint highlight below.
void EngravedText(cairo_t* cr, const Lettering& look, const std::string& text, double x, double y);

}  // namespace brel::artwork
