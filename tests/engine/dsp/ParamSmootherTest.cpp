#include "engine/dsp/ParamSmoother.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ParamSmoother, ReturnsTheTargetExactlyWithinTheSnapThreshold) {
  ParamSmoother s;
  // State 0 on the range 0..10 is the value 0; 0.05 is within 0.1 of it.
  EXPECT_EQ(s.Process(0.05, 48000, 40, 0, 10, 0.1), 0.05);
  EXPECT_EQ(s.State(), 0.0);  // snapping does not move the state
}

TEST(ParamSmoother, GlidesUpFromTheMinimumWithTheTimeConstant) {
  ParamSmoother s;
  const double c = std::exp(-1.0 / (48000 * 40.0 * 0.001));
  double v = 0;
  for (int i = 0; i < 1920; ++i) v = s.Process(300, 48000, 40, 20, 300, 0.01);  // one time constant
  EXPECT_NEAR(v, 20 + 280 * (1 - std::pow(c, 1920)), 1e-9);
  EXPECT_NEAR(v, 20 + 280 * (1 - std::exp(-1.0)), 1e-6);
}

TEST(ParamSmoother, SettlesOnTheExactTargetAndStaysThere) {
  ParamSmoother s;
  double v = 0;
  int steps = 0;
  while (v != 1.0 && steps < 100000) v = s.Process(1.0, 44100, 25, 0, 1, 0.01), ++steps;
  EXPECT_EQ(v, 1.0);
  // ln(100) time constants of 25 ms: about 115 ms at any rate.
  EXPECT_NEAR(steps / 44100.0, 0.115, 0.002);
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(s.Process(1.0, 44100, 25, 0, 1, 0.01), 1.0);
}

TEST(ParamSmoother, MinimumAndMaximumDoNotClamp) {
  ParamSmoother s;
  double v = 0;
  for (int i = 0; i < 100000; ++i) v = s.Process(20.0, 48000, 40, 120, 400, 0.01);
  EXPECT_EQ(v, 20.0);  // below the normalisation range, reached all the same
}

TEST(ParamSmoother, ZeroTimeStepsAtOnceAndAStateNearZeroFlushesToTheMinimum) {
  ParamSmoother s;
  EXPECT_EQ(s.Process(5.0, 48000, 0, 1, 10, 0.01), 5.0);
  ParamSmoother t;
  EXPECT_EQ(t.Process(1e-310, 48000, 10, 0, 1, 1e-320), 0.0);  // the new state would be subnormal
  EXPECT_EQ(t.State(), 0.0);
}

TEST(ParamSmoother, RecomputesItsCoefficientWhenRateOrTimeChange) {
  ParamSmoother s;
  s.Process(1, 48000, 40, 0, 1, 0.01);
  EXPECT_DOUBLE_EQ(s.Coefficient(), std::exp(-1.0 / (48000 * 40 * 0.001)));
  s.Process(1, 96000, 40, 0, 1, 0.01);
  EXPECT_DOUBLE_EQ(s.Coefficient(), std::exp(-1.0 / (96000 * 40 * 0.001)));
  s.Process(1, 96000, 10, 0, 1, 0.01);
  EXPECT_DOUBLE_EQ(s.Coefficient(), std::exp(-1.0 / (96000 * 10 * 0.001)));
  const double before = s.Coefficient();
  s.Process(1, 96000, 10 + 5e-11, 0, 1, 0.01);  // below the change tolerance
  EXPECT_EQ(s.Coefficient(), before);
}

// A run gives the bits of the same number of single calls: through a glide, the call that snaps,
// the settled stretch after it, targets that move between runs, a time change and a NaN target.
TEST(ParamSmoother, ARunGivesTheResultsOfSingleCalls) {
  ParamSmoother run, single;
  const double targets[] = {17.0, 1.0, 1.0, 9.5, 3.0, 3.0};
  double out[64];
  for (int block = 0; block < 400; ++block) {
    // A NaN target leaves the state NaN for good, so it comes last.
    const double target = block < 360 ? targets[(block / 40) % 6] : std::nan("");
    const double ms = block < 200 ? 40.0 : 5.0;
    const int count = 1 + block % 64;
    run.ProcessRun(target, 48000, ms, 1.0, 17.7828, 0.01, out, count);
    for (int i = 0; i < count; ++i) {
      const double expected = single.Process(target, 48000, ms, 1.0, 17.7828, 0.01);
      if (std::isnan(expected)) {
        ASSERT_TRUE(std::isnan(out[i])) << block << " " << i;
      } else {
        ASSERT_EQ(out[i], expected) << block << " " << i;
      }
    }
    if (block < 360) {
      ASSERT_EQ(run.State(), single.State()) << block;
    }
  }
}
