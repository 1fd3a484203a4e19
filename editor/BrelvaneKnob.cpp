#include "editor/BrelvaneKnob.h"

#include "editor/IGraphics.h"

BrelvaneKnob::BrelvaneKnob(IPlugBase* plug, int x, int y, int paramIndex, const BitmapStrip& strip)
    : IKnobMultiControl(plug, x, y, paramIndex, strip, kVertical, kGearing, BlendSpec{0, 1.0f}) {}

void BrelvaneKnob::OnMouseDrag(int x, int y, int dx, int dy, const MouseModifiers& mods) {
  IKnobMultiControl::OnMouseDrag(x, y, dx, dy, mods);
}

void BrelvaneKnob::OnMouseWheel(int x, int y, const MouseModifiers& mods, int notches) {
  IKnobMultiControl::OnMouseWheel(x, y, mods, notches);
}

int BrelvaneKnob::FrameFor(double value, int frames) {
  const double position = (frames - 1) * value + 0.5;
  if (!(position >= 0.0)) return 1;  // below the first frame, or NaN
  if (position >= frames) return frames;
  const int k = static_cast<int>(position);
  return k + 1 < frames ? k + 1 : frames;
}

bool BrelvaneKnob::Draw(IGraphics& graphics) {
  return graphics.DrawBitmapFrame(mStrip, mRect, FrameFor(mValue, mStrip.frames), mBlend);
}
