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

  double Left() const { return mLeft; }
  double Right() const { return mRight; }
  double Gain() const { return mGain; }
  double HeldPeak() const { return mHeldPeak; }
  int HeldIndex() const { return mHeldIndex; }

private:
  double HoldPeak(double m, int n);
  void ResetWindow(int n);
  void Rescan();

  double mLeft = 0.0;
  double mRight = 0.0;
  double mGain = 1.0;
  std::vector<double> mWindow;
  int mWindowPosition = 0;
  int mWindowLength = 0;
  double mHeldPeak = 0.0;
  int mHeldIndex = 0;
  ModelDelay mLeftDelay;
  ModelDelay mRightDelay;
  ModelAverage mGainAverage;
  ModelFollower mGainFollower;
};

}  // namespace model
