// One-pole envelope follower of |input| with separate rise and fall times; the limiters use it
// to move their gain, the meters to shape the needle.
#pragma once

#include <cfloat>

#include "engine/dsp/DspMath.h"

class EnvelopeFollower {
public:
  double process(double input, int sampleRate, double riseMs, double fallMs) {
    double x = std::fabs(input);
    // An infinite or NaN input counts as the largest finite magnitude: the value then stays finite
    // (it is always between its old value and x) and falls back normally once the input is sane.
    if (!(x <= DBL_MAX)) x = DBL_MAX;
    if (dsp::Changed(riseMs, cachedRise_) || dsp::Changed(fallMs, cachedFall_) || sampleRate != cachedRate_) {
      riseCoefficient_ = dsp::OnePoleCoefficient(riseMs, sampleRate);
      fallCoefficient_ = dsp::OnePoleCoefficient(fallMs, sampleRate);
      cachedRise_ = riseMs;
      cachedFall_ = fallMs;
      cachedRate_ = sampleRate;
    }
    const double c = x > value_ ? riseCoefficient_ : fallCoefficient_;
    value_ = (value_ - x) * c + x;
    return value_;
  }

  double value() const { return value_; }

private:
  double value_ = 0.0;
  double riseCoefficient_ = 0.0;
  double fallCoefficient_ = 0.0;
  double cachedRise_ = 0.0;
  double cachedFall_ = 0.0;
  int cachedRate_ = 0;
};
