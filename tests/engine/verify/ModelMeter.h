// Model of a needle meter's level: clamp at +6 dB, a 300 ms peak decay, then a needle that rises
// with 300 ms and follows a fall at once. Also holds the lamp flag and mode the chain writes.
#pragma once

#include <algorithm>

#include "tests/engine/verify/ModelFollower.h"

namespace model {

class ModelMeter {
public:
  void PushLevel(double level, int rate) {
    const double x = std::min(level, 1.99526);
    const double y = mPeak.Process(x, rate, 0.0, 300.0);
    mLevel = mNeedle.Process(y, rate, 300.0, 0.0);
  }

  double Level() const { return mLevel; }

  bool lamp = false;
  int mode = 0;

private:
  ModelFollower mPeak;
  ModelFollower mNeedle;
  double mLevel = 0.0;
};

}  // namespace model
