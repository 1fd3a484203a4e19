#include "editor/VuControl.h"

#include "editor/IBitmapControl.h"
#include "editor/IGraphics.h"

VuControl::VuControl(IPlugBase* plug, int x, const BitmapStrip& face, const BitmapStrip& needle,
                     const BitmapStrip& frame, const BitmapStrip& cap, const BitmapStrip& offLamp,
                     const BitmapStrip& onLamp, const BitmapStrip& greenLed, const BitmapStrip& redLed)
    : IControl(plug, FrameRect(x, kTop, face), -1, BlendSpec{0, 1.0f}),
      mFace(face),
      mNeedle(needle),
      mFrame(frame),
      mCap(cap),
      mOffLamp(offLamp),
      mOnLamp(onLamp),
      mRedLed(redLed),
      mGreenLed(greenLed) {}

int VuControl::NeedleFrame(double level, int frames) {
  // 1.0 (the clip threshold) sits at about -6 dB of the scale; below 0.1 of it the needle rests.
  const double v = level * 0.501187;
  const double x = (v - 0.1) / (1.0 - 0.1);
  // Two quadratic easings, with middle control points 0.99 and 0.53, shape the scale.
  const double y = 1.98 * x * (1.0 - x) + x * x;
  const double z = 1.06 * y * (1.0 - y) + y * y;
  return FrameForValue(z, frames);
}

int VuControl::LampFrame(double value, int frames) { return FrameForValue(value, frames); }

bool VuControl::Draw(IGraphics& graphics) {
  const double level = mFeed.Level();
  const bool lamp = mFeed.Lamp();
  const int mode = mFeed.Mode();

  mShown.needleFrame = NeedleFrame(level, mNeedle.frames);
  mShown.ledRed = LedIsRed(mode);
  mShown.ledFrame = LedFrame(level);
  // One value per drawn frame: a change of the flag takes the fade's window in frames.
  mLampFade = mFade.Step(lamp);
  mShown.lampOn = lamp;
  mShown.lampFrame =
      lamp ? LampFrame(mLampFade, mOnLamp.frames) : LampFrame(1.0 - mLampFade, mOffLamp.frames);

  graphics.DrawBitmapRegion(mFace, mRect, 0, 0, mBlend);
  graphics.DrawBitmapFrame(mNeedle, mRect, mShown.needleFrame, mBlend);
  const BitmapStrip& led = mShown.ledRed ? mRedLed : mGreenLed;
  const int ledLeft = mRect.left + kLedX;
  const int ledTop = mRect.top + kLedY;
  const Rect ledRect{ledLeft, ledTop, ledLeft + led.FrameWidth(), ledTop + led.FrameHeight()};
  graphics.DrawBitmapFrame(led, ledRect, mShown.ledFrame, mBlend);
  graphics.DrawBitmapRegion(mCap, mRect, 0, 0, mBlend);
  graphics.DrawBitmapFrame(mShown.lampOn ? mOnLamp : mOffLamp, mRect, mShown.lampFrame, mBlend);
  graphics.DrawBitmapRegion(mFrame, mRect, 0, 0, mBlend);
  return true;
}
