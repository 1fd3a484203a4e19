#include "tools/artwork/Composite.h"

#include <cmath>

#include "tools/artwork/ArtworkSet.h"
#include "tools/artwork/Layout.h"
#include "tools/artwork/MeterArt.h"

namespace brel::artwork {

namespace {

struct Stacker {
  cairo_t* cr;
  const std::function<const Strip*(const std::string&)>& strip;
  bool complete = true;

  void Draw(const std::string& name, int frame, double x, double y) {
    const Artwork* artwork = FindArtwork(name);
    const Strip* drawn = strip(name);
    if (!artwork || !drawn) {
      complete = false;
      return;
    }
    cairo_surface_t* band = drawn->bands[frame / drawn->framesPerBand].get();
    const int row = frame % drawn->framesPerBand;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, artwork->width, artwork->frameHeight);
    cairo_clip(cr);
    cairo_set_source_surface(cr, band, x, y - row * artwork->frameHeight);
    cairo_paint(cr);
    cairo_restore(cr);
  }

  void Meter(const char* face, const Box& box, double decibels, bool red, int lampFrame) {
    Draw(face, 0, box.left, box.top);
    Draw("MeterNeedle", static_cast<int>(std::lround(NeedleTravel(decibels) * 239)), box.left, box.top);
    Draw(red ? "RedLed" : "GreenLed", decibels > 0 ? 1 : 0, box.left + kLedLeft, box.top + kLedTop);
    Draw("MeterCap", 0, box.left, box.top);
    Draw("LampOn", lampFrame, box.left, box.top);
    Draw("MeterFrame", 0, box.left, box.top);
  }
};

}  // namespace

bool WriteComposite(const std::function<const Strip*(const std::string&)>& strip, int scale,
                    const std::string& path) {
  SurfacePtr panel = NewSurface(kPanelWidth, kPanelHeight, scale);
  ContextPtr cr = NewContext(panel.get());
  Stacker s{cr.get(), strip};
  s.Draw("Background", 0, 0, 0);
  const double knobPositions[] = {0.62, 0.25, 0.5, 0.4, 0.75, 0.55, 0.5};
  for (int i = 0; i < 7; ++i) {
    const Box& b = kKnobs[i].box;
    const char* name = b.width == kKnobSize ? "Knob" : "KnobSmall";
    s.Draw(name, static_cast<int>(std::lround(knobPositions[i] * 239)), b.left, b.top);
  }
  s.Draw("PowerSwitch", 1, kPowerBox.left, kPowerBox.top);
  s.Draw("LimitSwitch", 1, kPresLimitBox.left, kPresLimitBox.top);
  s.Draw("LimitSwitch", 0, kFinalLimitBox.left, kFinalLimitBox.top);
  s.Meter("PresCompFace", kPresMeterBox, -3.0, false, 59);
  s.Meter("FinalCompFace", kFinalMeterBox, 1.5, false, 59);
  const char* modes[] = {"ModeA", "ModeB", "ModeC", "ModeD"};
  for (int i = 0; i < 4; ++i) s.Draw(modes[i], i == 0 ? 1 : 0, kModeBoxes[i].left, kModeBoxes[i].top);
  return s.complete && WritePng({panel.get()}, path);
}

}  // namespace brel::artwork
