#include "tools/artwork/Text.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <vector>

#include "tools/artwork/Canvas.h"

namespace brel::artwork {

namespace {

constexpr const char* kFaceFiles[] = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansCondensed-Bold.ttf",
                                      "DejaVuSans-ExtraLight.ttf", "DejaVuSerif-Italic.ttf"};
constexpr int kFaceCount = sizeof(kFaceFiles) / sizeof(kFaceFiles[0]);

FT_Library gLibrary = nullptr;
cairo_font_face_t* gFaces[kFaceCount] = {};

// Unhinted outlines and metrics: the same shapes on every machine.
cairo_font_options_t* NewFontOptions() {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  return options;
}

cairo_scaled_font_t* ScaledFont(const Lettering& look) {
  cairo_matrix_t matrix;
  cairo_matrix_t identity;
  cairo_matrix_init_scale(&matrix, look.size, look.size);
  cairo_matrix_init_identity(&identity);
  cairo_font_options_t* options = NewFontOptions();
  cairo_scaled_font_t* font =
      cairo_scaled_font_create(gFaces[static_cast<int>(look.face)], &matrix, &identity, options);
  cairo_font_options_destroy(options);
  return font;
}

// Glyphs of `text` from x = 0 on the baseline, tracked; returns the advance of the whole run.
double LayOut(const Lettering& look, const std::string& text, std::vector<cairo_glyph_t>& glyphs) {
  cairo_scaled_font_t* font = ScaledFont(look);
  cairo_glyph_t* raw = nullptr;
  int count = 0;
  cairo_scaled_font_text_to_glyphs(font, 0, 0, text.c_str(), static_cast<int>(text.size()), &raw, &count,
                                   nullptr, nullptr, nullptr);
  glyphs.assign(raw, raw + count);
  cairo_glyph_free(raw);
  for (int i = 0; i < count; ++i) glyphs[i].x += look.tracking * i;
  double advance = 0;
  if (count > 0) {
    cairo_text_extents_t last;
    cairo_scaled_font_glyph_extents(font, &glyphs[count - 1], 1, &last);
    advance = glyphs[count - 1].x + last.x_advance;
  }
  cairo_scaled_font_destroy(font);
  return advance;
}

}  // namespace

bool LoadFonts(const std::string& directory) {
  if (FT_Init_FreeType(&gLibrary) != 0) return false;
  for (int i = 0; i < kFaceCount; ++i) {
    FT_Face face = nullptr;
    const std::string path = directory + "/" + kFaceFiles[i];
    if (FT_New_Face(gLibrary, path.c_str(), 0, &face) != 0) return false;
    gFaces[i] = cairo_ft_font_face_create_for_ft_face(face, 0);
  }
  return true;
}

double TextWidth(const Lettering& look, const std::string& text) {
  std::vector<cairo_glyph_t> glyphs;
  return LayOut(look, text, glyphs);
}

void TextPath(cairo_t* cr, const Lettering& look, const std::string& text, double x, double y) {
  std::vector<cairo_glyph_t> glyphs;
  const double width = LayOut(look, text, glyphs);
  double left = x;
  if (look.align == Align::Centre) left = x - width / 2;
  if (look.align == Align::Right) left = x - width;
  for (cairo_glyph_t& g : glyphs) {
    g.x += left;
    g.y += y;
  }
  cairo_save(cr);
  cairo_set_font_face(cr, gFaces[static_cast<int>(look.face)]);
  cairo_set_font_size(cr, look.size);
  cairo_font_options_t* options = NewFontOptions();
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
  cairo_glyph_path(cr, glyphs.data(), static_cast<int>(glyphs.size()));
  cairo_restore(cr);
}

void EngravedText(cairo_t* cr, const Lettering& look, const std::string& text, double x, double y) {
  TextPath(cr, look, text, x, y - 0.8);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.75);
  cairo_fill(cr);
  TextPath(cr, look, text, x, y + 0.8);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.10);
  cairo_fill(cr);
  TextPath(cr, look, text, x, y);
  SetColor(cr, Hex(0xc9ccd2));
  cairo_fill(cr);
}

}  // namespace brel::artwork
