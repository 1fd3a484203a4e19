// The needle meters: a backlit cream face with a dB scale, a red needle, a pivot cap with the
// glass glare, the bezel, the status lamp and the clip LEDs. Everything but the face is a
// transparent overlay that the meter stacks over the face.

#include "tools/artwork/MeterArt.h"

#include <cmath>
#include <string>

#include "tools/artwork/Canvas.h"
#include "tools/artwork/Layout.h"
#include "tools/artwork/Painters.h"
#include "tools/artwork/Palette.h"
#include "tools/artwork/Text.h"

namespace brel::artwork {

namespace {

constexpr double kDegree = M_PI / 180.0;
constexpr double kWindowWidth = kMeterWidth - 2 * kWindowInset;
constexpr double kWindowHeight = kMeterHeight - 2 * kWindowInset;
constexpr double kLedX = kLedLeft + kLedSize / 2.0;
constexpr double kLedY = kLedTop + kLedSize / 2.0;
constexpr double kLampX = kMeterWidth - kLedX;

double TravelAngle(double travel) { return (-90.0 + (travel - 0.5) * kNeedleSweepDegrees) * kDegree; }

void WindowPath(cairo_t* cr) {
  RoundedRectPath(cr, kWindowInset, kWindowInset, kWindowWidth, kWindowHeight, kWindowRadius);
}

void OuterPath(cairo_t* cr) { RoundedRectPath(cr, 0, 0, kMeterWidth, kMeterHeight, kBezelRadius); }

void PointOnScale(double travel, double radius, double& x, double& y) {
  const double a = TravelAngle(travel);
  x = kPivotX + radius * std::cos(a);
  y = kPivotY + radius * std::sin(a);
}

void PaintBacklitCard(cairo_t* cr) {
  cairo_pattern_t* light = cairo_pattern_create_radial(kPivotX, kPivotY - 20, 10, kPivotX, kPivotY - 20, 175);
  AddStop(light, 0, Hex(0xfff3d2));
  AddStop(light, 0.4, Hex(0xf7e2b2));
  AddStop(light, 0.78, Hex(0xe6c585));
  AddStop(light, 1, Hex(0xc79f5e));
  WindowPath(cr);
  cairo_set_source(cr, light);
  cairo_fill(cr);
  cairo_pattern_destroy(light);
}

void PaintScaleLine(cairo_t* cr, double zero) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_new_sub_path(cr);
  cairo_arc(cr, kPivotX, kPivotY, kScaleRadius, TravelAngle(0), TravelAngle(zero));
  cairo_set_line_width(cr, 1.3);
  SetColor(cr, kInk);
  cairo_stroke(cr);
  cairo_new_sub_path(cr);
  cairo_arc(cr, kPivotX, kPivotY, kScaleRadius - 2.6, TravelAngle(zero), TravelAngle(1));
  cairo_set_line_width(cr, 5.2);
  SetColor(cr, kInkRed);
  cairo_stroke(cr);
}

void PaintTick(cairo_t* cr, double travel, double length, double width, Rgb colour) {
  double x0, y0, x1, y1;
  PointOnScale(travel, kScaleRadius - 0.6, x0, y0);
  PointOnScale(travel, kScaleRadius + length, x1, y1);
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_set_line_width(cr, width);
  SetColor(cr, colour);
  cairo_stroke(cr);
}

void PaintScale(cairo_t* cr) {
  const double zero = NeedleTravel(0);
  PaintScaleLine(cr, zero);
  const Lettering numbers{Face::SansCondensedBold, 9.5, 0, Align::Centre};
  const int labelled[] = {-14, -10, -7, -5, -3, -2, -1, 0, 1, 2, 3, 6};
  for (int db = -14; db <= 6; ++db) {
    const double travel = NeedleTravel(db);
    const Rgb colour = db >= 0 ? kInkRed : kInk;
    bool major = false;
    for (int l : labelled) major = major || l == db;
    PaintTick(cr, travel, major ? 8.0 : 4.5, major ? 1.4 : 1.0, colour);
    if (!major) continue;
    double x, y;
    PointOnScale(travel, kScaleRadius + 15, x, y);
    TextPath(cr, numbers, std::to_string(std::abs(db)), x, y + 3.4);
    SetColor(cr, colour);
    cairo_fill(cr);
  }
  // Half-dB marks where the scale is open enough to read them.
  for (double db = -3.5; db < 3; db += 1.0)
    PaintTick(cr, NeedleTravel(db), 3.0, 0.8, db > 0 ? kInkRed : kInk);

  const Lettering sign{Face::SansBold, 13, 0, Align::Centre};
  double x, y;
  PointOnScale(-0.05, kScaleRadius - 16, x, y);
  TextPath(cr, sign, "\u2212", x, y + 4);
  SetColor(cr, kInk);
  cairo_fill(cr);
  PointOnScale(1.05, kScaleRadius - 16, x, y);
  TextPath(cr, sign, "+", x, y + 4);
  SetColor(cr, kInkRed);
  cairo_fill(cr);
}

void PaintSocket(cairo_t* cr, double x, double y) {
  CirclePath(cr, x, y, 7.6);
  cairo_pattern_t* ring = cairo_pattern_create_linear(0, y - 8, 0, y + 8);
  AddStop(ring, 0, Hex(0x1c1712), 0.85);
  AddStop(ring, 1, Hex(0x6b5a43), 0.6);
  cairo_set_source(cr, ring);
  cairo_fill(cr);
  cairo_pattern_destroy(ring);
  CirclePath(cr, x, y, 5.8);
  SetColor(cr, Hex(0x0d0b09));
  cairo_fill(cr);
}

}  // namespace

