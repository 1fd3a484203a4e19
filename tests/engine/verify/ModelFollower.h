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
    const double c = x > value_ ? rise_ : fall_;  // ties fall
    value_ = (value_ - x) * c + x;
    return value_;
  }

  double value() const { return value_; }

private:
  void RefreshCoefficients(int rate, double riseMs, double fallMs) {
    if (!RealChanged(riseMs, cachedRiseMs_) && !RealChanged(fallMs, cachedFallMs_) && rate == cachedRate_)
      return;
    rise_ = TimeCoefficient(riseMs, rate);
    fall_ = TimeCoefficient(fallMs, rate);
    cachedRiseMs_ = riseMs;
    cachedFallMs_ = fallMs;
    cachedRate_ = rate;
  }

  double value_ = 0.0;
  double rise_ = 0.0;
  double fall_ = 0.0;
  double cachedRiseMs_ = 0.0;
  double cachedFallMs_ = 0.0;
  int cachedRate_ = 0;
};

}  // namespace model
