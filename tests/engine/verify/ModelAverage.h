// Model of the running mean: a running sum over a delay of window samples, divided by window − 1.
#pragma once

#include "tests/engine/verify/ModelDelay.h"
#include "tests/engine/verify/ModelRules.h"

namespace model {

class ModelAverage {
public:
  double Process(double input, int window) {
    if (window != mWindow) Restart(window);
    if (window <= 1) return input;
    const double old = mDelay.Process(input, window);
    mSum = input + mSum - old;
    const double r = mSum / (window - 1);
    return ZeroOrSubnormal(r) ? 0.0 : r;
  }

private:
  void Restart(int window) {
    mWindow = window;
    mDelay.Zero();
    mSum = 0.0;
  }

  ModelDelay mDelay;
  double mSum = 0.0;
  int mWindow = 0;
};

}  // namespace model