double NeedleTravel(double decibels) {
  const double v = std::pow(10.0, decibels / 20.0) * 0.501187;
  const double x = (v - 0.1) / (1 - 0.1);
  const double y = 1.98 * x * (1 - x) + x * x;
  return 1.06 * y * (1 - y) + y * y;
}

void PaintMeterFace(cairo_t* cr, const char* title) {
  OuterPath(cr);
  SetColor(cr, Hex(0x17181b));
  cairo_fill(cr);
  PaintBacklitCard(cr);
  cairo_save(cr);
  WindowPath(cr);
  cairo_clip(cr);
  PaintScale(cr);

  const Lettering caption{Face::SansBold, 10.5, 1.6, Align::Centre};
  TextPath(cr, caption, title, kPivotX, 101);
  SetColor(cr, kInk);
  cairo_fill(cr);
  const Lettering unit{Face::SansCondensedBold, 8, 0.6, Align::Centre};
  TextPath(cr, unit, "dB", kPivotX, 77);
  SetColor(cr, kInk, 0.8);
  cairo_fill(cr);

  const Lettering small{Face::SansCondensedBold, 7, 0.8, Align::Right};
  PaintSocket(cr, kLedX, kLedY);
  TextPath(cr, small, "CLIP", kLedX - 11, kLedY + 2.6);
  SetColor(cr, kInk, 0.85);
  cairo_fill(cr);
  PaintSocket(cr, kLampX, kLedY);
  TextPath(cr, Lettering{Face::SansCondensedBold, 7, 0.8, Align::Left}, "ON", kLampX + 11, kLedY + 2.6);
  SetColor(cr, kInk, 0.85);
  cairo_fill(cr);
  cairo_restore(cr);
}

