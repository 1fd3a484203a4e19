// Stereo-linked look-ahead peak limiter: the peak of the last n samples sets a gain target, its
// mean over n − 1 samples is followed with attack/recovery times, and the audio is delayed by n − 1
// samples so every gain applied to a sample was computed from a window that held that sample.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/dsp/DelayLine.h"
#include "engine/dsp/EnvelopeFollower.h"
#include "engine/dsp/MovingAverage.h"

class LookaheadLimiter {
public:
  LookaheadLimiter();

  // Returns the right output; both outputs and the gain stay readable until the next call.
  double process(double left, double right, double threshold, double attackMs, double recoveryMs,
                 double lookaheadMs, int sampleRate) {
    const int n = windowLength(lookaheadMs, sampleRate);
    double m = std::max(std::fabs(left), std::fabs(right));
    if (position_ >= n) position_ = 0;
    if (n > 0) m = holdPeak(m, n);
    const double target = m > threshold ? threshold / m : 1.0;
    const double averaged = average_.process(target, n);
    gain_ = follower_.process(averaged, sampleRate, recoveryMs, attackMs);
    left_ = leftDelay_.process(left, n) * gain_;
    right_ = rightDelay_.process(right, n) * gain_;
    return right_;
  }

  // Window length n in samples for a look-ahead at a rate; 0 means no look-ahead (also for
  // look-aheads too long to count in an int).
  static int windowLength(double lookaheadMs, int sampleRate) {
    if (lookaheadMs < 1e-10) return 0;
    const double n = sampleRate * lookaheadMs * 0.001;
    return n > 0.0 && n < 2147483647.0 ? static_cast<int>(n) : 0;
  }

  double left() const { return left_; }
  double right() const { return right_; }
  double gain() const { return gain_; }
  double heldPeak() const { return heldPeak_; }
  int heldIndex() const { return heldIndex_; }
  int windowSize() const { return windowLength_; }

private:
  // Records m in the peak window and returns the largest of the last n magnitudes.
  double holdPeak(double m, int n) {
    if (n != windowLength_) resetWindow(n);
    window_[static_cast<std::size_t>(position_)] = m;
    if (m >= heldPeak_) {
      heldIndex_ = position_;
      heldPeak_ = m;
    } else if (position_ == heldIndex_) {
      m = rescan();
    } else {
      m = heldPeak_;
    }
    if (++position_ == n) position_ = 0;
    return m;
  }

  void resetWindow(int n);
  double rescan();

  double left_ = 0.0;
  double right_ = 0.0;
  double gain_ = 1.0;
  std::vector<double> window_;
  int position_ = 0;
  int windowLength_ = 0;
  double heldPeak_ = 0.0;
  int heldIndex_ = 0;
  DelayLine leftDelay_;
  DelayLine rightDelay_;
  MovingAverage average_;
  EnvelopeFollower follower_;
};
