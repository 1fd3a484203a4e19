#include "tools/artwork/ArtworkSet.h"

#include <algorithm>
#include <utility>

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

std::vector<cairo_surface_t*> Strip::Bands() const {
  std::vector<cairo_surface_t*> surfaces;
  for (const SurfacePtr& band : bands) surfaces.push_back(band.get());
  return surfaces;
}

Strip RenderStrip(const Artwork& artwork, int scale) {
  constexpr int kMaxSurfaceRows = 32767;
  Strip strip{{}, std::max(1, std::min(artwork.frames, kMaxSurfaceRows / (artwork.frameHeight * scale)))};
  for (int first = 0; first < artwork.frames; first += strip.framesPerBand) {
    const int count = std::min(strip.framesPerBand, artwork.frames - first);
    SurfacePtr band = NewSurface(artwork.width, artwork.frameHeight * count, scale);
    ContextPtr cr = NewContext(band.get());
    for (int f = first; f < first + count; ++f) {
      cairo_save(cr.get());
      cairo_translate(cr.get(), 0, (f - first) * artwork.frameHeight);
      cairo_rectangle(cr.get(), 0, 0, artwork.width, artwork.frameHeight);
      cairo_clip(cr.get());
      artwork.paint(cr.get(), f, artwork.frames);
      cairo_restore(cr.get());
    }
    strip.bands.push_back(std::move(band));
  }
  return strip;
}

}  // namespace brel::artwork
