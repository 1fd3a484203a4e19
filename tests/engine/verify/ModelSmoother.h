// Model of the parameter glide: a one-pole step in units normalised to [minimum, maximum], with a
// snap to the exact target and a flush of a vanishing state.
#pragma once

#include <cmath>

#include "tests/engine/verify/ModelRules.h"

namespace model {

class ModelSmoother {
public:
  double Process(double target, int rate, double ms, double minimum, double maximum, double snap) {
    RefreshCoefficient(ms, rate);
    const double range = maximum - minimum;
    const double t = (target - minimum) / range;
    if (snap / range > std::fabs(t - mState)) return target;
    mState = (mState - t) * mCoefficient + t;
    return Denormalise(minimum, range);
  }

  double State() const { return mState; }

private:
  void RefreshCoefficient(double ms, int rate) {
    if (!RealChanged(ms, mCachedMs) && rate == mCachedRate) return;
    mCoefficient = TimeCoefficient(ms, rate);
    mCachedMs = ms;
    mCachedRate = rate;
  }

  double Denormalise(double minimum, double range) {
    if (ZeroOrSubnormal(mState)) {
      mState = 0.0;
      return minimum;
    }
    return mState * range + minimum;
  }

  double mState = 0.0;
  double mCoefficient = 0.0;
  double mCachedMs = 0.0;
  int mCachedRate = 0;
};

}  // namespace model
