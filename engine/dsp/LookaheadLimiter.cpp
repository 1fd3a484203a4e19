#include "engine/dsp/LookaheadLimiter.h"

LookaheadLimiter::LookaheadLimiter() { window_.reserve(DelayLine::kReservedLength); }

// The held peak and its index describe the old window's contents, so they are cleared with it:
// otherwise a loud peak from before a mode change could hold the gain down (or point past the end
// of a shorter window) until a sample at least as large arrived.
void LookaheadLimiter::resetWindow(int n) {
  window_.assign(static_cast<std::size_t>(n), 0.0);
  windowLength_ = n;
  heldPeak_ = 0.0;
  heldIndex_ = 0;
}

// The held peak has just been overwritten by a smaller sample: find the new maximum. Among equal
// values the last one wins, so the hold lasts as long as possible.
double LookaheadLimiter::rescan() {
  double maximum = 0.0;
  for (int i = 0; i < windowLength_; ++i) {
    const double v = window_[static_cast<std::size_t>(i)];
    if (v >= maximum) {
      maximum = v;
      heldIndex_ = i;
    }
  }
  heldPeak_ = maximum;
  return maximum;
}
