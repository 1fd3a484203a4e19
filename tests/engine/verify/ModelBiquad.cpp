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
  FlushScope() : saved_(_mm_getcsr()) { _mm_setcsr(saved_ | 0x8040u); }
  ~FlushScope() { _mm_setcsr(saved_); }

private:
  unsigned saved_;
};

bool NonFinite(double x) { return std::isinf(x) || std::isnan(x); }

}  // namespace

double ModelBiquad::Process(double input, double frequency, double q, double rate, ModelFilter type,
                            int sectionsSelector) {
  const FlushScope flush;
  if (checkCounter_-- < 0) SweepNonFinite();
  if (SettingsChanged(frequency, q, rate, type)) Recompute(frequency, q, rate, type);
  lastOutput_ = RunSections(input, sectionsSelector + 1);
  return lastOutput_;
}

void ModelBiquad::SweepNonFinite() {
  checkCounter_ = 10;
  for (double& z : memory_) {
    if (NonFinite(z)) z = 0.0;
  }
  if (NonFinite(lastOutput_)) lastOutput_ = 0.0;
}

bool ModelBiquad::SettingsChanged(double frequency, double q, double rate, ModelFilter type) const {
  return RealChanged(rate, cachedRate_) || static_cast<int>(type) != cachedType_ ||
         RealChanged(frequency, cachedFrequency_) || RealChanged(q, cachedQ_);
}

// The powers are formed first (w² = w·w, w³ = w²·w, w⁴ = w²·w²) and then scaled, as in 45 × w².
double ModelBiquad::PadeTan(double w) {
  const double w2 = w * w;
  const double w3 = w2 * w;
  const double w4 = w2 * w2;
  return -(5.0 * (2.0 * w3 - 21.0 * w)) / (105.0 - 45.0 * w2 + w4);
}

void ModelBiquad::Recompute(double frequency, double q, double rate, ModelFilter type) {
  cachedRate_ = rate;
  cachedType_ = static_cast<int>(type);
  cachedFrequency_ = frequency;
  cachedQ_ = q;
  const double qq = std::max(0.1, q);
  // A corner above half the rate (the air band at rates below 20 kHz) is held at half the rate:
  // past w = π/2 the rational tangent soon turns negative and the section would be unstable.
  const double w = std::min(3.141592653589793 * frequency / rate, 3.141592653589793 / 2.0);
  const double k = PadeTan(w);
  const double n = 1.0 / (1.0 + k / qq + k * k);
  a1_ = 2.0 * (k * k - 1.0) * n;
  a2_ = (1.0 - k / qq + k * k) * n;
  if (type == ModelFilter::LowPass) {
    b0_ = k * k * n;
    b1_ = 2.0 * b0_;
    b2_ = b0_;
  } else {
    b0_ = n;
    b1_ = -2.0 * n;
    b2_ = n;
  }
}

double ModelBiquad::RunSections(double input, int sections) {
  double x = input;
  for (int s = 0; s < sections; ++s) {
    double& z1 = memory_[2 * s];
    double& z2 = memory_[2 * s + 1];
    const double y = b0_ * x + z1;
    z1 = b1_ * x + z2 - a1_ * y;
    z2 = b2_ * x - a2_ * y;
    x = y;
  }
  return x;
}

}  // namespace model