void PaintNeedle(cairo_t* cr, double position) {
  const double a = TravelAngle(position);
  const double ca = std::cos(a), sa = std::sin(a);
  const double nx = -sa, ny = ca;  // across the needle
  auto needle = [&](cairo_t* c, double dx, double dy) {
    const double r0 = 34, r1 = 119;
    cairo_move_to(c, kPivotX + ca * r0 + nx * 1.3 + dx, kPivotY + sa * r0 + ny * 1.3 + dy);
    cairo_line_to(c, kPivotX + ca * r1 + nx * 0.45 + dx, kPivotY + sa * r1 + ny * 0.45 + dy);
    cairo_line_to(c, kPivotX + ca * r1 - nx * 0.45 + dx, kPivotY + sa * r1 - ny * 0.45 + dy);
    cairo_line_to(c, kPivotX + ca * r0 - nx * 1.3 + dx, kPivotY + sa * r0 - ny * 1.3 + dy);
    cairo_close_path(c);
  };
  cairo_save(cr);
  WindowPath(cr);
  cairo_clip(cr);
  PaintShadow(
      cr, kMeterWidth, kMeterHeight, [&](cairo_t* c) { needle(c, 0, 0); }, 2.5, 3.0, 1, 0.28);
  needle(cr, 0, 0);
  SetColor(cr, Hex(0xd2281c));
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 0.4);
  SetColor(cr, Hex(0x7a1008), 0.8);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void PaintMeterCap(cairo_t* cr) {
  cairo_save(cr);
  WindowPath(cr);
  cairo_clip(cr);
  // The hood over the pivot: a low dome of dark metal with a polished rim.
  constexpr double hoodRadius = 40;
  PaintShadow(
      cr, kMeterWidth, kMeterHeight, [](cairo_t* c) { CirclePath(c, kPivotX, kPivotY, hoodRadius); }, 0, -1.5,
      3, 0.5);
  cairo_pattern_t* hood = cairo_pattern_create_radial(kPivotX, kPivotY - 46, 4, kPivotX, kPivotY - 20, 48);
  AddStop(hood, 0, Hex(0x5a5d64));
  AddStop(hood, 0.5, Hex(0x2a2c31));
  AddStop(hood, 1, Hex(0x101113));
  CirclePath(cr, kPivotX, kPivotY, hoodRadius);
  cairo_set_source(cr, hood);
  cairo_fill(cr);
  cairo_pattern_destroy(hood);
  cairo_new_sub_path(cr);
  cairo_arc(cr, kPivotX, kPivotY, hoodRadius - 0.7, -150 * kDegree, -30 * kDegree);
  cairo_pattern_t* rim = cairo_pattern_create_linear(kPivotX - hoodRadius, 0, kPivotX + hoodRadius, 0);
  cairo_pattern_add_color_stop_rgba(rim, 0, 1, 1, 1, 0.05);
  cairo_pattern_add_color_stop_rgba(rim, 0.4, 1, 1, 1, 0.55);
  cairo_pattern_add_color_stop_rgba(rim, 1, 1, 1, 1, 0.05);
  cairo_set_line_width(cr, 1.3);
  cairo_set_source(cr, rim);
  cairo_stroke(cr);
  cairo_pattern_destroy(rim);

  // Glass glare: a broad soft reflection across the upper left of the window.
  cairo_pattern_t* glare = cairo_pattern_create_linear(0, 0, 150, 140);
  cairo_pattern_add_color_stop_rgba(glare, 0, 1, 1, 1, 0.26);
  cairo_pattern_add_color_stop_rgba(glare, 0.42, 1, 1, 1, 0.08);
  cairo_pattern_add_color_stop_rgba(glare, 0.43, 1, 1, 1, 0.0);
  cairo_pattern_add_color_stop_rgba(glare, 1, 1, 1, 1, 0.0);
  cairo_new_path(cr);
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, kMeterWidth * 0.78, 0);
  cairo_curve_to(cr, kMeterWidth * 0.55, kMeterHeight * 0.25, kMeterWidth * 0.3, kMeterHeight * 0.55, 0,
                 kMeterHeight * 0.72);
  cairo_close_path(cr);
  cairo_set_source(cr, glare);
  cairo_fill(cr);
  cairo_pattern_destroy(glare);
  cairo_restore(cr);
}

