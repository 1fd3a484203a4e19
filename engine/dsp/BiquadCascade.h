// One to four identical second-order low- or high-pass sections in transposed direct form II,
// with coefficients recomputed only when rate, type, frequency or Q change, and a periodic sweep
// that clears infinite or NaN memories so one bad sample cannot silence the filter for good.
#pragma once

#include <cmath>

#include "engine/dsp/DenormalScope.h"
#include "engine/dsp/DspMath.h"
#include "engine/dsp/FilterType.h"

class BiquadCascade {
public:
  static constexpr int kMaxSections = 4;

  // sectionsSelector 0..3 runs 1..4 sections (values outside are held to that range).
  // Subnormals are flushed for the duration of the call.
  double process(double input, double frequency, double q, double sampleRate, FilterType type,
                 int sectionsSelector) {
    const DenormalScope flushDenormals;
    return processFlushed(input, frequency, q, sampleRate, type, sectionsSelector);
  }

  // The same, for a caller that already holds a DenormalScope around a run of filter calls with no
  // other arithmetic between them: the results are identical, the mode is switched once per run.
  double processFlushed(double input, double frequency, double q, double sampleRate, FilterType type,
                        int sectionsSelector) {
    if (checkCounter_-- < 0) {
      checkCounter_ = 10;
      clearNonFinite();
    }
    if (dsp::Changed(sampleRate, cachedRate_) || static_cast<int>(type) != cachedType_ ||
        dsp::Changed(frequency, cachedFrequency_) || dsp::Changed(q, cachedQ_)) {
      recompute(frequency, q, sampleRate, type);
    }
    const int sections = sectionsSelector < 0   ? 1
                         : sectionsSelector > 3 ? kMaxSections
                                                : sectionsSelector + 1;
    double x = input;
    for (int s = 0; s < sections; ++s) {
      double& z1 = memory_[2 * s];
      double& z2 = memory_[2 * s + 1];
      const double y = b0_ * x + z1;
      z1 = b1_ * x + z2 - a1_ * y;
      z2 = b2_ * x - a2_ * y;
      x = y;
    }
    lastOutput_ = x;
    return x;
  }

  // The rational tangent approximation used for the prewarped frequency.
  static double padeTan(double w);

  double lastOutput() const { return lastOutput_; }
  double memory(int index) const { return memory_[index]; }
  double b0() const { return b0_; }
  double b1() const { return b1_; }
  double b2() const { return b2_; }
  double a1() const { return a1_; }
  double a2() const { return a2_; }

  // Lets a test plant a corrupted state, as a burst of overflowing input would leave it.
  void setMemoryForTest(int index, double value) { memory_[index] = value; }

private:
  void recompute(double frequency, double q, double sampleRate, FilterType type);
  void clearNonFinite();

  double lastOutput_ = 0.0;
  double cachedRate_ = 0.0;
  double cachedFrequency_ = 0.0;
  double cachedQ_ = 0.0;
  double memory_[2 * kMaxSections] = {};
  double b0_ = 0.0;
  double b1_ = 0.0;
  double b2_ = 0.0;
  double a1_ = 0.0;
  double a2_ = 0.0;
  int checkCounter_ = 1;
  int cachedType_ = 0;
};
