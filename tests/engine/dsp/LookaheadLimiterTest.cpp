#include "engine/dsp/LookaheadLimiter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {
// Runs quiet input until a fresh limiter's gain has recovered to 1 (as close as the one-pole
// recursion gets: within a few hundred ulps).
void Recover(LookaheadLimiter& l, double lookaheadMs) {
  for (int i = 0; i < 48000; ++i) l.Process(0.1, 0.1, 1.0, 0, 10, lookaheadMs, 44100);
}
}  // namespace

TEST(LookaheadLimiter, WithoutLookaheadReducesTheCurrentSampleAtOnce) {
  LookaheadLimiter l;
  Recover(l, 0);
  ASSERT_NEAR(l.Gain(), 1.0, 1e-13);
  EXPECT_EQ(l.Process(2.0, 0.5, 1.0, 0, 10, 0, 44100), 0.25);
  EXPECT_EQ(l.Left(), 1.0);
  EXPECT_EQ(l.Right(), 0.25);
  EXPECT_EQ(l.Gain(), 0.5);
}

TEST(LookaheadLimiter, AFreshLimiterFadesInWithItsRecoveryTime) {
  LookaheadLimiter l;
  const double c = std::exp(-1.0 / (44100 * 100 * 0.001));
  l.Process(0.1, 0.1, 1.0, 0, 100, 0, 44100);
  EXPECT_DOUBLE_EQ(l.Gain(), 1 - c);  // from 0, one step toward 1
  for (int i = 1; i < 4410; ++i) l.Process(0.1, 0.1, 1.0, 0, 100, 0, 44100);
  EXPECT_NEAR(l.Gain(), 1 - std::exp(-1.0), 1e-4);  // one time constant
}

TEST(LookaheadLimiter, WindowLengthIsTheTruncatedLookaheadInSamples) {
  EXPECT_EQ(LookaheadLimiter::WindowLength(1.5, 44100), 66);
  EXPECT_EQ(LookaheadLimiter::WindowLength(1.0, 44100), 44);
  EXPECT_EQ(LookaheadLimiter::WindowLength(0.2, 44100), 8);
  EXPECT_EQ(LookaheadLimiter::WindowLength(0.0, 44100), 0);
  EXPECT_EQ(LookaheadLimiter::WindowLength(5e-11, 44100), 0);
  EXPECT_EQ(LookaheadLimiter::WindowLength(1.5, 384000), 576);
}

TEST(LookaheadLimiter, LookaheadOfOnePointFiveMsAt44100DelaysBothChannelsBy65Samples) {
  LookaheadLimiter l;
  int left = -1, right = -1;
  for (int i = 0; i < 200; ++i) {
    const double in = i == 10 ? 0.5 : 0.0;
    l.Process(in, -in, 1.0, 0, 100, 1.5, 44100);
    if (l.Left() != 0.0) left = i;
    if (l.Right() != 0.0) right = i;
  }
  EXPECT_EQ(left, 75);
  EXPECT_EQ(right, 75);
}

TEST(LookaheadLimiter, InstantAttackKeepsEveryOutputWithinTheThreshold) {
  for (double lookahead : {0.0, 0.2, 1.0, 1.5}) {
    LookaheadLimiter l;
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> loud(-8.0, 8.0);
    double peak = 0;
    for (int i = 0; i < 200000; ++i) {
      const double scale = (i / 5000) % 2 ? 1.0 : 0.05;  // alternate loud passages and quiet ones
      l.Process(loud(rng) * scale, loud(rng) * scale, 1.0, 0, 50, lookahead, 48000);
      peak = std::max({peak, std::fabs(l.Left()), std::fabs(l.Right())});
    }
    EXPECT_LE(peak, 1.0 + 1e-12) << "look-ahead " << lookahead;
    EXPECT_GT(peak, 0.9);
  }
}

TEST(LookaheadLimiter, OneMsAttackReducesGradually) {
  LookaheadLimiter l;
  Recover(l, 0);
  const double before = l.Gain();
  l.Process(4.0, 4.0, 1.0, 1.0, 100, 0, 44100);
  const double c = std::exp(-1.0 / 44.1);
  EXPECT_DOUBLE_EQ(l.Gain(), (before - 0.25) * c + 0.25);
  EXPECT_GT(l.Left(), 1.0);  // a soft attack lets the start of a peak through
}

TEST(LookaheadLimiter, PeakHoldRescansWhenTheHeldPeakIsOverwrittenAndKeepsTheLastOfEqualValues) {
  LookaheadLimiter l;
  // 4 samples at 1000 Hz with 4 ms: n = 4.
  for (double m : {3.0, 2.0, 3.0, 1.0}) l.Process(m, 0, 1.0, 0, 10, 4.0, 1000);
  EXPECT_EQ(l.HeldPeak(), 3.0);
  EXPECT_EQ(l.HeldIndex(), 2);               // 3 ≥ 3: the later one holds
  l.Process(1.0, 0, 1.0, 0, 10, 4.0, 1000);  // overwrites index 0, not the held one
  l.Process(1.0, 0, 1.0, 0, 10, 4.0, 1000);
  EXPECT_EQ(l.HeldPeak(), 3.0);
  l.Process(0.5, 0, 1.0, 0, 10, 4.0, 1000);  // overwrites the held peak: window is 1, 1, 0.5, 1
  EXPECT_EQ(l.HeldPeak(), 1.0);
  EXPECT_EQ(l.HeldIndex(), 3);
}

TEST(LookaheadLimiter, ChangingTheWindowLengthForgetsTheHeldPeak) {
  LookaheadLimiter l;
  for (int i = 0; i < 10; ++i) l.Process(i == 5 ? 9.0 : 0.1, 0, 1.0, 0, 10, 1.5, 44100);
  EXPECT_EQ(l.HeldPeak(), 9.0);
  l.Process(0.2, 0, 1.0, 0, 10, 0.2, 44100);
  EXPECT_EQ(l.WindowSize(), 8);
  EXPECT_EQ(l.HeldPeak(), 0.2);
  EXPECT_EQ(l.HeldIndex(), 0);
}

// The held peak is the largest magnitude of the last n inputs (a NaN counts as absent) on inputs
// that make the window's maximum leave it on every call (a steady decay), plateaus of equal values,
// NaN bursts and silence, at 192 kHz with n = 288.
TEST(LookaheadLimiter, HeldPeakIsTheLargestMagnitudeOfTheLastNInputs) {
  LookaheadLimiter l;
  const int n = LookaheadLimiter::WindowLength(1.5, 192000);
  std::vector<double> magnitudes(static_cast<size_t>(n), 0.0);
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  double level = 1.0;
  for (int i = 0; i < 20000; ++i) {
    double in;
    switch ((i / 1000) % 5) {
      case 0: in = level *= 0.999; break;                       // steady decay
      case 1: in = (i / 40) % 2 ? 0.75 : -0.5; break;           // plateaus of equal peaks
      case 2: in = i % 7 ? u(rng) : std::nan(""); break;        // noise with NaN
      case 3: in = i % 1000 < 500 ? std::nan("") : 0.0; break;  // NaN only, then silence
      default: in = u(rng) * level; break;
    }
    l.Process(in, 0.25 * in, 1.0, 0, 10, 1.5, 192000);
    magnitudes[static_cast<size_t>(i % n)] = std::fabs(in);
    double expected = 0.0;
    for (double m : magnitudes) expected = m >= expected ? m : expected;
    ASSERT_EQ(l.HeldPeak(), expected) << "call " << i;
  }
}
