#include "editor/IKnobControl.h"

#include "editor/IGraphics.h"

IKnobControl::IKnobControl(IPlugBase* plug, const Rect& rect, int paramIndex, int direction, double gearing,
                           const BlendSpec& blend)
    : IControl(plug, rect, paramIndex, blend), mDirection(direction), mGearing(gearing) {}

void IKnobControl::OnMouseDrag(int x, int y, int dx, int dy, const MouseModifiers& mods) {
  double gearing = mGearing;
  if (mods.shift || mods.control) gearing *= 10.0;
  const int span = mDirection == kVertical ? mRect.top - mRect.bottom : mRect.right - mRect.left;
  if (span == 0) return;  // a knob without extent cannot be dragged
  mValue += static_cast<double>(mDirection == kVertical ? dy : dx) / span / gearing;
  MarkDirty(true);
}

void IKnobControl::OnMouseWheel(int x, int y, const MouseModifiers& mods, int notches) {
  mValue += notches * (mods.shift || mods.control ? 0.001 : 0.01);
  MarkDirty(true);
}

IKnobMultiControl::IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIndex, const BitmapStrip& strip,
                                     int direction, double gearing, const BlendSpec& blend)
    : IKnobControl(plug, FrameRect(x, y, strip), paramIndex, direction, gearing, blend), mStrip(strip) {}

bool IKnobMultiControl::Draw(IGraphics& graphics) {
  return graphics.DrawBitmapFrame(mStrip, mRect, FrameForValue(mValue, mStrip.frames), mBlend);
}
