#include "engine/dsp/BiquadCascade.h"

#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <cmath>
#include <limits>
#include <random>

// The filter's test seam: plants a memory value as a burst of overflowing input would leave it.
struct BiquadCascadeTestSeam {
  static void SetMemory(BiquadCascade& f, int index, double value) { f.mMemory[index] = value; }
};

namespace {
constexpr double kPi = 3.141592653589793;

// Amplitude of the filter's response to a unit sine (from its power over the second of two
// seconds, a whole number of periods), so the transient and the sampling phase do not matter.
double GainAt(double hz, double cornerHz, FilterType type, int selector, double rate = 48000) {
  BiquadCascade f;
  double power = 0;
  const int n = static_cast<int>(rate) * 2;
  for (int i = 0; i < n; ++i) {
    const double y = f.Process(std::sin(2 * kPi * hz * i / rate), cornerHz, 0.7, rate, type, selector);
    if (i >= n / 2) power += y * y;
  }
  return std::sqrt(2 * power / (n / 2));
}
}  // namespace

TEST(BiquadCascade, LowPassPassesAConstantWithUnitGain) {
  for (int selector = 0; selector < 4; ++selector) {
    BiquadCascade f;
    double y = 0;
    for (int i = 0; i < 20000; ++i) y = f.Process(0.3, 1000, 0.7, 44100, FilterType::LowPass, selector);
    EXPECT_NEAR(y, 0.3, 1e-12) << selector + 1 << " sections";
  }
}

TEST(BiquadCascade, HighPassRemovesAConstant) {
  BiquadCascade f;
  double y = 1;
  for (int i = 0; i < 200000; ++i) y = f.Process(0.3, 100, 0.7, 44100, FilterType::HighPass, 1);
  EXPECT_NEAR(y, 0.0, 1e-12);
}

TEST(BiquadCascade, GainAtTheCornerIsQPerSectionAndFallsTwelveDbPerOctavePerSection) {
  EXPECT_NEAR(GainAt(1000, 1000, FilterType::LowPass, 0), 0.7, 0.01);
  EXPECT_NEAR(GainAt(1000, 1000, FilterType::LowPass, 1), 0.49, 0.01);
  EXPECT_NEAR(GainAt(1000, 1000, FilterType::HighPass, 1), 0.49, 0.01);
  EXPECT_NEAR(GainAt(100, 1000, FilterType::LowPass, 1), 1.0, 0.01);
  EXPECT_NEAR(GainAt(8000, 1000, FilterType::HighPass, 1), 1.0, 0.01);
  EXPECT_NEAR(GainAt(4000, 1000, FilterType::LowPass, 0), 1.0 / 16, 0.01);  // two octaves, one section
  EXPECT_LT(GainAt(100, 1000, FilterType::HighPass, 3), 1e-7);              // a decade, four sections
}

TEST(BiquadCascade, CoefficientsFollowTheTangentApproximation) {
  const double w = kPi * 1000 / 48000;
  EXPECT_NEAR(BiquadCascade::padeTan(w), std::tan(w), 1e-9);
  EXPECT_DOUBLE_EQ(BiquadCascade::padeTan(1.0), (105.0 - 10.0) / (105.0 - 45.0 + 1.0));
  BiquadCascade f;
  f.Process(0, 1000, 0.7, 48000, FilterType::HighPass, 0);
  const double k = BiquadCascade::padeTan(w);
  const double n = 1 / (1 + k / 0.7 + k * k);
  EXPECT_DOUBLE_EQ(f.B0(), n);
  EXPECT_DOUBLE_EQ(f.B1(), -2 * n);
  EXPECT_DOUBLE_EQ(f.A1(), 2 * (k * k - 1) * n);
  EXPECT_DOUBLE_EQ(f.A2(), (1 - k / 0.7 + k * k) * n);
  f.Process(0, 1000, 0.01, 48000, FilterType::LowPass, 0);  // Q below 0.1 counts as 0.1
  const double n2 = 1 / (1 + k / 0.1 + k * k);
  EXPECT_DOUBLE_EQ(f.B0(), k * k * n2);
  EXPECT_DOUBLE_EQ(f.B2(), k * k * n2);
}

