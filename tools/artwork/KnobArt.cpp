// Machined knobs: a knurled skirt and a turned cap that rotate, a pointer, and an amber arc
// that lights from the minimum up to the current value. The light comes from above, so the
// shading and the shadow stay put while the knob turns.

#include <cmath>

#include "tools/artwork/Canvas.h"
#include "tools/artwork/Layout.h"
#include "tools/artwork/Painters.h"
#include "tools/artwork/Palette.h"

namespace brel::artwork {

namespace {

constexpr double kDegree = M_PI / 180.0;

struct KnobGeometry {
  double c;    // centre (both axes)
  double arc;  // radius of the value arc
  double arcWidth;
  double skirt;    // outer radius of the knurled body
  double cap;      // radius of the turned top
  double pointer;  // pointer line width
};

KnobGeometry GeometryFor(int size) {
  const double s = size;
  return {s / 2, s * 0.405, s * 0.034, s * 0.33, s * 0.255, s * 0.028};
}

void ArcPath(cairo_t* cr, const KnobGeometry& g, double from, double to) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, g.c, g.c, g.arc, from, to);
}

void PaintTrackAndArc(cairo_t* cr, int size, const KnobGeometry& g, double position) {
  const double start = KnobAngle(0);
  const double end = KnobAngle(1);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  ArcPath(cr, g, start, end);
  cairo_set_line_width(cr, g.arcWidth + 1.4);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.06);
  cairo_stroke(cr);
  ArcPath(cr, g, start, end);
  cairo_set_line_width(cr, g.arcWidth);
  SetColor(cr, Hex(0x0a0b0d), 0.95);
  cairo_stroke(cr);
  if (position <= 0) return;

  const double now = KnobAngle(position);
  SurfacePtr glow = NewScratch(cr, size, size);
  ContextPtr gc = NewContext(glow.get());
  cairo_set_line_cap(gc.get(), CAIRO_LINE_CAP_ROUND);
  ArcPath(gc.get(), g, start, now);
  cairo_set_line_width(gc.get(), g.arcWidth * 2.2);
  SetColor(gc.get(), kAmber);
  cairo_stroke(gc.get());
  BlurSurface(glow.get(), static_cast<int>(std::lround(size * 0.03)));
  cairo_set_source_surface(cr, glow.get(), 0, 0);
  cairo_paint_with_alpha(cr, 0.75);

  ArcPath(cr, g, start, now);
  cairo_set_line_width(cr, g.arcWidth * 0.95);
  SetColor(cr, kAmber);
  cairo_stroke(cr);
  ArcPath(cr, g, start, now);
  cairo_set_line_width(cr, g.arcWidth * 0.4);
  SetColor(cr, kAmberHot, 0.9);
  cairo_stroke(cr);
}

void PaintSkirt(cairo_t* cr, const KnobGeometry& g, double turn) {
  cairo_pattern_t* body = cairo_pattern_create_linear(0, g.c - g.skirt, 0, g.c + g.skirt);
  AddStop(body, 0, Hex(0x3b3e44));
  AddStop(body, 0.5, Hex(0x1d1f23));
  AddStop(body, 1, Hex(0x0e0f11));
  CirclePath(cr, g.c, g.c, g.skirt);
  cairo_set_source(cr, body);
  cairo_fill(cr);
  cairo_pattern_destroy(body);

  // Knurling: ridges that catch the light on the upper side and sink into shade below.
  const int ridges = g.skirt > 30 ? 60 : 40;
  for (int i = 0; i < ridges; ++i) {
    const double a = turn + i * 2 * M_PI / ridges;
    const double light = 0.5 - 0.5 * std::sin(a);
    const double ca = std::cos(a), sa = std::sin(a);
    cairo_move_to(cr, g.c + ca * g.skirt * 0.84, g.c + sa * g.skirt * 0.84);
    cairo_line_to(cr, g.c + ca * (g.skirt - 0.6), g.c + sa * (g.skirt - 0.6));
    cairo_set_line_width(cr, 1.1);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.03 + 0.16 * light * light);
    cairo_stroke(cr);
    const double b = a + M_PI / ridges;
    cairo_move_to(cr, g.c + std::cos(b) * g.skirt * 0.84, g.c + std::sin(b) * g.skirt * 0.84);
    cairo_line_to(cr, g.c + std::cos(b) * (g.skirt - 0.6), g.c + std::sin(b) * (g.skirt - 0.6));
    cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
    cairo_stroke(cr);
  }

  cairo_pattern_t* rim = cairo_pattern_create_linear(0, g.c - g.skirt, 0, g.c + g.skirt);
  AddStop(rim, 0, Hex(0x8a8f98), 0.9);
  AddStop(rim, 0.45, Hex(0x2a2c31), 0.6);
  AddStop(rim, 1, Hex(0x000000), 0.8);
  CirclePath(cr, g.c, g.c, g.skirt - 0.5);
  cairo_set_line_width(cr, 1.0);
  cairo_set_source(cr, rim);
  cairo_stroke(cr);
  cairo_pattern_destroy(rim);
}