void PaintMeterFrame(cairo_t* cr) {
  // Shadow the bezel casts into the window.
  SurfacePtr inner = NewScratch(cr, kMeterWidth, kMeterHeight);
  {
    ContextPtr ic = NewContext(inner.get());
    cairo_set_fill_rule(ic.get(), CAIRO_FILL_RULE_EVEN_ODD);
    cairo_rectangle(ic.get(), -20, -20, kMeterWidth + 40, kMeterHeight + 40);
    WindowPath(ic.get());
    cairo_set_source_rgba(ic.get(), 0, 0, 0, 1);
    cairo_fill(ic.get());
  }
  BlurSurface(inner.get(), 4);
  cairo_save(cr);
  WindowPath(cr);
  cairo_clip(cr);
  cairo_set_source_surface(cr, inner.get(), 0, 2);
  cairo_paint_with_alpha(cr, 0.6);
  cairo_restore(cr);

  cairo_save(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  OuterPath(cr);
  WindowPath(cr);
  cairo_pattern_t* metal = cairo_pattern_create_linear(0, 0, 0, kMeterHeight);
  AddStop(metal, 0, Hex(0x62666d));
  AddStop(metal, 0.08, Hex(0x3a3d42));
  AddStop(metal, 0.6, Hex(0x232428));
  AddStop(metal, 1, Hex(0x0e0f11));
  cairo_set_source(cr, metal);
  cairo_fill(cr);
  cairo_pattern_destroy(metal);
  cairo_restore(cr);

  RoundedRectPath(cr, 0.5, 0.5, kMeterWidth - 1, kMeterHeight - 1, kBezelRadius - 0.5);
  cairo_pattern_t* edge = cairo_pattern_create_linear(0, 0, 0, kMeterHeight);
  AddStop(edge, 0, Hex(0xb7bcc4), 0.9);
  AddStop(edge, 0.3, Hex(0x55585e), 0.4);
  AddStop(edge, 1, Hex(0x000000), 0.9);
  cairo_set_line_width(cr, 1);
  cairo_set_source(cr, edge);
  cairo_stroke(cr);
  cairo_pattern_destroy(edge);

  RoundedRectPath(cr, kWindowInset - 0.5, kWindowInset - 0.5, kWindowWidth + 1, kWindowHeight + 1,
                  kWindowRadius + 0.5);
  cairo_pattern_t* lip = cairo_pattern_create_linear(0, kWindowInset, 0, kMeterHeight - kWindowInset);
  AddStop(lip, 0, Hex(0x000000), 0.9);
  AddStop(lip, 1, Hex(0x8a8e95), 0.7);
  cairo_set_line_width(cr, 1);
  cairo_set_source(cr, lip);
  cairo_stroke(cr);
  cairo_pattern_destroy(lip);
}

void PaintStatusLamp(cairo_t* cr, double lit, bool cooling) {
  const double glow = std::pow(lit, 1.3);
  const Rgb hot = cooling ? Mix(kAmberDeep, kAmber, lit) : Mix(Hex(0xff7a22), kAmber, lit);
  if (glow > 0) {
    cairo_pattern_t* halo = cairo_pattern_create_radial(kLampX, kLedY, 2, kLampX, kLedY, 17);
    AddStop(halo, 0, hot, 0.55 * glow);
    AddStop(halo, 1, hot, 0);
    CirclePath(cr, kLampX, kLedY, 17);
    cairo_set_source(cr, halo);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
  }
  cairo_pattern_t* dome = cairo_pattern_create_radial(kLampX - 1.2, kLedY - 1.4, 0.5, kLampX, kLedY, 5.2);
  AddStop(dome, 0, Mix(Hex(0x5a3a1c), kAmberHot, glow));
  AddStop(dome, 0.6, Mix(Hex(0x3a2412), hot, glow));
  AddStop(dome, 1, Mix(Hex(0x1d120a), Scale(hot, 0.7), glow));
  CirclePath(cr, kLampX, kLedY, 5.2);
  cairo_set_source(cr, dome);
  cairo_fill(cr);
  cairo_pattern_destroy(dome);
  CirclePath(cr, kLampX - 1.6, kLedY - 2.0, 1.3);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.35 + 0.3 * glow);
  cairo_fill(cr);
}

void PaintClipLed(cairo_t* cr, bool red, bool lit) {
  const double c = kLedSize / 2.0;
  const Rgb on = red ? Hex(0xff3a2a) : Hex(0x4dff6a);
  const Rgb off = red ? Hex(0x4a1713) : Hex(0x173d20);
  if (lit) {
    cairo_pattern_t* halo = cairo_pattern_create_radial(c, c, 2, c, c, 8);
    AddStop(halo, 0, on, 0.7);
    AddStop(halo, 1, on, 0);
    cairo_rectangle(cr, 0, 0, kLedSize, kLedSize);
    cairo_set_source(cr, halo);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
  }
  cairo_pattern_t* dome = cairo_pattern_create_radial(c - 1.2, c - 1.4, 0.4, c, c, 5.2);
  AddStop(dome, 0, lit ? Mix(on, Hex(0xffffff), 0.7) : Scale(off, 1.8));
  AddStop(dome, 0.55, lit ? on : off);
  AddStop(dome, 1, lit ? Scale(on, 0.75) : Scale(off, 0.6));
  CirclePath(cr, c, c, 5.2);
  cairo_set_source(cr, dome);
  cairo_fill(cr);
  cairo_pattern_destroy(dome);
  CirclePath(cr, c - 1.6, c - 2.0, 1.3);
  cairo_set_source_rgba(cr, 1, 1, 1, lit ? 0.7 : 0.35);
  cairo_fill(cr);
}

}  // namespace brel::artwork
