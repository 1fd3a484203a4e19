// Small numeric rules shared by the DSP blocks: when a cached setting counts as changed,
// how a time in milliseconds becomes a one-pole coefficient, and what counts as "too small to keep".
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include <portable_math.h>

namespace dsp {

// The chain's transcendentals come from one portable C implementation on every platform, never
// from the platform's C library, whose last bits differ between systems and CPU makers.
inline double Exp(double x) { return brel_exp(x); }
inline double Pow(double x, double y) { return brel_pow(x, y); }
// tanh is ours (Tanh.cpp): within one ulp, where the C libraries' is two ulps off near 0.25.
double Tanh(double x);

// Settings closer than this to the cached value are treated as unchanged, so a host that
// re-sends the same value (or a glide that has settled) never triggers a recomputation.
constexpr double kChangeTolerance = 1e-10;

inline bool Changed(double now, double cached) { return std::fabs(now - cached) >= kChangeTolerance; }

// One-pole coefficient for a time constant of `ms` milliseconds at `sampleRate`.
// Times below 1e-10 ms mean "instant" (coefficient 0). A non-positive rate also gives 0
// rather than a coefficient above 1, which would make every follower and smoother diverge.
inline double OnePoleCoefficient(double ms, int sampleRate) {
  if (ms < kChangeTolerance || sampleRate <= 0) return 0.0;
  return Exp(-1.0 / (static_cast<double>(sampleRate) * ms * 0.001));
}

// True for ±0 and subnormals (biased exponent 0). Checked on the bits so the answer does not
// depend on the processor's denormals-are-zero mode at the time of the call.
inline bool IsZeroOrSubnormal(double x) {
  std::uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return ((bits >> 52) & 0x7ffu) == 0;
}

}  // namespace dsp