// Satin-finished cap: a turned surface reflects a bright streak across its centre.
Rgb CapSheen(double a) {
  const double streak = std::pow(0.5 + 0.5 * std::cos(2 * (a + 50 * kDegree)), 6);
  const double top = 0.5 - 0.5 * std::sin(a);
  return Mix(Hex(0x1e2024), Hex(0x8d929b), 0.55 * streak + 0.18 * top);
}

void PaintCap(cairo_t* cr, const KnobGeometry& g) {
  // The skirt's step down to the cap casts a thin shadow ring.
  CirclePath(cr, g.c, g.c + 1.0, g.cap + 1.5);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
  cairo_fill(cr);
  ConicFill(cr, g.c, g.c, g.cap, CapSheen);
  for (double r = 1.5; r < g.cap; r += 1.25) {
    CirclePath(cr, g.c, g.c, r);
    cairo_set_line_width(cr, 0.6);
    const bool light = static_cast<int>(r / 1.25) % 2 == 0;
    cairo_set_source_rgba(cr, light ? 1 : 0, light ? 1 : 0, light ? 1 : 0, light ? 0.035 : 0.06);
    cairo_stroke(cr);
  }
  cairo_pattern_t* bevel = cairo_pattern_create_linear(0, g.c - g.cap, 0, g.c + g.cap);
  AddStop(bevel, 0, Hex(0xd4d8de), 0.85);
  AddStop(bevel, 0.5, Hex(0x50535a), 0.3);
  AddStop(bevel, 1, Hex(0x000000), 0.7);
  CirclePath(cr, g.c, g.c, g.cap - 0.6);
  cairo_set_line_width(cr, 1.2);
  cairo_set_source(cr, bevel);
  cairo_stroke(cr);
}

void PaintPointer(cairo_t* cr, const KnobGeometry& g, double angle) {
  const double ca = std::cos(angle), sa = std::sin(angle);
  const double inner = g.cap * 0.32, outer = g.cap * 0.9;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, g.c + ca * inner, g.c + sa * inner + 0.7);
  cairo_line_to(cr, g.c + ca * outer, g.c + sa * outer + 0.7);
  cairo_set_line_width(cr, g.pointer + 1.6);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
  cairo_stroke(cr);
  cairo_move_to(cr, g.c + ca * inner, g.c + sa * inner);
  cairo_line_to(cr, g.c + ca * outer, g.c + sa * outer);
  cairo_set_line_width(cr, g.pointer);
  SetColor(cr, Hex(0xf4eee2));
  cairo_stroke(cr);
  // The skirt carries a matching index notch.
  cairo_move_to(cr, g.c + ca * g.skirt * 0.86, g.c + sa * g.skirt * 0.86);
  cairo_line_to(cr, g.c + ca * (g.skirt - 1.2), g.c + sa * (g.skirt - 1.2));
  cairo_set_line_width(cr, g.pointer * 0.8);
  SetColor(cr, kAmber, 0.95);
  cairo_stroke(cr);
}

}  // namespace

double KnobAngle(double position) { return ((position - 0.5) * kKnobSweepDegrees - 90.0) * kDegree; }

void PaintKnob(cairo_t* cr, int size, double position) {
  const KnobGeometry g = GeometryFor(size);
  const double angle = KnobAngle(position);
  PaintShadow(
      cr, size, size, [&](cairo_t* c) { CirclePath(c, g.c, g.c, g.skirt); }, 0, size * 0.035,
      static_cast<int>(std::lround(size * 0.04)), 0.8);
  PaintTrackAndArc(cr, size, g, position);
  PaintSkirt(cr, g, angle);
  PaintCap(cr, g);
  PaintPointer(cr, g, angle);
}

}  // namespace brel::artwork
