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
    const double y = peak_.Process(x, rate, 0.0, 300.0);
    level_ = needle_.Process(y, rate, 300.0, 0.0);
  }

  double Level() const { return level_; }

  bool lamp = false;
  int mode = 0;

private:
  ModelFollower peak_;
  ModelFollower needle_;
  double level_ = 0.0;
};

}  // namespace model
