// Model of the stereo-linked look-ahead limiter: held peak of the last n inputs, gain target,
// its running mean, a follower with attack and recovery, and the audio delayed by n − 1 samples.
#pragma once

#include <vector>

#include "tests/engine/verify/ModelAverage.h"
#include "tests/engine/verify/ModelDelay.h"
#include "tests/engine/verify/ModelFollower.h"

namespace model {

class ModelLimiter {
public:
  double Process(double left, double right, double threshold, double attackMs, double recoveryMs,
                 double lookaheadMs, int rate);

  static int WindowLength(double lookaheadMs, int rate);

  double left() const { return left_; }
  double right() const { return right_; }
  double gain() const { return gain_; }
  double heldPeak() const { return heldPeak_; }
  int heldIndex() const { return heldIndex_; }

private:
  double HoldPeak(double m, int n);
  void ResetWindow(int n);
  void Rescan();

  double left_ = 0.0;
  double right_ = 0.0;
  double gain_ = 1.0;
  std::vector<double> window_;
  int windowPosition_ = 0;
  int windowLength_ = 0;
  double heldPeak_ = 0.0;
  int heldIndex_ = 0;
  ModelDelay leftDelay_;
  ModelDelay rightDelay_;
  ModelAverage gainAverage_;
  ModelFollower gainFollower_;
};

}  // namespace model
