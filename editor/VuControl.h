#pragma once
// A needle meter with a clip LED and a status lamp that fades in and out. It owns the feed the
// engine publishes to on the audio thread (needle level, lamp flag, mode, all atomics) and reads
// it when it draws; it is redrawn on every editor frame.

#include "core/MeterFeed.h"
#include "editor/IControl.h"
#include "editor/LampFader.h"
#include "editor/MeterGeometry.h"

class VuControl : public IControl {
public:
  static constexpr int kTop = meter::kTop;
  static constexpr int kLampFadeFrames = LampFader::kFrames;
  static constexpr int kLedX = meter::kLedX;
  static constexpr int kLedY = meter::kLedY;

  VuControl(IPlugBase* plug, int x, const BitmapStrip& face, const BitmapStrip& needle,
            const BitmapStrip& frame, const BitmapStrip& cap, const BitmapStrip& offLamp,
            const BitmapStrip& onLamp, const BitmapStrip& greenLed, const BitmapStrip& redLed);
  ~VuControl() override = default;
  bool Draw(IGraphics& graphics) override;
  bool IsDirty() override { return true; }

  MeterFeed& Feed() { return mFeed; }
  const MeterFeed& Feed() const { return mFeed; }
  double LampFade() const { return mLampFade; }
  // What the last drawing pass showed (frames 1-based, 0 before the first pass).
  struct Shown {
    int needleFrame = 0;
    bool ledRed = false;
    int ledFrame = 0;
    bool lampOn = false;
    int lampFrame = 0;
  };
  const Shown& LastShown() const { return mShown; }

  // What a draw shows, for a level, a mode and a fade (1-based frames).
  static int NeedleFrame(double level, int frames);
  static int LedFrame(double level) { return level > 1.0 ? 2 : 1; }
  static bool LedIsRed(int mode) { return mode > 1; }
  static int LampFrame(double value, int frames);

private:
  BitmapStrip mFace;
  BitmapStrip mNeedle;
  BitmapStrip mFrame;
  BitmapStrip mCap;
  BitmapStrip mOffLamp;
  BitmapStrip mOnLamp;
  BitmapStrip mRedLed;
  BitmapStrip mGreenLed;
  double mLampFade = 0.0;
  Shown mShown;
  MeterFeed mFeed;
  LampFader mFade;
};
