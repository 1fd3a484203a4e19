// Running mean of the last window − 1 inputs, kept as a running sum over a DelayLine.
#pragma once

#include <cmath>

#include "engine/dsp/DelayLine.h"
#include "engine/dsp/DspMath.h"

class MovingAverage {
public:
  double process(double input, int window) {
    if (window != cachedWindow_) {
      cachedWindow_ = window;
      delay_.clear();
      sum_ = 0.0;
    }
    if (window <= 1) return input;
    const double old = delay_.process(input, window);
    sum_ = input + sum_ - old;
    // An infinite input would leave the running sum at inf or NaN for good (inf − inf); rebuilding
    // it from the stored samples makes the mean exact again as soon as the bad sample leaves the window.
    if (!std::isfinite(sum_)) rebuildSum();
    const double r = sum_ / (window - 1);
    return dsp::IsZeroOrSubnormal(r) ? 0.0 : r;
  }

  double sum() const { return sum_; }

private:
  void rebuildSum();

  DelayLine delay_;
  double sum_ = 0.0;
  int cachedWindow_ = 0;
};
