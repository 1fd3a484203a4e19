// The coefficients of one second-order low- or high-pass section, recomputed only when the rate,
// the type, the frequency or Q change. Every filter of the chain takes its coefficients from one.
#pragma once

#include "engine/dsp/DspMath.h"
#include "engine/dsp/FilterType.h"

class BiquadDesign {
public:
  // Recomputes the coefficients when the rate, the type, the frequency or Q changed.
  void Update(double frequency, double q, double sampleRate, FilterType type) {
    if (dsp::Changed(sampleRate, mCachedRate) || static_cast<int>(type) != mCachedType ||
        dsp::Changed(frequency, mCachedFrequency) || dsp::Changed(q, mCachedQ)) {
      Recompute(frequency, q, sampleRate, type);
    }
  }

  // The rational tangent approximation used for the prewarped frequency.
  static double PadeTan(double w);

  double B0() const { return mB0; }
  double B1() const { return mB1; }
  double B2() const { return mB2; }
  double A1() const { return mA1; }
  double A2() const { return mA2; }

private:
  void Recompute(double frequency, double q, double sampleRate, FilterType type);

  double mCachedRate = 0.0;
  double mCachedFrequency = 0.0;
  double mCachedQ = 0.0;
  int mCachedType = 0;
  double mB0 = 0.0;
  double mB1 = 0.0;
  double mB2 = 0.0;
  double mA1 = 0.0;
  double mA2 = 0.0;
};
