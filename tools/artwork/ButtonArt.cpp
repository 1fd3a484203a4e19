// The buttons: an illuminated power button, two small lamp buttons for the limiters and the
// four mode keys. Unlit and lit frames differ only in their light, never in their shape.

#include <cmath>

#include "tools/artwork/Canvas.h"
#include "tools/artwork/Layout.h"
#include "tools/artwork/Painters.h"
#include "tools/artwork/Palette.h"
#include "tools/artwork/Text.h"

namespace brel::artwork {

namespace {

constexpr double kDegree = M_PI / 180.0;

// Polished ring around a round button: a turned surface, bright on top.
Rgb BezelSheen(double a) {
  const double streak = std::pow(0.5 + 0.5 * std::cos(2 * (a + 60 * kDegree)), 8);
  const double top = 0.5 - 0.5 * std::sin(a);
  return Mix(Hex(0x17181b), Hex(0xa9aeb6), 0.25 * streak + 0.5 * top * top);
}

void PaintRoundBezel(cairo_t* cr, int size, double c, double radius) {
  PaintShadow(
      cr, size, size, [&](cairo_t* s) { CirclePath(s, c, c, radius); }, 0, 2.5, 3, 0.85);
  ConicFill(cr, c, c, radius, BezelSheen);
  CirclePath(cr, c, c, radius - 0.5);
  cairo_set_line_width(cr, 1);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
  cairo_stroke(cr);
}

// A ring of light between the bezel and the button face, blurred into a glow when lit.
void PaintLightRing(cairo_t* cr, int size, double c, double radius, double width, bool on) {
  CirclePath(cr, c, c, radius + width / 2);
  SetColor(cr, Hex(0x08080a));
  cairo_fill(cr);
  if (!on) {
    CirclePath(cr, c, c, radius);
    cairo_set_line_width(cr, width * 0.6);
    SetColor(cr, Hex(0x3a2a18), 0.8);
    cairo_stroke(cr);
    return;
  }
  SurfacePtr glow = NewScratch(cr, size, size);
  ContextPtr gc = NewContext(glow.get());
  CirclePath(gc.get(), c, c, radius);
  cairo_set_line_width(gc.get(), width * 1.6);
  SetColor(gc.get(), kAmber);
  cairo_stroke(gc.get());
  BlurSurface(glow.get(), 3);
  cairo_set_source_surface(cr, glow.get(), 0, 0);
  cairo_paint_with_alpha(cr, 0.7);
  CirclePath(cr, c, c, radius);
  cairo_set_line_width(cr, width * 0.7);
  SetColor(cr, kAmberHot);
  cairo_stroke(cr);
}

void PaintDomeFace(cairo_t* cr, double c, double radius, bool warm) {
  cairo_pattern_t* face = cairo_pattern_create_radial(c, c - radius * 0.5, radius * 0.1, c, c, radius * 1.1);
  AddStop(face, 0, warm ? Hex(0x4a423a) : Hex(0x45484e));
  AddStop(face, 0.6, warm ? Hex(0x25211d) : Hex(0x222428));
  AddStop(face, 1, Hex(0x101113));
  CirclePath(cr, c, c, radius);
  cairo_set_source(cr, face);
  cairo_fill(cr);
  cairo_pattern_destroy(face);
  // Gloss on the upper half of the dome.
  cairo_save(cr);
  cairo_translate(cr, c, c - radius * 0.42);
  cairo_scale(cr, radius * 0.72, radius * 0.45);
  CirclePath(cr, 0, 0, 1);
  cairo_restore(cr);
  cairo_pattern_t* gloss = cairo_pattern_create_linear(0, c - radius, 0, c);
  cairo_pattern_add_color_stop_rgba(gloss, 0, 1, 1, 1, 0.22);
  cairo_pattern_add_color_stop_rgba(gloss, 1, 1, 1, 1, 0.0);
  cairo_set_source(cr, gloss);
  cairo_fill(cr);
  cairo_pattern_destroy(gloss);
}

// Strokes the current path as a glowing amber line, or as dark engraving when off.
void StrokeLit(cairo_t* cr, int width, int height, double lineWidth, bool on) {
  cairo_path_t* path = cairo_copy_path(cr);
  if (on) {
    SurfacePtr glow = NewScratch(cr, width, height);
    ContextPtr gc = NewContext(glow.get());
    cairo_append_path(gc.get(), path);
    cairo_set_line_cap(gc.get(), CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(gc.get(), lineWidth * 2);
    SetColor(gc.get(), kAmber);
    cairo_stroke(gc.get());
    BlurSurface(glow.get(), 3);
    cairo_set_source_surface(cr, glow.get(), 0, 0);
    cairo_paint(cr);
  }
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_new_path(cr);
  cairo_append_path(cr, path);
  cairo_set_line_width(cr, lineWidth);
  SetColor(cr, on ? kAmberHot : Hex(0x6a6e75));
  cairo_stroke(cr);
  cairo_path_destroy(path);
}

}  // namespace

void PaintPowerSwitch(cairo_t* cr, bool on) {
  const double c = kPowerSize / 2.0;
  PaintRoundBezel(cr, kPowerSize, c, 34);
  PaintLightRing(cr, kPowerSize, c, 27.5, 2.6, on);
  PaintDomeFace(cr, c, 25.5, on);
  cairo_new_sub_path(cr);
  cairo_arc(cr, c, c + 1, 9.5, -55 * kDegree, 235 * kDegree);
  cairo_move_to(cr, c, c - 11.5);
  cairo_line_to(cr, c, c - 1);
  StrokeLit(cr, kPowerSize, kPowerSize, 3.0, on);
}

void PaintLimitSwitch(cairo_t* cr, bool on) {
  const double c = kLimitSize / 2.0;
  PaintRoundBezel(cr, kLimitSize, c, 19);
  PaintLightRing(cr, kLimitSize, c, 14.2, 1.8, on);
  PaintDomeFace(cr, c, 12.8, on);
  // A lens in the middle of the button shows the state from any angle.
  CirclePath(cr, c, c, 4.2);
  SetColor(cr, Hex(0x0a0a0b));
  cairo_fill(cr);
  cairo_pattern_t* lens = cairo_pattern_create_radial(c - 1, c - 1.2, 0.3, c, c, 3.4);
  AddStop(lens, 0, on ? Hex(0xfff1cc) : Hex(0x5b4630));
  AddStop(lens, 0.6, on ? kAmber : Hex(0x33261a));
  AddStop(lens, 1, on ? kAmberDeep : Hex(0x1a130c));
  CirclePath(cr, c, c, 3.4);
  cairo_set_source(cr, lens);
  cairo_fill(cr);
  cairo_pattern_destroy(lens);
}

void PaintModeButton(cairo_t* cr, const char* letter, bool lit) {
  const double x = 7, y = 6, w = 36, h = 37, r = 5;
  PaintShadow(
      cr, kModeSize, kModeSize, [&](cairo_t* s) { RoundedRectPath(s, x, y, w, h, r); }, 0, 2.5, 3, 0.85);
  cairo_pattern_t* body = cairo_pattern_create_linear(0, y, 0, y + h);
  AddStop(body, 0, Hex(0x54585f));
  AddStop(body, 0.12, Hex(0x2e3035));
  AddStop(body, 1, Hex(0x141518));
  RoundedRectPath(cr, x, y, w, h, r);
  cairo_set_source(cr, body);
  cairo_fill(cr);
  cairo_pattern_destroy(body);

  cairo_pattern_t* face = cairo_pattern_create_linear(0, y + 2, 0, y + h - 3);
  AddStop(face, 0, lit ? Hex(0x3c3630) : Hex(0x33363b));
  AddStop(face, 1, lit ? Hex(0x221e1a) : Hex(0x1c1e21));
  RoundedRectPath(cr, x + 2, y + 2, w - 4, h - 5, r - 1.5);
  cairo_set_source(cr, face);
  cairo_fill(cr);
  cairo_pattern_destroy(face);

  // The lamp slot above the letter.
  RoundedRectPath(cr, 18, 11, 14, 3.2, 1.6);
  SetColor(cr, Hex(0x09090a));
  cairo_fill(cr);
  cairo_move_to(cr, 19.8, 12.6);
  cairo_line_to(cr, 30.2, 12.6);
  StrokeLit(cr, kModeSize, kModeSize, 1.6, lit);

  const Lettering look{Face::SansBold, 16, 0, Align::Centre};
  if (lit) {
    SurfacePtr glow = NewScratch(cr, kModeSize, kModeSize);
    ContextPtr gc = NewContext(glow.get());
    TextPath(gc.get(), look, letter, 25, 34);
    SetColor(gc.get(), kAmber);
    cairo_fill(gc.get());
    BlurSurface(glow.get(), 2);
    cairo_set_source_surface(cr, glow.get(), 0, 0);
    cairo_paint(cr);
  } else {
    TextPath(cr, look, letter, 25, 33.2);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
    cairo_fill(cr);
  }
  TextPath(cr, look, letter, 25, 34);
  SetColor(cr, lit ? kAmberHot : Hex(0x868a92));
  cairo_fill(cr);
}

}  // namespace brel::artwork
