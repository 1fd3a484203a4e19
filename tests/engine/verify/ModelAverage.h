// Model of the running mean: a running sum over a delay of window samples, divided by window − 1.
#pragma once

#include "tests/engine/verify/ModelDelay.h"
#include "tests/engine/verify/ModelRules.h"

namespace model {

class ModelAverage {
public:
  double Process(double input, int window) {
    if (window != window_) Restart(window);
    if (window <= 1) return input;
    const double old = delay_.Process(input, window);
    sum_ = input + sum_ - old;
    const double r = sum_ / (window - 1);
    return ZeroOrSubnormal(r) ? 0.0 : r;
  }

private:
  void Restart(int window) {
    window_ = window;
    delay_.Zero();
    sum_ = 0.0;
  }

  ModelDelay delay_;
  double sum_ = 0.0;
  int window_ = 0;
};

}  // namespace model
