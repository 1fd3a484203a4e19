#include "engine/dsp/EnvelopeFollower.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

TEST(EnvelopeFollower, ZeroRiseJumpsToALargerInputAndDecaysWithTheFallTime) {
  EnvelopeFollower f;
  EXPECT_EQ(f.Process(-0.8, 44100, 0, 300), 0.8);  // magnitude, at once
  const double c = std::exp(-1.0 / (44100 * 300 * 0.001));
  double v = 0;
  for (int i = 0; i < 13230; ++i) v = f.Process(0, 44100, 0, 300);  // 300 ms
  EXPECT_NEAR(v, 0.8 * std::pow(c, 13230), 1e-12);
  EXPECT_NEAR(v / 0.8, std::exp(-1.0), 1e-4);
}

TEST(EnvelopeFollower, RisesWithTheRiseTimeAndFallsAtOnceWithZeroFall) {
  EnvelopeFollower f;
  const double c = std::exp(-1.0 / (48000 * 300 * 0.001));
  EXPECT_DOUBLE_EQ(f.Process(1, 48000, 300, 0), 1 - c);
  double v = 0;
  for (int i = 1; i < 14400; ++i) v = f.Process(1, 48000, 300, 0);
  EXPECT_NEAR(v, 1 - std::exp(-1.0), 1e-4);
  EXPECT_EQ(f.Process(0.25, 48000, 300, 0), 0.25);
}

TEST(EnvelopeFollower, AnInputEqualToTheValueTakesTheFallCoefficient) {
  EnvelopeFollower f;
  f.Process(0.5, 48000, 0, 100);
  EXPECT_EQ(f.Process(0.5, 48000, 1000, 100), 0.5);  // tie: (0.5 - 0.5) * c + 0.5 either way
  EXPECT_EQ(f.Value(), 0.5);
}

TEST(EnvelopeFollower, StaysFiniteThroughInfiniteAndNaNInput) {
  EnvelopeFollower f;
  EXPECT_EQ(f.Process(std::numeric_limits<double>::infinity(), 48000, 0, 10), DBL_MAX);
  EXPECT_EQ(f.Process(std::numeric_limits<double>::quiet_NaN(), 48000, 0, 10), DBL_MAX);
  double v = DBL_MAX;
  for (int i = 0; i < 48000; ++i) v = f.Process(0.5, 48000, 0, 10);  // 100 time constants
  EXPECT_TRUE(std::isfinite(v));
  EXPECT_LT(v, 1e300);
  for (int i = 0; i < 480000; ++i) v = f.Process(0.5, 48000, 0, 10);
  EXPECT_NEAR(v, 0.5, 1e-12);
}
