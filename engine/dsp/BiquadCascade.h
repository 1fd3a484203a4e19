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
  double Process(double input, double frequency, double q, double sampleRate, FilterType type,
                 int sectionsSelector) {
    const DenormalScope flushDenormals;
    return ProcessFlushed(input, frequency, q, sampleRate, type, sectionsSelector);
  }

  // The same, for a caller that already holds a DenormalScope around a run of filter calls with no
  // other arithmetic between them: the results are identical, the mode is switched once per run.
  double ProcessFlushed(double input, double frequency, double q, double sampleRate, FilterType type,
                        int sectionsSelector) {
    if (mCheckCounter-- < 0) {
      mCheckCounter = 10;
      ClearNonFinite();
    }
    UpdateCoefficients(frequency, q, sampleRate, type);
    const int sections = Sections(sectionsSelector);
    double x = input;
    for (int s = 0; s < sections; ++s) {
      double& z1 = mMemory[2 * s];
      double& z2 = mMemory[2 * s + 1];
      const double y = mB0 * x + z1;
      z1 = mB1 * x + z2 - mA1 * y;
      z2 = mB2 * x - mA2 * y;
      x = y;
    }
    mLastOutput = x;
    return x;
  }

  // Recomputes the coefficients when the rate, the type, the frequency or Q changed.
  void UpdateCoefficients(double frequency, double q, double sampleRate, FilterType type) {
    if (dsp::Changed(sampleRate, mCachedRate) || static_cast<int>(type) != mCachedType ||
        dsp::Changed(frequency, mCachedFrequency) || dsp::Changed(q, mCachedQ)) {
      Recompute(frequency, q, sampleRate, type);
    }
  }

  static int Sections(int sectionsSelector) {
    return sectionsSelector < 0 ? 1 : sectionsSelector > 3 ? kMaxSections : sectionsSelector + 1;
  }

  // The rational tangent approximation used for the prewarped frequency.
  static double padeTan(double w);

  double LastOutput() const { return mLastOutput; }
  double Memory(int index) const { return mMemory[index]; }
  double B0() const { return mB0; }
  double B1() const { return mB1; }
  double B2() const { return mB2; }
  double A1() const { return mA1; }
  double A2() const { return mA2; }

private:
  // Defined only by the tests, which plant a corrupted state through it, as a burst of
  // overflowing input would leave one; shipped code has no way in.
  friend struct BiquadCascadeTestSeam;

  void Recompute(double frequency, double q, double sampleRate, FilterType type);
  void ClearNonFinite();

  double mLastOutput = 0.0;
  double mCachedRate = 0.0;
  double mCachedFrequency = 0.0;
  double mCachedQ = 0.0;
  double mMemory[2 * kMaxSections] = {};
  double mB0 = 0.0;
  double mB1 = 0.0;
  double mB2 = 0.0;
  double mA1 = 0.0;
  double mA2 = 0.0;
  int mCheckCounter = 1;
  int mCachedType = 0;
};
