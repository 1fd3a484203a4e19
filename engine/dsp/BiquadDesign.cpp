#include "engine/dsp/BiquadDesign.h"

#include <algorithm>

namespace {
constexpr double kPi = 3.141592653589793;
// The approximation's denominator has its first zero just above π/2 and it turns negative there,
// which would flip the sign of K and put the poles outside the unit circle. Frequencies at or
// above Nyquist (a 10 kHz section at a 16 kHz rate) are therefore taken as Nyquist itself.
constexpr double kHalfPi = kPi * 0.5;
}  // namespace

double BiquadDesign::PadeTan(double w) {
  const double w2 = w * w;
  return -(5.0 * (2.0 * (w2 * w) - 21.0 * w)) / (105.0 - 45.0 * w2 + w2 * w2);
}

void BiquadDesign::Recompute(double frequency, double q, double sampleRate, FilterType type) {
  mCachedRate = sampleRate;
  mCachedType = static_cast<int>(type);
  mCachedFrequency = frequency;
  mCachedQ = q;
  const double qq = std::max(0.1, q);
  double w = kPi * frequency / sampleRate;
  if (w > kHalfPi) w = kHalfPi;
  const double k = PadeTan(w);
  const double kk = k * k;
  const double n = 1.0 / (1.0 + k / qq + kk);
  mA1 = 2.0 * (kk - 1.0) * n;
  mA2 = (1.0 - k / qq + kk) * n;
  if (type == FilterType::LowPass) {
    mB0 = kk * n;
    mB1 = 2.0 * mB0;
    mB2 = mB0;
  } else {
    mB0 = n;
    mB1 = -2.0 * n;
    mB2 = n;
  }
}
