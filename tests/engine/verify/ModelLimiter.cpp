#include "tests/engine/verify/ModelLimiter.h"

#include <algorithm>
#include <cmath>

namespace model {

int ModelLimiter::WindowLength(double lookaheadMs, int rate) {
  if (lookaheadMs < 1e-10) return 0;
  return static_cast<int>(rate * lookaheadMs * 0.001);
}

double ModelLimiter::Process(double left, double right, double threshold, double attackMs, double recoveryMs,
                             double lookaheadMs, int rate) {
  const int n = WindowLength(lookaheadMs, rate);
  double m = std::max(std::fabs(left), std::fabs(right));
  if (mWindowPosition >= n) mWindowPosition = 0;
  if (n > 0) m = HoldPeak(m, n);
  const double target = m > threshold ? threshold / m : 1.0;
  const double averaged = mGainAverage.Process(target, n);
  mGain = mGainFollower.Process(averaged, rate, recoveryMs, attackMs);
  mLeft = mLeftDelay.Process(left, n) * mGain;
  mRight = mRightDelay.Process(right, n) * mGain;
  return mRight;
}

// Stores m in the window and returns the largest of the last n inputs.
double ModelLimiter::HoldPeak(double m, int n) {
  if (n != mWindowLength) ResetWindow(n);
  mWindow[mWindowPosition] = m;
  if (m >= mHeldPeak) {
    mHeldIndex = mWindowPosition;
    mHeldPeak = m;
  } else if (mWindowPosition == mHeldIndex) {
    Rescan();
  }
  mWindowPosition = mWindowPosition + 1 == n ? 0 : mWindowPosition + 1;
  return mHeldPeak;
}

// The held peak belongs to the window it was found in, so it goes with it.
void ModelLimiter::ResetWindow(int n) {
  mWindow.assign(static_cast<size_t>(n), 0.0);
  mWindowLength = n;
  mHeldPeak = 0.0;
  mHeldIndex = 0;
}

// Whole-window scan from index 0; among equal values the last one wins.
void ModelLimiter::Rescan() {
  double maximum = 0.0;
  int index = mHeldIndex;
  for (int i = 0; i < static_cast<int>(mWindow.size()); ++i) {
    if (mWindow[i] >= maximum) {
      maximum = mWindow[i];
      index = i;
    }
  }
  mHeldPeak = maximum;
  mHeldIndex = index;
}

}  // namespace model
