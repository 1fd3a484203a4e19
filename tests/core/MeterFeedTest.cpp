#include "core/MeterFeed.h"

#include <gtest/gtest.h>

#include <limits>

TEST(MeterFeed, StartsAtRestWithTheLampOnAndModeZero) {
  MeterFeed m;
  EXPECT_EQ(m.Level(), 0.0);
  EXPECT_TRUE(m.Lamp());
  EXPECT_EQ(m.Mode(), 0);
  m.SetLamp(false);
  m.SetMode(3);
  EXPECT_FALSE(m.Lamp());
  EXPECT_EQ(m.Mode(), 3);
}

TEST(MeterFeed, AStillPictureShowsALevelUpToTheEndStop) {
  MeterFeed m;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double levels[][2] = {
      {0.5, 0.5}, {-1.2, 1.2}, {5.0, MeterFeed::kCeiling}, {nan, MeterFeed::kCeiling}};
  for (const auto& [level, shown] : levels) {
    m.SetLevel(level);
    EXPECT_EQ(m.Level(), shown) << level;
  }
  m.Publish(0.25);
  EXPECT_EQ(m.Level(), 0.25);
}
