// tanh on plain double arithmetic, within one ulp of the exact value (0.9 at most, measured by
// bench/engine/MathAccuracy.cpp) and the same bits on every machine. The C libraries' tanh is up
// to two ulps off near 0.25 and differs between them.
#include <cmath>

#include "engine/dsp/DspMath.h"

namespace dsp {
namespace {

// Below this, x - x³/3 rounds to x.
constexpr double kTiny = 0x1p-27;
// From here on the result is x plus a correction of at most a tenth of x (tanh(0.55) = 0.5005).
constexpr double kSeriesEnd = 0.55;
// Above this, 1 - tanh(x) = 2 / (e^2x + 1) is below half an ulp of 1: the result is 1.
constexpr double kSaturated = 19.1;

// (tanh(x) / x - 1) / x² as a polynomial in t = x² on [0, 0.55²]: the interpolant at eleven
// Chebyshev nodes, relative error 2.3e-17.
constexpr double kSeries[] = {
    -0x1.5555555555555p-2,  0x1.1111111111032p-3,  -0x1.ba1ba1b9fec84p-5,  0x1.664f487713373p-6,
    -0x1.226e32f00cf0cp-7,  0x1.d6d339333f329p-9,  -0x1.7d97cfd138c28p-10, 0x1.34c5a8a996cd4p-11,
    -0x1.ec1091436eb2ap-13, 0x1.64fd88e9900a4p-14, -0x1.59a834187ce21p-16,
};

double Series(double x) {
  const double t = x * x;
  double p = kSeries[10];
  for (int i = 9; i >= 0; --i) p = p * t + kSeries[i];
  return x + x * (t * p);
}

// The exact product a·b as hi + lo (Dekker), without a fused multiply-add.
void ExactProduct(double a, double b, double& hi, double& lo) {
  constexpr double kSplit = 134217729.0;  // 2^27 + 1
  const double ca = kSplit * a, cb = kSplit * b;
  const double aHi = ca - (ca - a), aLo = a - aHi;
  const double bHi = cb - (cb - b), bLo = b - bHi;
  hi = a * b;
  lo = ((aHi * bHi - hi) + aHi * bLo + aLo * bHi) + aLo * bLo;
}

// 1 - 2 / (e^2a + 1) for a in [0.55, 19.1], with the sum, the quotient and the difference carried
// to twice the precision, so only exp's own error and the final rounding remain.
double FromExp(double a) {
  const double e = Exp(2.0 * a);
  const double d = e + 1.0;
  const double dLo = 1.0 - (d - e);  // e + 1 = d + dLo exactly (e >= 1)
  const double q = 2.0 / d;
  double p, pLo;
  ExactProduct(q, d, p, pLo);
  const double qLo = (((2.0 - p) - pLo) - q * dLo) / d;  // 2 / (d + dLo) = q + qLo
  const double s = 1.0 - q;
  const double sLo = (1.0 - s) - q;  // 1 - q = s + sLo exactly (q <= 1)
  return s + (sLo - qLo);
}

}  // namespace

double Tanh(double x) {
  if (std::isnan(x)) return x + x;
  const double a = std::fabs(x);
  if (a < kTiny) return x;  // ±0 and subnormals too
  if (a < kSeriesEnd) return Series(x);
  return std::copysign(a < kSaturated ? FromExp(a) : 1.0, x);
}

}  // namespace dsp
