// How a needle meter moves: a peak hold with a 300 ms decay, then a needle that rises toward it
// with 300 ms and follows a fall at once. Levels are taken as magnitudes up to the meter's end
// stop; a NaN level counts as the end stop, so the needle always stays within [0, end stop] and
// is never NaN, whatever the audio did.
#pragma once

#include <cmath>

#include "engine/dsp/EnvelopeFollower.h"

class MeterBallistics {
public:
  explicit MeterBallistics(double endStop) : mEndStop(endStop) {}

  // The needle after one more level at this rate.
  double pushLevel(double level, int sampleRate) {
    SetRate(sampleRate);
    return Step(level);
  }

  // pushLevel in two halves, for a caller that pushes many levels at one rate: SetRate once, then
  // Step per level.
  void SetRate(int sampleRate) {
    mPeak.SetTimes(sampleRate, 0.0, 300.0);
    mNeedle.SetTimes(sampleRate, 300.0, 0.0);
  }
  double Step(double level) {
    const double magnitude = std::fabs(level);
    const double x = magnitude < mEndStop ? magnitude : mEndStop;
    return mNeedle.Step(mPeak.Step(x));
  }

  double Needle() const { return mNeedle.Value(); }

private:
  double mEndStop;
  EnvelopeFollower mPeak;
  EnvelopeFollower mNeedle;
};
