// Glides a control value toward its target with a one-pole filter, computed in units normalised
// to [minimum, maximum], snapping to the exact target once the remaining distance is below a threshold.
#pragma once

#include "engine/dsp/DspMath.h"

class ParamSmoother {
public:
  // minimum and maximum only scale the glide, the snap test and the flush to zero; they do not clamp.
  double Process(double target, int sampleRate, double timeMs, double minimum, double maximum,
                 double snapThreshold) {
    bool snapped;
    return Step(target, sampleRate, timeMs, minimum, maximum, snapThreshold, snapped);
  }

  // The results of count calls of Process with the same arguments, into out. A call that snaps
  // changes nothing (the coefficient was already cached for these arguments and the state is left
  // alone), so every later call with the same arguments snaps again and returns the target: the
  // rest of the run is the target without calling again.
  void ProcessRun(double target, int sampleRate, double timeMs, double minimum, double maximum,
                  double snapThreshold, double* out, int count) {
    for (int i = 0; i < count; ++i) {
      bool snapped;
      out[i] = Step(target, sampleRate, timeMs, minimum, maximum, snapThreshold, snapped);
      if (snapped) {
        for (int j = i + 1; j < count; ++j) out[j] = target;
        return;
      }
    }
  }

  double State() const { return mState; }
  double Coefficient() const { return mCoefficient; }

private:
  double Step(double target, int sampleRate, double timeMs, double minimum, double maximum,
              double snapThreshold, bool& snapped) {
    if (dsp::Changed(timeMs, mCachedTime) || sampleRate != mCachedRate) {
      mCoefficient = dsp::OnePoleCoefficient(timeMs, sampleRate);
      mCachedTime = timeMs;
      mCachedRate = sampleRate;
    }
    const double range = maximum - minimum;
    const double t = (target - minimum) / range;
    // Within the threshold the target itself is returned and the state is left alone, so a settled
    // smoother yields its target bit for bit (a settled "Power" of 0 is exactly 0).
    snapped = snapThreshold / range > std::fabs(t - mState);
    if (snapped) return target;
    mState = (mState - t) * mCoefficient + t;
    if (dsp::IsZeroOrSubnormal(mState)) {
      mState = 0.0;
      return minimum;
    }
    return mState * range + minimum;
  }

  double mState = 0.0;
  double mCoefficient = 0.0;
  double mCachedTime = 0.0;
  int mCachedRate = 0;
};
