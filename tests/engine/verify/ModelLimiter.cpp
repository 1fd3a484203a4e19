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
  if (windowPosition_ >= n) windowPosition_ = 0;
  if (n > 0) m = HoldPeak(m, n);
  const double target = m > threshold ? threshold / m : 1.0;
  const double averaged = gainAverage_.Process(target, n);
  gain_ = gainFollower_.Process(averaged, rate, recoveryMs, attackMs);
  left_ = leftDelay_.Process(left, n) * gain_;
  right_ = rightDelay_.Process(right, n) * gain_;
  return right_;
}

// Stores m in the window and returns the largest of the last n inputs.
double ModelLimiter::HoldPeak(double m, int n) {
  if (n != windowLength_) ResetWindow(n);
  window_[windowPosition_] = m;
  if (m >= heldPeak_) {
    heldIndex_ = windowPosition_;
    heldPeak_ = m;
  } else if (windowPosition_ == heldIndex_) {
    Rescan();
  }
  windowPosition_ = windowPosition_ + 1 == n ? 0 : windowPosition_ + 1;
  return heldPeak_;
}

// The held peak belongs to the window it was found in, so it goes with it.
void ModelLimiter::ResetWindow(int n) {
  window_.assign(static_cast<size_t>(n), 0.0);
  windowLength_ = n;
  heldPeak_ = 0.0;
  heldIndex_ = 0;
}

// Whole-window scan from index 0; among equal values the last one wins.
void ModelLimiter::Rescan() {
  double maximum = 0.0;
  int index = heldIndex_;
  for (int i = 0; i < static_cast<int>(window_.size()); ++i) {
    if (window_[i] >= maximum) {
      maximum = window_[i];
      index = i;
    }
  }
  heldPeak_ = maximum;
  heldIndex_ = index;
}

}  // namespace model