TEST(BiquadCascade, RecomputesOnlyWhenASettingChangesBeyondTheTolerance) {
  BiquadCascade f;
  f.Process(0, 1000, 0.7, 48000, FilterType::LowPass, 0);
  const double b0 = f.B0();
  f.Process(0, 1000 + 5e-11, 0.7, 48000, FilterType::LowPass, 0);
  EXPECT_EQ(f.B0(), b0);
  f.Process(0, 1000 + 2e-10, 0.7, 48000, FilterType::LowPass, 0);
  EXPECT_NE(f.B0(), b0);
  f.Process(0, 1000, 0.7, 48000, FilterType::HighPass, 0);
  EXPECT_NE(f.B1(), 2 * f.B0());
}

TEST(BiquadCascade, ANaNMemoryIsClearedWithinTwelveCalls) {
  for (int phase = 0; phase < 30; ++phase) {
    BiquadCascade f;
    for (int i = 0; i < phase; ++i) f.Process(0.1, 500, 0.7, 48000, FilterType::LowPass, 3);
    BiquadCascadeTestSeam::SetMemory(f, 5, std::numeric_limits<double>::quiet_NaN());
    BiquadCascadeTestSeam::SetMemory(f, 0, std::numeric_limits<double>::infinity());
    int calls = 0;
    double y = std::numeric_limits<double>::quiet_NaN();
    while (!std::isfinite(y) && calls < 100)
      y = f.Process(0.1, 500, 0.7, 48000, FilterType::LowPass, 3), ++calls;
    EXPECT_LE(calls, 12) << "after " << phase << " calls";
    for (int i = 0; i < 8; ++i) EXPECT_TRUE(std::isfinite(f.Memory(i)));
  }
}

TEST(BiquadCascade, FirstSweepIsOnTheThirdCall) {
  BiquadCascade f;
  BiquadCascadeTestSeam::SetMemory(f, 0, std::numeric_limits<double>::quiet_NaN());
  EXPECT_TRUE(std::isnan(f.Process(0, 500, 0.7, 48000, FilterType::LowPass, 0)));
  EXPECT_TRUE(std::isnan(f.Process(0, 500, 0.7, 48000, FilterType::LowPass, 0)));
  EXPECT_EQ(f.Process(0, 500, 0.7, 48000, FilterType::LowPass, 0), 0.0);
}

TEST(BiquadCascade, FlushesSubnormalsDuringTheCallAndRestoresTheCallersMode) {
  constexpr unsigned kStatusFlags = 0x3f;  // sticky exception flags, raised by any inexact operation
  const unsigned saved = _mm_getcsr();
  for (unsigned callerMode : {saved & ~0x8040u, saved | 0x8040u}) {
    _mm_setcsr(callerMode);
    BiquadCascade f;
    const double tiny = std::numeric_limits<double>::denorm_min() * 1000;
    EXPECT_EQ(f.Process(tiny, 1000, 0.7, 48000, FilterType::HighPass, 0), 0.0);  // read as zero
    EXPECT_EQ(_mm_getcsr() & ~kStatusFlags, callerMode & ~kStatusFlags);
  }
  _mm_setcsr(saved);
}

TEST(BiquadCascade, StaysStableWithTheCornerAboveNyquist) {
  for (double rate : {8000.0, 16000.0, 20000.0}) {
    BiquadCascade f;
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> noise(-1, 1);
    double peak = 0;
    for (int i = 0; i < 100000; ++i) {
      peak = std::max(peak, std::fabs(f.Process(noise(rng), 10000, 0.7, rate, FilterType::HighPass, 0)));
    }
    EXPECT_LT(peak, 2.0) << rate;
  }
}
