#include "engine/dsp/MovingAverage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(MovingAverage, WindowThreeAveragesTheLastTwoInputs) {
  MovingAverage a;
  EXPECT_EQ(a.Process(1, 3), 0.5);
  EXPECT_EQ(a.Process(1, 3), 1.0);
  EXPECT_EQ(a.Process(1, 3), 1.0);
  EXPECT_EQ(a.Process(4, 3), 2.5);
  EXPECT_EQ(a.Process(0, 3), 2.0);
}

TEST(MovingAverage, WindowOneOrLessPassesTheInput) {
  MovingAverage a;
  EXPECT_EQ(a.Process(3.25, 1), 3.25);
  EXPECT_EQ(a.Process(-2, 0), -2);
  EXPECT_EQ(a.Process(9, -4), 9);
}

TEST(MovingAverage, ChangingTheWindowForgetsThePast) {
  MovingAverage a;
  for (int i = 0; i < 10; ++i) a.Process(8, 5);
  EXPECT_EQ(a.Process(8, 3), 4.0);  // only the new sample counts: (8 + 0) / 2
  a.Process(8, 1);
  EXPECT_EQ(a.Process(2, 3), 1.0);  // back to window 3: cleared again
}

TEST(MovingAverage, SubnormalMeansAreFlushedToZero) {
  MovingAverage a;
  const double tiny = std::numeric_limits<double>::denorm_min() * 4;
  EXPECT_EQ(a.Process(tiny, 3), 0.0);
  EXPECT_EQ(a.Process(tiny, 3), 0.0);
  EXPECT_EQ(a.Process(1e-300, 3), 5e-301);
}

TEST(MovingAverage, RecoversOnceANonFiniteSampleHasLeftTheWindow) {
  for (double bad : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()}) {
    MovingAverage a;
    for (int i = 0; i < 10; ++i) a.Process(1.0, 5);
    a.Process(bad, 5);
    for (int i = 0; i < 3; ++i) a.Process(1.0, 5);  // the bad sample is still among the last four
    EXPECT_EQ(a.Process(1.0, 5), 1.0) << bad;       // now it is not
    EXPECT_EQ(a.Process(3.0, 5), 1.5);
  }
}
