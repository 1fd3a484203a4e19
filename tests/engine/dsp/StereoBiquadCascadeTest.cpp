#include "engine/dsp/StereoBiquadCascade.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/dsp/BiquadCascade.h"
#include "engine/dsp/DenormalScope.h"

// The pair gives the bits of a left and a right BiquadCascade under the same settings: gliding and
// jumping frequencies, both types, one to four sections, several rates, an infinite input that
// leaves NaN and infinity in the memories until the sweep clears them, and tails into the
// subnormal range.
TEST(StereoBiquadCascade, GivesTheBitsOfTwoMonoCascades) {
  StereoBiquadCascade stereo;
  BiquadCascade left, right;
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  double frequency = 100.0, target = 100.0, rate = 44100.0, level = 1.0;
  FilterType type = FilterType::HighPass;
  int selector = 1;
  const DenormalScope flush;
  for (int i = 0; i < 60000; ++i) {
    if (i % 997 == 0) target = 20.0 + 9000.0 * (u(rng) + 1.0) * 0.5;
    if (i % 4001 == 0) type = type == FilterType::HighPass ? FilterType::LowPass : FilterType::HighPass;
    if (i % 3001 == 0) selector = (selector + 1) % 5 - (i % 2);  // -1 to 4: held to 1..4 sections
    if (i % 7919 == 0) rate = rate == 44100.0 ? 96000.0 : 44100.0;
    level = i % 10000 < 8000 ? 1.0 : level * 0.9;  // quiet stretches ring down toward zero
    frequency = (frequency - target) * 0.999 + target;
    double inL = level * u(rng), inR = level * u(rng);
    if (i == 20000) inL = INFINITY;
    if (i == 30000) inR = -INFINITY;
    double outL, outR;
    stereo.ProcessFlushed(inL, inR, frequency, 0.7, rate, type, selector, outL, outR);
    const double l = left.ProcessFlushed(inL, frequency, 0.7, rate, type, selector);
    const double r = right.ProcessFlushed(inR, frequency, 0.7, rate, type, selector);
    // Compared as bits: NaN matches NaN, and +0 and -0 differ.
    ASSERT_EQ(std::signbit(outL), std::signbit(l)) << i;
    ASSERT_EQ(std::signbit(outR), std::signbit(r)) << i;
    if (std::isnan(l)) {
      ASSERT_TRUE(std::isnan(outL)) << i;
    } else {
      ASSERT_EQ(outL, l) << i;
    }
    if (std::isnan(r)) {
      ASSERT_TRUE(std::isnan(outR)) << i;
    } else {
      ASSERT_EQ(outR, r) << i;
    }
  }
  EXPECT_TRUE(std::isfinite(left.LastOutput()) && std::isfinite(right.LastOutput()));
}
