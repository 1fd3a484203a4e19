// The panel behind every control: brushed graphite with a soft vignette, recessed wells for
// the meters and the mode keys, scales around the knobs, engraved labels, the name plate.

#include <cmath>
#include <utility>

#include "tools/artwork/Canvas.h"
#include "tools/artwork/Layout.h"
#include "tools/artwork/Painters.h"
#include "tools/artwork/Palette.h"
#include "tools/artwork/Text.h"

namespace brel::artwork {

namespace {

const Lettering kLabel{Face::SansBold, 10, 1.6, Align::Centre};

void PaintMetal(cairo_t* cr) {
  cairo_pattern_t* base = cairo_pattern_create_linear(0, 0, 0, kPanelHeight);
  AddStop(base, 0, Hex(0x34373d));
  AddStop(base, 0.5, Hex(0x25272c));
  AddStop(base, 1, Hex(0x1a1b1f));
  cairo_rectangle(cr, 0, 0, kPanelWidth, kPanelHeight);
  cairo_set_source(cr, base);
  cairo_fill(cr);
  cairo_pattern_destroy(base);
  BrushMetal(cairo_get_target(cr), 0, 0, kPanelWidth, kPanelHeight, 2.4, 0x5eed1u);
}

void PaintVignette(cairo_t* cr) {
  cairo_save(cr);
  cairo_translate(cr, kPanelWidth / 2.0, kPanelHeight * 0.45);
  cairo_scale(cr, 1.0, 0.55);
  cairo_pattern_t* shade = cairo_pattern_create_radial(0, 0, 120, 0, 0, 560);
  cairo_pattern_add_color_stop_rgba(shade, 0, 0, 0, 0, 0);
  cairo_pattern_add_color_stop_rgba(shade, 0.7, 0, 0, 0, 0.22);
  cairo_pattern_add_color_stop_rgba(shade, 1, 0, 0, 0, 0.5);
  cairo_rectangle(cr, -kPanelWidth, -kPanelHeight * 2, 2 * kPanelWidth, 4 * kPanelHeight);
  cairo_set_source(cr, shade);
  cairo_fill(cr);
  cairo_pattern_destroy(shade);
  cairo_restore(cr);
}

void PaintPanelEdge(cairo_t* cr) {
  cairo_rectangle(cr, 0.5, 0.5, kPanelWidth - 1, kPanelHeight - 1);
  cairo_set_line_width(cr, 1);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.9);
  cairo_stroke(cr);
  cairo_move_to(cr, 1, 1.5);
  cairo_line_to(cr, kPanelWidth - 1, 1.5);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.16);
  cairo_stroke(cr);
  cairo_move_to(cr, 1, kPanelHeight - 1.5);
  cairo_line_to(cr, kPanelWidth - 1, kPanelHeight - 1.5);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
  cairo_stroke(cr);
}

void PaintScrew(cairo_t* cr, double x, double y) {
  CirclePath(cr, x, y + 0.8, 6.2);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
  cairo_fill(cr);
  cairo_pattern_t* head = cairo_pattern_create_linear(x - 5, y - 5, x + 5, y + 5);
  AddStop(head, 0, Hex(0x9ca1a9));
  AddStop(head, 0.5, Hex(0x4b4e54));
  AddStop(head, 1, Hex(0x1e1f22));
  CirclePath(cr, x, y, 5.5);
  cairo_set_source(cr, head);
  cairo_fill(cr);
  cairo_pattern_destroy(head);
  // Hex socket, turned a little so the four screws do not look stamped.
  const double turn = (x * 0.37 + y * 0.11);
  cairo_new_path(cr);
  for (int i = 0; i < 6; ++i) {
    const double a = turn + i * M_PI / 3;
    cairo_line_to(cr, x + 2.4 * std::cos(a), y + 2.4 * std::sin(a));
  }
  cairo_close_path(cr);
  SetColor(cr, Hex(0x0c0c0e));
  cairo_fill(cr);
}

// A shallow pocket milled into the panel: darker floor, shaded top edge, lit bottom edge.
void PaintWell(cairo_t* cr, double x, double y, double w, double h, double r) {
  RoundedRectPath(cr, x, y, w, h, r);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.28);
  cairo_fill(cr);
  RoundedRectPath(cr, x + 0.5, y + 0.5, w - 1, h - 1, r);
  cairo_pattern_t* edge = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgba(edge, 0, 0, 0, 0, 0.8);
  cairo_pattern_add_color_stop_rgba(edge, 0.5, 0, 0, 0, 0.2);
  cairo_pattern_add_color_stop_rgba(edge, 1, 1, 1, 1, 0.14);
  cairo_set_line_width(cr, 1);
  cairo_set_source(cr, edge);
  cairo_stroke(cr);
}

