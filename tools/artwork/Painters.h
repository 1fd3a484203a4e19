#pragma once
// The painters of the editor's images. Each draws one frame into (0, 0, width, frame height)
// of the context; `position` runs from 0 (first frame) to 1 (last frame) along a strip.

#include <cairo.h>

namespace brel::artwork {

// The cairo angle (radians, clockwise from +x) of a knob pointer at `position` 0..1.
double KnobAngle(double position);

void PaintBackground(cairo_t* cr);
void PaintKnob(cairo_t* cr, int size, double position);

void PaintMeterFace(cairo_t* cr, const char* title);
void PaintNeedle(cairo_t* cr, double position);
void PaintMeterFrame(cairo_t* cr);
void PaintMeterCap(cairo_t* cr);
// The status lamp: `lit` from 0 (dark) to 1 (fully lit); a cooling lamp glows redder.
void PaintStatusLamp(cairo_t* cr, double lit, bool cooling);
void PaintClipLed(cairo_t* cr, bool red, bool lit);

void PaintPowerSwitch(cairo_t* cr, bool on);
void PaintLimitSwitch(cairo_t* cr, bool on);
void PaintModeButton(cairo_t* cr, const char* letter, bool lit);

}  // namespace brel::artwork
