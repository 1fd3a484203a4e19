// One to four identical second-order low- or high-pass sections in transposed direct form II, on
// one BiquadDesign's coefficients, with a periodic sweep that clears infinite or NaN memories so
// one bad sample cannot silence the filter for good.
#pragma once

#include <cmath>

#include "engine/dsp/BiquadDesign.h"
#include "engine/dsp/DenormalScope.h"
#include "engine/dsp/FilterType.h"
#include "engine/dsp/NonFiniteSweep.h"

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
    if (mSweep.Due()) ClearNonFinite();
    mDesign.Update(frequency, q, sampleRate, type);
    const int sections = Sections(sectionsSelector);
    const double b0 = mDesign.B0(), b1 = mDesign.B1(), b2 = mDesign.B2(), a1 = mDesign.A1(),
                 a2 = mDesign.A2();
    double x = input;
    for (int s = 0; s < sections; ++s) {
      double& z1 = mMemory[2 * s];
      double& z2 = mMemory[2 * s + 1];
      const double y = b0 * x + z1;
      z1 = b1 * x + z2 - a1 * y;
      z2 = b2 * x - a2 * y;
      x = y;
    }
    mLastOutput = x;
    return x;
  }

  static int Sections(int sectionsSelector) {
    return sectionsSelector < 0 ? 1 : sectionsSelector > 3 ? kMaxSections : sectionsSelector + 1;
  }

  // The rational tangent approximation used for the prewarped frequency.
  static double padeTan(double w) { return BiquadDesign::PadeTan(w); }

  double LastOutput() const { return mLastOutput; }
  double Memory(int index) const { return mMemory[index]; }
  double B0() const { return mDesign.B0(); }
  double B1() const { return mDesign.B1(); }
  double B2() const { return mDesign.B2(); }
  double A1() const { return mDesign.A1(); }
  double A2() const { return mDesign.A2(); }

private:
  // Defined only by the tests, which plant a corrupted state through it, as a burst of
  // overflowing input would leave one; shipped code has no way in.
  friend struct BiquadCascadeTestSeam;

  void ClearNonFinite();

  BiquadDesign mDesign;
  NonFiniteSweep mSweep;
  double mLastOutput = 0.0;
  double mMemory[2 * kMaxSections] = {};
};
