// The arithmetic the chain relies on to give the same bits everywhere: doubles evaluated as
// doubles, no fused multiply-add, and a tanh within an ulp that behaves at its edges.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <random>

#include "engine/dsp/DspMath.h"

namespace {

static_assert(FLT_EVAL_METHOD == 0,
              "double expressions must be evaluated in double, not x87's wider registers");

volatile double gA = 1.0 + 0x1p-30, gB = 1.0 - 0x1p-30, gC = -1.0;

double ProductPlus(double a, double b, double c) { return a * b + c; }

TEST(Arithmetic, AProductAndASumAreRoundedSeparately) {
  // a·b = 1 - 2^-60 rounds to 1, so the sum is 0; fused into one rounding it would be -2^-60.
  EXPECT_EQ(ProductPlus(gA, gB, gC), 0.0);
}

long double UlpsFromExact(double value, double x) {
  const long double exact = std::tanh(static_cast<long double>(x));
  const int exponent = std::max(std::ilogb(static_cast<double>(exact)), DBL_MIN_EXP - 1);
  return std::fabs(value - exact) / std::ldexp(1.0L, exponent - (DBL_MANT_DIG - 1));
}

TEST(Arithmetic, TanhIsWithinAnUlpOfTheExactValue) {
  std::mt19937_64 rng(5);
  std::uniform_real_distribution<double> wide(-25.0, 25.0), exponent(-60.0, 0.0);
  long double worst = 0;
  for (int i = 0; i < 200000; ++i) {
    const double x = i % 2 ? wide(rng) : std::exp2(exponent(rng));
    worst = std::max(worst, UlpsFromExact(dsp::Tanh(x), x));
  }
  EXPECT_LT(worst, 1.0L);
}

TEST(Arithmetic, TanhAtItsEdges) {
  const double inf = std::numeric_limits<double>::infinity();
  const double tiny = std::numeric_limits<double>::denorm_min();
  struct Case {
    double x, expected;
  } cases[] = {{0.0, 0.0},    {tiny, tiny}, {-tiny, -tiny}, {19.1, 1.0},
               {-40.0, -1.0}, {inf, 1.0},   {-inf, -1.0}};
  for (const Case& c : cases) {
    EXPECT_EQ(dsp::Tanh(c.x), c.expected) << c.x;
    EXPECT_EQ(std::signbit(dsp::Tanh(c.x)), std::signbit(c.expected)) << c.x;
  }
  EXPECT_TRUE(std::signbit(dsp::Tanh(-0.0)));
  EXPECT_TRUE(std::isnan(dsp::Tanh(std::nan(""))));
}

TEST(Arithmetic, TanhNeverFallsWhereItsPiecesMeet) {
  for (double edge : {0x1p-27, 0.55, 19.1}) {
    double x = edge;
    for (int i = 0; i < 64; ++i) x = std::nextafter(x, 0.0);
    double previous = dsp::Tanh(x);
    for (int i = 0; i < 128; ++i) {
      x = std::nextafter(x, 100.0);
      const double now = dsp::Tanh(x);
      ASSERT_GE(now, previous) << "at " << x;
      previous = now;
    }
  }
}

}  // namespace