void PaintMeterWell(cairo_t* cr, const Box& b) {
  PaintShadow(
      cr, kPanelWidth, kPanelHeight,
      [&](cairo_t* c) { RoundedRectPath(c, b.left, b.top, b.width, b.height, 10); }, 0, 4, 6, 0.8);
}

void PaintKnobScale(cairo_t* cr, const KnobPlace& knob) {
  const double size = knob.box.width;
  const double cx = knob.box.CentreX(), cy = knob.box.CentreY();
  const double inner = size * 0.405 + size * 0.034 / 2 + 3.0;
  for (int i = 0; i <= 20; ++i) {
    const bool major = i % 2 == 0;
    const double a = KnobAngle(i / 20.0);
    const double outer = inner + (major ? 5.0 : 2.8);
    cairo_move_to(cr, cx + inner * std::cos(a), cy + inner * std::sin(a));
    cairo_line_to(cr, cx + outer * std::cos(a), cy + outer * std::sin(a));
    cairo_set_line_width(cr, major ? 1.4 : 1.0);
    SetColor(cr, kPaint, major ? 0.75 : 0.4);
    cairo_stroke(cr);
  }
}

void PaintNamePlate(cairo_t* cr) {
  const double cx = kPanelWidth / 2.0;
  const Lettering name{Face::SansExtraLight, 31, 3.0, Align::Centre};
  TextPath(cr, name, "Brelvane", cx, 236.5);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
  cairo_fill(cr);
  TextPath(cr, name, "Brelvane", cx, 235);
  cairo_pattern_t* silver = cairo_pattern_create_linear(0, 212, 0, 236);
  AddStop(silver, 0, Hex(0xf1f2f4));
  AddStop(silver, 0.55, Hex(0xb9bdc4));
  AddStop(silver, 1, Hex(0x8e939b));
  cairo_set_source(cr, silver);
  cairo_fill(cr);
  cairo_pattern_destroy(silver);

  const Lettering maker{Face::SansBold, 8.5, 3.2, Align::Centre};
  EngravedText(cr, maker, "Orrindale", cx, 254);
  const double half = TextWidth(maker, "Orrindale") / 2 + 10;
  for (int side : {-1, 1}) {
    cairo_move_to(cr, cx + side * half, 251);
    cairo_line_to(cr, cx + side * (half + 46), 251);
    cairo_set_line_width(cr, 1);
    SetColor(cr, kAmber, 0.55);
    cairo_stroke(cr);
  }
}

// A groove across the panel between the meters and the knobs, broken for the name plate.
void PaintDivider(cairo_t* cr) {
  constexpr double y = 205.5;
  const double gapLeft = kPanelWidth / 2.0 - 110, gapRight = kPanelWidth / 2.0 + 110;
  for (auto [from, to] : {std::pair{24.0, gapLeft}, std::pair{gapRight, kPanelWidth - 24.0}}) {
    cairo_move_to(cr, from, y);
    cairo_line_to(cr, to, y);
    cairo_set_line_width(cr, 1);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.7);
    cairo_stroke(cr);
    cairo_move_to(cr, from, y + 1);
    cairo_line_to(cr, to, y + 1);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.07);
    cairo_stroke(cr);
  }
}

void PaintLabels(cairo_t* cr) {
  for (const KnobPlace& knob : kKnobs) EngravedText(cr, kLabel, knob.label, knob.box.CentreX(), 377);
  EngravedText(cr, kLabel, "POWER", kPowerBox.CentreX(), 66);
  EngravedText(cr, kLabel, "P LIMIT", kPresLimitBox.CentreX(), 194);
  EngravedText(cr, kLabel, "F LIMIT", kFinalLimitBox.CentreX(), 194);
  const Lettering mode{Face::SansBold, 9, 1.6, Align::Centre};
  EngravedText(cr, mode, "MODE", kModeBoxes[0].CentreX(), 41);
  EngravedText(cr, mode, "MODE", kModeBoxes[2].CentreX(), 41);
}

}  // namespace

void PaintBackground(cairo_t* cr) {
  PaintMetal(cr);
  PaintVignette(cr);
  for (const Box& meter : {kPresMeterBox, kFinalMeterBox}) PaintMeterWell(cr, meter);
  for (int column : {0, 2}) {
    const Box& top = kModeBoxes[column];
    PaintWell(cr, top.left - 4, 30, top.width + 8, kModeBoxes[column + 1].top + kModeSize + 6 - 30, 7);
  }
  for (const KnobPlace& knob : kKnobs) PaintKnobScale(cr, knob);
  PaintDivider(cr);
  PaintNamePlate(cr);
  PaintLabels(cr);
  PaintPanelEdge(cr);
  for (double x : {14.0, kPanelWidth - 14.0})
    for (double y : {14.0, kPanelHeight - 14.0}) PaintScrew(cr, x, y);
}

}  // namespace brel::artwork
