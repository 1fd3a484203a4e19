// How far the chain's portable elementary functions lie from the exact result, and from the
// platform's C library, over the arguments the chain gives them. The exact result is taken from
// the long double functions (64-bit significands, eleven bits beyond a double's), so an error is
// known to a few thousandths of an ulp. Prints one line per function and range.
#include <portable_math.h>

#include "engine/dsp/DspMath.h"

#include <cfloat>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <vector>

namespace {

static_assert(LDBL_MANT_DIG >= 64, "the reference needs a wider long double than double");

// The distance of x from the exact value, in units of the last place of the double nearest it.
long double UlpError(double x, long double exact) {
  const double nearest = static_cast<double>(exact);
  if (nearest == 0.0) return x == 0.0 ? 0.0L : INFINITY;
  const int exponent = std::ilogb(nearest);
  const long double ulp = std::ldexp(1.0L, std::max(exponent, DBL_MIN_EXP - 1) - (DBL_MANT_DIG - 1));
  return std::fabs(static_cast<long double>(x) - exact) / ulp;
}

// How many ulps apart two doubles are (0 when they are the same bits).
std::int64_t UlpsApart(double a, double b) {
  auto ordered = [](double v) {
    std::int64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits < 0 ? std::numeric_limits<std::int64_t>::min() - bits : bits;
  };
  const std::int64_t d = ordered(a) - ordered(b);
  return d < 0 ? -d : d;
}

struct Case {
  const char* function;
  const char* range;
  std::vector<double> arguments;
  std::function<double(double)> portable, library;
  std::function<long double(double)> exact;
};

std::vector<double> Uniform(double from, double to, int n, unsigned seed) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> u(from, to);
  std::vector<double> v(n);
  for (double& x : v) x = u(rng);
  return v;
}

// Magnitudes spread evenly over the exponents from `from` to `to`, with the given sign.
std::vector<double> LogSpread(double from, double to, int n, double sign, unsigned seed) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> u(std::log(from), std::log(to));
  std::vector<double> v(n);
  for (double& x : v) x = sign * std::exp(u(rng));
  return v;
}

std::vector<double> Both(std::vector<double> v) {
  const std::size_t n = v.size();
  for (std::size_t i = 0; i < n; ++i) v.push_back(-v[i]);
  return v;
}

void Report(const Case& c) {
  long double worst = 0, worstLibrary = 0;
  std::int64_t worstApart = 0;
  long differing = 0;
  double worstAt = 0;
  for (double x : c.arguments) {
    const double mine = c.portable(x), theirs = c.library(x);
    const long double e = UlpError(mine, c.exact(x));
    if (e > worst) worst = e, worstAt = x;
    worstLibrary = std::max(worstLibrary, UlpError(theirs, c.exact(x)));
    const std::int64_t apart = UlpsApart(mine, theirs);
    worstApart = std::max(worstApart, apart);
    differing += apart != 0;
  }
  std::printf("| %-5s | %-34s | %8zu | %.3Lf (at %.17g) | %.3Lf | %lld | %.2f %% |\n", c.function, c.range,
              c.arguments.size(), worst, worstAt, worstLibrary, static_cast<long long>(worstApart),
              100.0 * differing / c.arguments.size());
}

}  // namespace

int main() {
  const int n = 2000000;
  auto tanhOf = [](double x) { return dsp::Tanh(x); };
  auto expOf = [](double x) { return brel_exp(x); };
  auto logOf = [](double x) { return brel_log(x); };
  auto pow10Of = [](double y) { return brel_pow(10.0, y); };
  auto powOneOf = [](double x) { return brel_pow(x, 1.0); };
  const std::vector<double> tanhSmall = Both(LogSpread(1e-300, 0.55, n / 2, 1.0, 3));
  const std::vector<Case> cases = {
      {"tanh", "air drive, [-25, 25]", Uniform(-25, 25, n, 1), tanhOf, [](double x) { return std::tanh(x); },
       [](double x) { return tanhl(x); }},
      {"tanh", "quiet air, 1e-300 <= |x| < 0.55", tanhSmall, tanhOf, [](double x) { return std::tanh(x); },
       [](double x) { return tanhl(x); }},
      {"exp", "one-pole times, [-0.2, -1e-9]", LogSpread(1e-9, 0.2, n, -1.0, 4), expOf,
       [](double x) { return std::exp(x); }, [](double x) { return expl(x); }},
      {"exp", "any time, [-745, 0]", Uniform(-745, 0, n, 5), expOf, [](double x) { return std::exp(x); },
       [](double x) { return expl(x); }},
      {"pow", "dB to gain, 10^y, y in [-10, 2.25]", Uniform(-10, 2.25, n, 6), pow10Of,
       [](double y) { return std::pow(10.0, y); }, [](double y) { return powl(10.0L, y); }},
      {"pow", "normalised values, x^1, x in [0, 1]", Uniform(0, 1, n, 7), powOneOf,
       [](double x) { return std::pow(x, 1.0); }, [](double x) { return static_cast<long double>(x); }},
      {"log", "[1e-300, 1e300]", LogSpread(1e-300, 1e300, n, 1.0, 8), logOf,
       [](double x) { return std::log(x); }, [](double x) { return logl(x); }},
      {"log", "near 1, [0.9, 1.1]", Uniform(0.9, 1.1, n, 9), logOf, [](double x) { return std::log(x); },
       [](double x) { return logl(x); }},
  };
  std::printf(
      "| function | arguments | count | largest error, ulp | the C library's largest error, ulp | largest "
      "distance from the C library, ulp | "
      "share not the same bits |\n|---|---|---|---|---|---|---|\n");
  for (const Case& c : cases) Report(c);
}
