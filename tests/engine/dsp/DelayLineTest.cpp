#include "engine/dsp/DelayLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<double> Feed(DelayLine& d, std::vector<double> in, int length) {
  for (double& x : in) x = d.Process(x, length);
  return in;
}
}  // namespace

TEST(DelayLine, LengthThreeDelaysByTwoSamples) {
  DelayLine d;
  EXPECT_EQ(Feed(d, {1, 2, 3, 4}, 3), (std::vector<double>{0, 0, 1, 2}));
}

TEST(DelayLine, LengthOneAndBelowPassTheInputThrough) {
  DelayLine d;
  EXPECT_EQ(Feed(d, {1, 2, 3}, 1), (std::vector<double>{1, 2, 3}));
  DelayLine none;
  EXPECT_EQ(Feed(none, {5, -6}, 0), (std::vector<double>{5, -6}));
  EXPECT_EQ(none.Size(), 0);  // nothing stored without a delay
}

TEST(DelayLine, ANewLengthStartsFromSilence) {
  DelayLine d;
  Feed(d, {7, 7, 7, 7, 7}, 4);
  EXPECT_EQ(Feed(d, {1, 2, 3}, 2), (std::vector<double>{0, 1, 2}));
}

TEST(DelayLine, ImpulseComesOutAfterLengthMinusOneCalls) {
  for (int length : {2, 5, 66, 577}) {
    DelayLine d;
    int at = -1;
    for (int i = 0; i < 2 * length; ++i) {
      if (d.Process(i == 0 ? 1.0 : 0.0, length) == 1.0) at = i;
    }
    EXPECT_EQ(at, length - 1) << "length " << length;
  }
}

TEST(DelayLine, LengthChangesWithinTheReserveKeepTheSameStorage) {
  DelayLine d;
  EXPECT_EQ(d.Capacity(), DelayLine::kReservedLength);
  for (int length : {66, 44, 8, 3000, DelayLine::kReservedLength}) d.Process(1.0, length);
  EXPECT_EQ(d.Capacity(), DelayLine::kReservedLength);
}

TEST(DelayLine, GrowsBeyondTheReserveWhenAsked) {
  DelayLine d;
  const int length = DelayLine::kReservedLength * 2;
  int at = -1;
  for (int i = 0; i < length; ++i) {
    if (d.Process(i == 0 ? 1.0 : 0.0, length) == 1.0) at = i;
  }
  EXPECT_EQ(at, length - 1);
}
