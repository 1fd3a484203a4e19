#include "engine/dsp/LookaheadLimiter.h"

LookaheadLimiter::LookaheadLimiter() { mWindow.reserve(DelayLine::kReservedLength); }

// The held peak and its index describe the old window's contents, so they are cleared with it:
// otherwise a loud peak from before a mode change could hold the gain down (or point past the end
// of a shorter window) until a sample at least as large arrived.
void LookaheadLimiter::ResetWindow(int n) {
  mWindow.assign(static_cast<std::size_t>(n), 0.0);
  mWindowLength = n;
  mHeldPeak = 0.0;
  mHeldIndex = 0;
}

// The held peak has just been overwritten by a smaller sample: find the new maximum. Among equal
// values the last one wins, so the hold lasts as long as possible.
double LookaheadLimiter::Rescan() {
  double maximum = 0.0;
  for (int i = 0; i < mWindowLength; ++i) {
    const double v = mWindow[static_cast<std::size_t>(i)];
    if (v >= maximum) {
      maximum = v;
      mHeldIndex = i;
    }
  }
  mHeldPeak = maximum;
  return maximum;
}
