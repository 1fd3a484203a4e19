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
  double Process(double left, double right, double threshold, double attackMs, double recoveryMs,
                 double lookaheadMs, int sampleRate) {
    const int n = WindowLength(lookaheadMs, sampleRate);
    double m = std::max(std::fabs(left), std::fabs(right));
    if (mPosition >= n) mPosition = 0;
    if (n > 0) m = HoldPeak(m, n);
    const double target = m > threshold ? threshold / m : 1.0;
    const double averaged = mAverage.Process(target, n);
    mGain = mFollower.Process(averaged, sampleRate, recoveryMs, attackMs);
    mLeft = mLeftDelay.Process(left, n) * mGain;
    mRight = mRightDelay.Process(right, n) * mGain;
    return mRight;
  }

  // Window length n in samples for a look-ahead at a rate; 0 means no look-ahead (also for
  // look-aheads too long to count in an int).
  static int WindowLength(double lookaheadMs, int sampleRate) {
    if (lookaheadMs < 1e-10) return 0;
    const double n = sampleRate * lookaheadMs * 0.001;
    return n > 0.0 && n < 2147483647.0 ? static_cast<int>(n) : 0;
  }

  double Left() const { return mLeft; }
  double Right() const { return mRight; }
  double Gain() const { return mGain; }
  double HeldPeak() const { return mHeldPeak; }
  int HeldIndex() const { return mHeldIndex; }
  int WindowSize() const { return mWindowLength; }

private:
  // Records m in the peak window and returns the largest of the last n magnitudes.
  double HoldPeak(double m, int n) {
    if (n != mWindowLength) ResetWindow(n);
    mWindow[static_cast<std::size_t>(mPosition)] = m;
    if (m >= mHeldPeak) {
      mHeldIndex = mPosition;
      mHeldPeak = m;
    } else if (mPosition == mHeldIndex) {
      m = Rescan();
    } else {
      m = mHeldPeak;
    }
    if (++mPosition == n) mPosition = 0;
    return m;
  }

  void ResetWindow(int n);
  double Rescan();

  double mLeft = 0.0;
  double mRight = 0.0;
  double mGain = 1.0;
  std::vector<double> mWindow;
  int mPosition = 0;
  int mWindowLength = 0;
  double mHeldPeak = 0.0;
  int mHeldIndex = 0;
  DelayLine mLeftDelay;
  DelayLine mRightDelay;
  MovingAverage mAverage;
  EnvelopeFollower mFollower;
};
