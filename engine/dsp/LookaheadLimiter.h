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
    SetUp(threshold, attackMs, recoveryMs, lookaheadMs, sampleRate);
    return Step(left, right);
  }

  // Process in two halves, for a caller that runs many samples with the same settings: SetUp once,
  // then Step per sample. SetUp does everything that depends on the settings alone (the window
  // length, resizing the window and delays, the follower's coefficients); repeating it before
  // every Step would change nothing once the first Step has run, so the split keeps every result.
  void SetUp(double threshold, double attackMs, double recoveryMs, double lookaheadMs, int sampleRate) {
    const int n = WindowLength(lookaheadMs, sampleRate);
    mThreshold = threshold;
    mLength = n;
    if (mPosition >= n) {
      // Only a length change (or a pass with no look-ahead) moves the write position like this; the
      // window then starts overwriting from 0 again, and what was known about its halves is stale.
      mPosition = 0;
      ForgetHalves();
    }
    if (n > 0 && n != mWindowLength) ResetWindow(n);
    mAverage.SetWindow(n);
    mFollower.SetTimes(sampleRate, recoveryMs, attackMs);
    mLeftDelay.SetLength(n);
    mRightDelay.SetLength(n);
  }
  double Step(double left, double right) {
    const int n = mLength;
    double m = std::max(std::fabs(left), std::fabs(right));
    if (n > 0) m = HoldPeak(m, n);
    const double target = m > mThreshold ? mThreshold / m : 1.0;
    const double averaged = mAverage.Step(target, n);
    mGain = mFollower.Step(averaged);
    mLeft = mLeftDelay.Step(left, n) * mGain;
    mRight = mRightDelay.Step(right, n) * mGain;
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
  // The largest magnitude in the window (NaN counts as absent) and the window position holding it:
  // the latest to reach it, or once that one has been overwritten, the highest position holding
  // the new maximum.
  double HeldPeak() const { return mHeldPeak; }
  int HeldIndex() const { return mHeldIndex; }
  int WindowSize() const { return mWindowLength; }

private:
  // Records m in the peak window and returns the largest of the last n magnitudes.
  double HoldPeak(double m, int n) {
    mWindow[static_cast<std::size_t>(mPosition)] = m;
    if (m >= mHeldPeak) {
      mHeldIndex = mPosition;
      mHeldPeak = m;
    } else if (mPosition == mHeldIndex) {
      m = Rescan();
    } else {
      m = mHeldPeak;
    }
    if (++mPosition == n) {
      mPosition = 0;
      ForgetHalves();
    }
    return m;
  }

  // The window is overwritten in position order, so between two wraps of the write position it
  // consists of two halves: positions up to the write position hold this pass's samples, the
  // positions above it the previous pass's, which no longer change until the write position
  // wraps. A rescan combines the maximum of each half; both are computed only when a rescan needs
  // them and kept until the wrap: the lower half's is extended by the samples written since, the
  // upper half's maxima are found once for every suffix of the window. A pass of n samples thus
  // reads every sample at most twice however many rescans it needs, where a whole-window scan per
  // rescan cost n per sample on a steadily decaying tail. Every maximum found is one of the stored
  // magnitudes, chosen by the same comparisons, so the held peak and its index are the same.
  struct Peak {
    double magnitude;  // -1 when the range holds nothing but NaN (or nothing at all)
    int index;
  };
  void ForgetHalves() {
    mLowerHalf = {-1.0, 0};
    mLowerHalfEnd = 0;
    mUpperHalfFrom = mWindowLength;
  }

  void ResetWindow(int n);
  double Rescan();

  double mLeft = 0.0;
  double mRight = 0.0;
  double mGain = 1.0;
  double mThreshold = 1.0;  // the settings of the last SetUp
  int mLength = 0;
  std::vector<double> mWindow;
  // mSuffixPeaks[i]: the maximum of window positions i to n − 1, valid from mUpperHalfFrom up.
  std::vector<Peak> mSuffixPeaks;
  Peak mLowerHalf{-1.0, 0};  // the maximum of positions 0 to mLowerHalfEnd − 1
  int mLowerHalfEnd = 0;
  int mUpperHalfFrom = 0;
  int mPosition = 0;
  int mWindowLength = 0;
  double mHeldPeak = 0.0;
  int mHeldIndex = 0;
  DelayLine mLeftDelay;
  DelayLine mRightDelay;
  MovingAverage mAverage;
  EnvelopeFollower mFollower;
};
