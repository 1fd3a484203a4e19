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
    if (snap / range > std::fabs(t - state_)) return target;
    state_ = (state_ - t) * coefficient_ + t;
    return Denormalise(minimum, range);
  }

  double state() const { return state_; }

private:
  void RefreshCoefficient(double ms, int rate) {
    if (!RealChanged(ms, cachedMs_) && rate == cachedRate_) return;
    coefficient_ = TimeCoefficient(ms, rate);
    cachedMs_ = ms;
    cachedRate_ = rate;
  }

  double Denormalise(double minimum, double range) {
    if (ZeroOrSubnormal(state_)) {
      state_ = 0.0;
      return minimum;
    }
    return state_ * range + minimum;
  }

  double state_ = 0.0;
  double coefficient_ = 0.0;
  double cachedMs_ = 0.0;
  int cachedRate_ = 0;
};

}  // namespace model
