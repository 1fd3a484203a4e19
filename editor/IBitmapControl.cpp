#include "editor/IBitmapControl.h"

#include "editor/IGraphics.h"

Rect FrameRect(int x, int y, const BitmapStrip& strip) {
  const int frames = strip.frames < 1 ? 1 : strip.frames;
  return Rect{x, y, x + strip.width, y + strip.height / frames};
}

IBitmapControl::IBitmapControl(IPlugBase* plug, int x, int y, int paramIndex, const BitmapStrip& strip,
                               const BlendSpec& blend)
    : IControl(plug, FrameRect(x, y, strip), paramIndex, blend), mStrip(strip) {}

bool IBitmapControl::Draw(IGraphics& graphics) {
  return graphics.DrawBitmapFrame(mStrip, mRect, FrameForValue(mValue, mStrip.frames), mBlend);
}

void ISwitchControl::OnMouseDown(int x, int y, const MouseModifiers& mods) {
  const int frames = mStrip.frames;
  mValue += frames < 2 ? 1.0 : 1.0 / (frames - 1);
  // The tolerance lets the last step land on 1.0 despite rounding (1/3 + 1/3 + 1/3).
  if (mValue > 1.001) mValue = 0.0;
  MarkDirty(true);
}
