#include "tools/artwork/ArtworkSet.h"

#include "tools/artwork/Layout.h"
#include "tools/artwork/Painters.h"

namespace brel::artwork {

namespace {

double Position(int frame, int frames) { return frames > 1 ? frame / static_cast<double>(frames - 1) : 0.0; }

const Artwork kArtwork[] = {
    {"Background", kPanelWidth, kPanelHeight, 1, [](cairo_t* cr, int, int) { PaintBackground(cr); }},
    {"Knob", kKnobSize, kKnobSize, 240,
     [](cairo_t* cr, int f, int n) { PaintKnob(cr, kKnobSize, Position(f, n)); }},
    {"KnobSmall", kSmallKnobSize, kSmallKnobSize, 240,
     [](cairo_t* cr, int f, int n) { PaintKnob(cr, kSmallKnobSize, Position(f, n)); }},
    {"PowerSwitch", kPowerSize, kPowerSize, 2, [](cairo_t* cr, int f, int) { PaintPowerSwitch(cr, f == 1); }},
    {"LimitSwitch", kLimitSize, kLimitSize, 2, [](cairo_t* cr, int f, int) { PaintLimitSwitch(cr, f == 1); }},
    {"MeterFrame", kMeterWidth, kMeterHeight, 1, [](cairo_t* cr, int, int) { PaintMeterFrame(cr); }},
    {"MeterCap", kMeterWidth, kMeterHeight, 1, [](cairo_t* cr, int, int) { PaintMeterCap(cr); }},
    {"MeterNeedle", kMeterWidth, kMeterHeight, 240,
     [](cairo_t* cr, int f, int n) { PaintNeedle(cr, Position(f, n)); }},
    // The lamp going dark starts fully lit; the lamp coming on starts dark.
    {"LampOff", kMeterWidth, kMeterHeight, 60,
     [](cairo_t* cr, int f, int n) { PaintStatusLamp(cr, 1.0 - Position(f, n), true); }},
    {"LampOn", kMeterWidth, kMeterHeight, 60,
     [](cairo_t* cr, int f, int n) { PaintStatusLamp(cr, Position(f, n), false); }},
    {"GreenLed", kLedSize, kLedSize, 2, [](cairo_t* cr, int f, int) { PaintClipLed(cr, false, f == 1); }},
    {"RedLed", kLedSize, kLedSize, 2, [](cairo_t* cr, int f, int) { PaintClipLed(cr, true, f == 1); }},
    {"PresCompFace", kMeterWidth, kMeterHeight, 1,
     [](cairo_t* cr, int, int) { PaintMeterFace(cr, "PRES COMP"); }},
    {"FinalCompFace", kMeterWidth, kMeterHeight, 1,
     [](cairo_t* cr, int, int) { PaintMeterFace(cr, "FINAL COMP"); }},
    {"ModeA", kModeSize, kModeSize, 2, [](cairo_t* cr, int f, int) { PaintModeButton(cr, "A", f == 1); }},
    {"ModeB", kModeSize, kModeSize, 2, [](cairo_t* cr, int f, int) { PaintModeButton(cr, "B", f == 1); }},
    {"ModeC", kModeSize, kModeSize, 2, [](cairo_t* cr, int f, int) { PaintModeButton(cr, "C", f == 1); }},
    {"ModeD", kModeSize, kModeSize, 2, [](cairo_t* cr, int f, int) { PaintModeButton(cr, "D", f == 1); }},
};

}  // namespace

const Artwork* FindArtwork(const std::string& name) {
  for (const Artwork& artwork : kArtwork)
    if (name == artwork.name) return &artwork;
  return nullptr;
}

SurfacePtr RenderStrip(const Artwork& artwork) {
  SurfacePtr strip = NewSurface(artwork.width, artwork.frameHeight * artwork.frames);
  ContextPtr cr = NewContext(strip.get());
  for (int f = 0; f < artwork.frames; ++f) {
    cairo_save(cr.get());
    cairo_translate(cr.get(), 0, f * artwork.frameHeight);
    cairo_rectangle(cr.get(), 0, 0, artwork.width, artwork.frameHeight);
    cairo_clip(cr.get());
    artwork.paint(cr.get(), f, artwork.frames);
    cairo_restore(cr.get());
  }
  return strip;
}

}  // namespace brel::artwork
