// Running mean of the last window − 1 inputs, kept as a running sum over a DelayLine.
#pragma once

#include <cmath>

#include "engine/dsp/DelayLine.h"
#include "engine/dsp/DspMath.h"

class MovingAverage {
public:
  double Process(double input, int window) {
    SetWindow(window);
    return Step(input, window);
  }

  // Process in two halves, as DelayLine's: SetWindow once, then Step per sample at that window.
  void SetWindow(int window) {
    if (window != mCachedWindow) {
      mCachedWindow = window;
      mDelay.Clear();
      mSum = 0.0;
    }
    if (window > 1) mDelay.SetLength(window);
  }
  double Step(double input, int window) {
    if (window <= 1) return input;
    const double old = mDelay.Step(input, window);
    mSum = input + mSum - old;
    // An infinite input would leave the running sum at inf or NaN for good (inf − inf); rebuilding
    // it from the stored samples makes the mean exact again as soon as the bad sample leaves the window.
    if (!std::isfinite(mSum)) RebuildSum();
    const double r = mSum / (window - 1);
    return dsp::IsZeroOrSubnormal(r) ? 0.0 : r;
  }

  double Sum() const { return mSum; }

private:
  void RebuildSum();

  DelayLine mDelay;
  double mSum = 0.0;
  int mCachedWindow = 0;
};
