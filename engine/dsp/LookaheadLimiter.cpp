#include "engine/dsp/LookaheadLimiter.h"

LookaheadLimiter::LookaheadLimiter() {
  mWindow.reserve(DelayLine::kReservedLength);
  mSuffixPeaks.reserve(DelayLine::kReservedLength);
}

// The held peak and its index describe the old window's contents, so they are cleared with it:
// otherwise a loud peak from before a mode change could hold the gain down (or point past the end
// of a shorter window) until a sample at least as large arrived.
void LookaheadLimiter::ResetWindow(int n) {
  mWindow.assign(static_cast<std::size_t>(n), 0.0);
  mSuffixPeaks.resize(static_cast<std::size_t>(n));
  mWindowLength = n;
  mHeldPeak = 0.0;
  mHeldIndex = 0;
  ForgetHalves();
}

// The held peak has just been overwritten by a smaller sample: find the new maximum, as a scan of
// the whole window from position 0 would that takes every element at least as large as the
// maximum so far (starting from 0), so that among equal values the last one wins. A window of
// nothing but NaN gives 0 and leaves the index where it was.
double LookaheadLimiter::Rescan() {
  const double* window = mWindow.data();
  // Lower half: positions 0 to the write position, extended by the samples written since the last
  // rescan of this pass. NaN never compares as at least as large.
  for (int i = mLowerHalfEnd; i <= mPosition; ++i) {
    if (window[i] >= mLowerHalf.magnitude) mLowerHalf = {window[i], i};
  }
  mLowerHalfEnd = mPosition + 1;
  // Upper half: the suffix maxima are found from the top down, an equal value keeping the higher
  // position, once per pass (later rescans of the pass sit higher up and only read them).
  Peak upper{-1.0, 0};
  if (mPosition + 1 < mWindowLength) {
    Peak* suffix = mSuffixPeaks.data();
    for (int i = mUpperHalfFrom - 1; i > mPosition; --i) {
      const Peak above = i + 1 < mWindowLength ? suffix[i + 1] : Peak{-1.0, 0};
      suffix[i] = window[i] > above.magnitude ? Peak{window[i], i} : above;
    }
    if (mUpperHalfFrom > mPosition + 1) mUpperHalfFrom = mPosition + 1;
    upper = suffix[mPosition + 1];
  }
  // The upper half's positions are the higher ones, so it wins a tie.
  const Peak& maximum = upper.magnitude >= mLowerHalf.magnitude ? upper : mLowerHalf;
  if (maximum.magnitude < 0.0) {
    mHeldPeak = 0.0;
  } else {
    mHeldPeak = maximum.magnitude;
    mHeldIndex = maximum.index;
  }
  return mHeldPeak;
}
