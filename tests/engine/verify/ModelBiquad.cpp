#include "tests/engine/verify/ModelBiquad.h"

#include <xmmintrin.h>

#include <algorithm>
#include <cmath>

#include "tests/engine/verify/ModelRules.h"

namespace model {

namespace {

// Flush-to-zero and denormals-are-zero while alive; the caller's mode comes back afterwards.
class FlushScope {
public:
  FlushScope() : mSaved(_mm_getcsr()) { _mm_setcsr(mSaved | 0x8040u); }
  ~FlushScope() { _mm_setcsr(mSaved); }

private:
  unsigned mSaved;
};

bool NonFinite(double x) { return std::isinf(x) || std::isnan(x); }

}  // namespace

double ModelBiquad::Process(double input, double frequency, double q, double rate, ModelFilter type,
                            int sectionsSelector) {
  const FlushScope flush;
  if (mCheckCounter-- < 0) SweepNonFinite();
  if (SettingsChanged(frequency, q, rate, type)) Recompute(frequency, q, rate, type);
  mLastOutput = RunSections(input, sectionsSelector + 1);
  return mLastOutput;
}

void ModelBiquad::SweepNonFinite() {
  mCheckCounter = 10;
  for (double& z : mMemory) {
    if (NonFinite(z)) z = 0.0;
  }
  if (NonFinite(mLastOutput)) mLastOutput = 0.0;
}

bool ModelBiquad::SettingsChanged(double frequency, double q, double rate, ModelFilter type) const {
  return RealChanged(rate, mCachedRate) || static_cast<int>(type) != mCachedType ||
         RealChanged(frequency, mCachedFrequency) || RealChanged(q, mCachedQ);
}

// The powers are formed first (w² = w·w, w³ = w²·w, w⁴ = w²·w²) and then scaled, as in 45 × w².
double ModelBiquad::PadeTan(double w) {
  const double w2 = w * w;
  const double w3 = w2 * w;
  const double w4 = w2 * w2;
  return -(5.0 * (2.0 * w3 - 21.0 * w)) / (105.0 - 45.0 * w2 + w4);
}

void ModelBiquad::Recompute(double frequency, double q, double rate, ModelFilter type) {
  mCachedRate = rate;
  mCachedType = static_cast<int>(type);
  mCachedFrequency = frequency;
  mCachedQ = q;
  const double qq = std::max(0.1, q);
  // A corner above half the rate (the air band at rates below 20 kHz) is held at half the rate:
  // past w = π/2 the rational tangent soon turns negative and the section would be unstable.
  const double w = std::min(3.141592653589793 * frequency / rate, 3.141592653589793 / 2.0);
  const double k = PadeTan(w);
  const double n = 1.0 / (1.0 + k / qq + k * k);
  mA1 = 2.0 * (k * k - 1.0) * n;
  mA2 = (1.0 - k / qq + k * k) * n;
  if (type == ModelFilter::LowPass) {
    mB0 = k * k * n;
    mB1 = 2.0 * mB0;
    mB2 = mB0;
  } else {
    mB0 = n;
    mB1 = -2.0 * n;
    mB2 = n;
  }
}

double ModelBiquad::RunSections(double input, int sections) {
  double x = input;
  for (int s = 0; s < sections; ++s) {
    double& z1 = mMemory[2 * s];
    double& z2 = mMemory[2 * s + 1];
    const double y = mB0 * x + z1;
    z1 = mB1 * x + z2 - mA1 * y;
    z2 = mB2 * x - mA2 * y;
    x = y;
  }
  return x;
}

}  // namespace model
