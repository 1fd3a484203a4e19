// One-pole envelope follower of |input| with separate rise and fall times; the limiters use it
// to move their gain, the meters to shape the needle.
#pragma once

#include <cfloat>

#include "engine/dsp/DspMath.h"

class EnvelopeFollower {
public:
  double Process(double input, int sampleRate, double riseMs, double fallMs) {
    SetTimes(sampleRate, riseMs, fallMs);
    return Step(input);
  }

  // Process in two halves, for a caller that runs many samples with the same times: SetTimes
  // once, then Step per sample. Repeating SetTimes with the same times would recompute nothing.
  void SetTimes(int sampleRate, double riseMs, double fallMs) {
    if (dsp::Changed(riseMs, mCachedRise) || dsp::Changed(fallMs, mCachedFall) || sampleRate != mCachedRate) {
      mRiseCoefficient = dsp::OnePoleCoefficient(riseMs, sampleRate);
      mFallCoefficient = dsp::OnePoleCoefficient(fallMs, sampleRate);
      mCachedRise = riseMs;
      mCachedFall = fallMs;
      mCachedRate = sampleRate;
    }
  }
  double Step(double input) {
    double x = std::fabs(input);
    // An infinite or NaN input counts as the largest finite magnitude: the value then stays finite
    // (it is always between its old value and x) and falls back normally once the input is sane.
    if (!(x <= DBL_MAX)) x = DBL_MAX;
    const double c = x > mValue ? mRiseCoefficient : mFallCoefficient;
    mValue = (mValue - x) * c + x;
    return mValue;
  }

  double Value() const { return mValue; }

private:
  double mValue = 0.0;
  double mRiseCoefficient = 0.0;
  double mFallCoefficient = 0.0;
  double mCachedRise = 0.0;
  double mCachedFall = 0.0;
  int mCachedRate = 0;
};
