#include "tools/brelvane/LevelMeter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/tools/TestFiles.h"

namespace brel::cmd {
namespace {

TEST(LevelMeter, PeakIsTheLargestMagnitudeInDbfs) {
  LevelMeter meter(2, 48000);
  std::vector<float> block = {0.25f, -0.5f, 0.125f, 0.0f};
  meter.Add(block.data(), 2);
  EXPECT_EQ(meter.Peak(), 0.5);
  EXPECT_NEAR(meter.PeakDbfs(), -6.0206, 1e-4);
  std::vector<double> louder = {0.0, 2.0};
  meter.Add(louder.data(), 1);
  EXPECT_NEAR(meter.PeakDbfs(), 6.0206, 1e-4);
  EXPECT_EQ(meter.Frames(), 3u);
}

TEST(LevelMeter, SilenceMeasuresMinusInfinity) {
  LevelMeter meter(1, 44100);
  std::vector<float> zeros(44100, 0.0f);
  meter.Add(zeros.data(), 44100);
  EXPECT_TRUE(std::isinf(meter.PeakDbfs()) && meter.PeakDbfs() < 0);
  EXPECT_TRUE(std::isinf(meter.LoudnessLufs()) && meter.LoudnessLufs() < 0);
}

TEST(LevelMeter, IntegratedLoudnessOfAStereoSineAtMinus20Dbfs) {
  // A 1 kHz sine in both channels reads 3 dB below full scale per channel, +3 dB for two.
  test::AudioData s = test::Sine(0, 2, 48000, 48000 * 5, std::pow(10.0, -20.0 / 20.0), 1000.0);
  LevelMeter meter(2, 48000);
  for (std::size_t i = 0; i < s.samples.size(); i += 2 * 512)
    meter.Add(s.samples.data() + i, static_cast<int>(std::min<std::size_t>(512, (s.samples.size() - i) / 2)));
  EXPECT_NEAR(meter.LoudnessLufs(), -20.0, 0.1);
  EXPECT_NEAR(meter.PeakDbfs(), -20.0, 0.01);
}

TEST(LevelMeter, MonoCountsItsOneChannelOnce) {
  test::AudioData s = test::Sine(0, 1, 44100, 44100 * 3, std::pow(10.0, -20.0 / 20.0), 1000.0);
  LevelMeter meter(1, 44100);
  meter.Add(s.samples.data(), static_cast<int>(s.samples.size()));
  EXPECT_NEAR(meter.LoudnessLufs(), -23.0, 0.1);
}

}  // namespace
}  // namespace brel::cmd
