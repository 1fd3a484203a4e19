// Rules shared by every block of the independent model: when a cached setting counts as changed,
// how a time becomes a one-pole coefficient, and what counts as "zero or subnormal".
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/dsp/DspMath.h"

namespace model {

// The model takes its elementary functions from the same portable implementation as the product,
// as it takes sqrt and the four operations from the processor: what it checks independently is the
// order of every step, which only bit-identical results can show. Taken from the C library
// instead, the model stays within its tolerance (4.1e-13 at most, over every scenario) but differs
// in the last bits wherever that library's results do.
inline double Exp(double x) { return dsp::Exp(x); }
inline double Pow(double x, double y) { return dsp::Pow(x, y); }
inline double Tanh(double x) { return dsp::Tanh(x); }

// A cached floating-point setting is stale once the new value is 1e-10 or more away from it.
inline bool RealChanged(double now, double cached) { return std::fabs(now - cached) >= 1e-10; }

// exp(−1 / (r × t × 0.001)); a time below 1e-10 ms is instantaneous.
inline double TimeCoefficient(double ms, int rate) {
  if (ms < 1e-10) return 0.0;
  return Exp(-1.0 / (rate * ms * 0.001));
}

// Biased exponent 0: ±0 or a subnormal. Read from the bits so no floating-point mode can change it.
inline bool ZeroOrSubnormal(double x) {
  std::uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return ((bits >> 52) & 0x7ffu) == 0;
}

}  // namespace model
