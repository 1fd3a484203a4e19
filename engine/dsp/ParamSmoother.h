// Glides a control value toward its target with a one-pole filter, computed in units normalised
// to [minimum, maximum], snapping to the exact target once the remaining distance is below a threshold.
#pragma once

#include "engine/dsp/DspMath.h"

class ParamSmoother {
public:
  // minimum and maximum only scale the glide, the snap test and the flush to zero; they do not clamp.
  double process(double target, int sampleRate, double timeMs, double minimum, double maximum,
                 double snapThreshold) {
    if (dsp::Changed(timeMs, cachedTime_) || sampleRate != cachedRate_) {
      coefficient_ = dsp::OnePoleCoefficient(timeMs, sampleRate);
      cachedTime_ = timeMs;
      cachedRate_ = sampleRate;
    }
    const double range = maximum - minimum;
    const double t = (target - minimum) / range;
    // Within the threshold the target itself is returned and the state is left alone, so a settled
    // smoother yields its target bit for bit (a settled "Power" of 0 is exactly 0).
    if (snapThreshold / range > std::fabs(t - state_)) return target;
    state_ = (state_ - t) * coefficient_ + t;
    if (dsp::IsZeroOrSubnormal(state_)) {
      state_ = 0.0;
      return minimum;
    }
    return state_ * range + minimum;
  }

  double state() const { return state_; }
  double coefficient() const { return coefficient_; }

private:
  double state_ = 0.0;
  double coefficient_ = 0.0;
  double cachedTime_ = 0.0;
  int cachedRate_ = 0;
};
