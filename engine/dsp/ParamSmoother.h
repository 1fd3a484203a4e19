// Glides a control value toward its target with a one-pole filter, computed in units normalised
// to [minimum, maximum], snapping to the exact target once the remaining distance is below a threshold.
#pragma once

#include "engine/dsp/DspMath.h"

class ParamSmoother {
public:
  // minimum and maximum only scale the glide, the snap test and the flush to zero; they do not clamp.
  double Process(double target, int sampleRate, double timeMs, double minimum, double maximum,
                 double snapThreshold) {
    if (dsp::Changed(timeMs, mCachedTime) || sampleRate != mCachedRate) {
      mCoefficient = dsp::OnePoleCoefficient(timeMs, sampleRate);
      mCachedTime = timeMs;
      mCachedRate = sampleRate;
    }
    const double range = maximum - minimum;
    const double t = (target - minimum) / range;
    // Within the threshold the target itself is returned and the state is left alone, so a settled
    // smoother yields its target bit for bit (a settled "Power" of 0 is exactly 0).
    if (snapThreshold / range > std::fabs(t - mState)) return target;
    mState = (mState - t) * mCoefficient + t;
    if (dsp::IsZeroOrSubnormal(mState)) {
      mState = 0.0;
      return minimum;
    }
    return mState * range + minimum;
  }

  double State() const { return mState; }
  double Coefficient() const { return mCoefficient; }

private:
  double mState = 0.0;
  double mCoefficient = 0.0;
  double mCachedTime = 0.0;
  int mCachedRate = 0;
};
