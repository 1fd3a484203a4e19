// Model of the one-pole envelope follower of |input| with separate rise and fall times.
#pragma once

#include <cmath>

#include "tests/engine/verify/ModelRules.h"

namespace model {

class ModelFollower {
public:
  double Process(double input, int rate, double riseMs, double fallMs) {
    const double x = std::fabs(input);
    RefreshCoefficients(rate, riseMs, fallMs);
    const double c = x > mValue ? mRise : mFall;  // ties fall
    mValue = (mValue - x) * c + x;
    return mValue;
  }

  double Value() const { return mValue; }

private:
  void RefreshCoefficients(int rate, double riseMs, double fallMs) {
    if (!RealChanged(riseMs, mCachedRiseMs) && !RealChanged(fallMs, mCachedFallMs) && rate == mCachedRate)
      return;
    mRise = TimeCoefficient(riseMs, rate);
    mFall = TimeCoefficient(fallMs, rate);
    mCachedRiseMs = riseMs;
    mCachedFallMs = fallMs;
    mCachedRate = rate;
  }

  double mValue = 0.0;
  double mRise = 0.0;
  double mFall = 0.0;
  double mCachedRiseMs = 0.0;
  double mCachedFallMs = 0.0;
  int mCachedRate = 0;
};

}  // namespace model
