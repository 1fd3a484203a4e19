// The vocal chain against the independent model, sample by sample: default settings, every mode
// with each limiter switch, knobs, power and mode moved mid-stream, extreme settings, sample-rate
// changes, block sizes, long runs of random settings, and processing before any parameter was reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/VocalChain.h"
#include "tests/engine/verify/ChainComparison.h"
#include "tests/engine/verify/ScenarioBuilder.h"

namespace verify {
namespace {

using P = VocalChain::Param;

void ExpectAgreement(const Scenario& scenario) {
  const Agreement a = CompareAndReport(scenario);
  EXPECT_TRUE(a.Agrees()) << a.Summary(scenario.name);
  EXPECT_LE(a.maxOutputDiff, kTolerance);
  EXPECT_LE(a.maxMeterDiff, kTolerance);
  EXPECT_LE(a.maxStateDiff, kTolerance);
  // Both sides take the same steps in the same order, so the bits agree too; a rounding-level
  // difference means the order of operations changed on one side.
  EXPECT_EQ(a.inexactSamples, 0) << scenario.name;
}

Stereo SpeechThenLoudNoise(int rate, std::uint64_t seed) {
  Stereo s = Speech(rate, 0.6, 0.0, seed);
  s.Append(WhiteNoise(rate, 0.3, 12.0, seed));
  s.Append(Speech(rate, 0.3, -12.0, seed + 1));
  return s;
}

TEST(ChainAgreement, DefaultSettingsAt44100) {
  ExpectAgreement(ScenarioBuilder("defaults, speech, 44100 Hz", 44100, Speech(44100, 3.0, -3.0, 1)).Build());
}

TEST(ChainAgreement, DefaultSettingsAt48000) {
  ExpectAgreement(ScenarioBuilder("defaults, speech, 48000 Hz", 48000, Speech(48000, 3.0, -3.0, 2)).Build());
}

TEST(ChainAgreement, EveryModeWithEachLimitSwitch) {
  for (int mode = 1; mode <= 4; ++mode) {
    for (int pLimit = 0; pLimit <= 1; ++pLimit) {
      for (int fLimit = 0; fLimit <= 1; ++fLimit) {
        const std::string name = "mode " + std::to_string(mode) + ", P Limit " + std::to_string(pLimit) +
                                 ", F Limit " + std::to_string(fLimit);
        SCOPED_TRACE(name);
        ExpectAgreement(ScenarioBuilder(name, 44100, SpeechThenLoudNoise(44100, 10 + mode))
                            .At(0, {{P::kMode, mode}, {P::kPLimit, pLimit}, {P::kFLimit, fLimit}})
                            .At(0, {{P::kCrispy, 3.0}, {P::kFinalComp, 6.0}})
                            .Build());
      }
    }
  }
}

TEST(ChainAgreement, EveryKnobMovedMidStream) {
  ScenarioBuilder b("every knob moved mid-stream", 44100, Speech(44100, 4.0, -6.0, 3));
  b.At(0.20, P::kPresComp, 25).At(0.45, P::kPresComp, -5).At(0.46, P::kPresComp, 7.31);
  b.At(0.30, P::kLowCut, 300).At(0.50, P::kLowCut, 20).At(0.52, P::kLowCut, 157.77);
  b.At(0.70, P::kTighten, 0).At(0.90, P::kTighten, 100).At(0.95, P::kTighten, 31.4);
  b.At(1.10, P::kBass, 10).At(1.30, P::kBass, -10).At(1.31, P::kBass, 2.5);
  b.At(1.50, P::kCrispy, 6).At(1.70, P::kCrispy, 3).At(1.71, P::kCrispy, 0.01);
  b.At(1.90, P::kFinalComp, 25).At(2.10, P::kFinalComp, -25).At(2.12, P::kFinalComp, 4.2);
  b.At(2.30, P::kDbOutput, 20).At(2.50, P::kDbOutput, -30).At(2.51, P::kDbOutput, -1.5);
  b.At(2.70, P::kPLimit, 0).At(2.90, P::kFLimit, 1).At(3.00, P::kMode, 3).At(3.20, P::kPLimit, 1);
  // Every knob at once, then a rapid sweep of the two filter frequencies.
  b.At(3.40, {{P::kPresComp, 18},
              {P::kLowCut, 250},
              {P::kTighten, 80},
              {P::kBass, -4},
              {P::kCrispy, 5},
              {P::kFinalComp, 10},
              {P::kDbOutput, -6}});
  for (int i = 0; i < 40; ++i) {
    b.At(3.5 + i * 0.01, {{P::kLowCut, 20 + 7 * i}, {P::kTighten, 100 - 2.5 * i}});
  }
  ExpectAgreement(b.Build());
}

TEST(ChainAgreement, PowerOffAndOnMidStream) {
  ExpectAgreement(ScenarioBuilder("power off, on, off mid-glide, on", 44100, Speech(44100, 3.0, -3.0, 4))
                      .At(0.5, P::kPower, 0)
                      .At(1.2, P::kPower, 1)
                      .At(1.23, P::kPower, 0)
                      .At(1.26, P::kPower, 1)
                      .At(2.0, P::kPower, 0)
                      .At(2.5, P::kPower, 1)
                      .Build());
}

TEST(ChainAgreement, ModeZeroAfterModeTwo) {
  ExpectAgreement(ScenarioBuilder("mode 2 then 0 then 4 then 0", 44100, SpeechThenLoudNoise(44100, 5))
                      .At(0.1, P::kMode, 2)
                      .At(0.4, P::kMode, 0)
                      .At(0.7, P::kMode, 4)
                      .At(0.9, P::kMode, 0)
                      .At(1.0, P::kMode, 1)
                      .Build());
}

// With no look-ahead the limiters leave their windows and delay lines as they were; going back to
// the same look-ahead picks those up again rather than starting from empty ones.
TEST(ChainAgreement, ModeFourAndBackToModeOne) {
  ExpectAgreement(ScenarioBuilder("mode 1, 4, 1, 4, 1", 44100, SpeechThenLoudNoise(44100, 14))
                      .At(0, P::kCrispy, 4)
                      .At(0.35, P::kMode, 4)
                      .At(0.40, P::kMode, 1)
                      .At(0.65, P::kMode, 4)
                      .At(0.75, P::kMode, 1)
                      .Build());
}

TEST(ChainAgreement, ExtremeKnobSettings) {
  const Stereo loud = SpeechThenLoudNoise(44100, 6);
  ExpectAgreement(ScenarioBuilder("every knob at its maximum", 44100, loud)
                      .At(0, {{P::kPresComp, 25},
                              {P::kLowCut, 300},
                              {P::kTighten, 100},
                              {P::kBass, 10},
                              {P::kCrispy, 6},
                              {P::kFinalComp, 25},
                              {P::kDbOutput, 20}})
                      .Build());
  ExpectAgreement(ScenarioBuilder("every knob at its minimum", 44100, loud)
                      .At(0, {{P::kPresComp, -5},
                              {P::kLowCut, 20},
                              {P::kTighten, 0},
                              {P::kBass, -10},
                              {P::kCrispy, 0},
                              {P::kFinalComp, -25},
                              {P::kDbOutput, -30}})
                      .Build());
  ExpectAgreement(ScenarioBuilder("knobs jumping between their ends", 44100, loud)
                      .At(0, {{P::kPresComp, 25},
                              {P::kLowCut, 20},
                              {P::kTighten, 0},
                              {P::kBass, 10},
                              {P::kCrispy, 6},
                              {P::kFinalComp, -25},
                              {P::kDbOutput, 20}})
                      .At(0.3, {{P::kPresComp, -5},
                                {P::kLowCut, 300},
                                {P::kTighten, 100},
                                {P::kBass, -10},
                                {P::kCrispy, 0},
                                {P::kFinalComp, 25},
                                {P::kDbOutput, -30},
                                {P::kMode, 4}})
                      .At(0.6, {{P::kPresComp, 25}, {P::kFinalComp, 25}, {P::kDbOutput, 20}, {P::kCrispy, 6}})
                      .Build());
}

TEST(ChainAgreement, SampleRateChangesMidStream) {
  Stereo s = Speech(44100, 0.5, 0.0, 7);
  s.Append(WhiteNoise(44100, 0.5, 6.0, 7));
  s.Append(Speech(44100, 1.5, 0.0, 8));
  ExpectAgreement(ScenarioBuilder("sample rate 44100, 96000, 22050, 192000, 48000", 44100, s)
                      .Rate(0.4, 96000)
                      .At(0.6, P::kMode, 2)
                      .Rate(0.8, 22050)
                      .Rate(1.2, 192000)
                      .At(1.3, P::kMode, 3)
                      .Rate(1.9, 48000)
                      .At(2.2, P::kMode, 1)
                      .Build());
  ExpectAgreement(ScenarioBuilder("sample rate 8000, 384000, 8000", 8000, Speech(8000, 3.0, 0.0, 15))
                      .Rate(1.0, 384000)
                      .Rate(1.25, 8000)
                      .At(2.0, P::kMode, 3)
                      .Build());
}

// Below 20 kHz the air band's 10 kHz corner lies above half the rate. Held at half the rate, the
// air filter stays stable and the chain stays finite with or without "Crispy".
TEST(ChainAgreement, LowSampleRatesWithTheAirCornerAboveHalfTheRate) {
  const int rates[] = {8000, 11025, 12000, 16000, 19000};
  for (int rate : rates) {
    const std::string name = "air corner above half of " + std::to_string(rate) + " Hz";
    SCOPED_TRACE(name);
    ExpectAgreement(
        ScenarioBuilder(name, rate, SpeechThenLoudNoise(rate, 18)).At(0.5, P::kCrispy, 6).Build());
  }
}

TEST(ChainAgreement, LowSampleRatesGiveFiniteOutput) {
  const int rates[] = {8000, 11025, 12000, 16000, 19000};
  for (int rate : rates) {
    VocalChain chain;
    chain.SetSampleRate(rate);
    for (int i = 0; i < VocalChain::kNumParams; ++i) chain.OnParamChanged(i, DefaultValue(i));
    chain.OnParamChanged(P::kCrispy, 6);
    Stereo s = SpeechThenLoudNoise(rate, 19);
    const double* in[2] = {s.left.data(), s.right.data()};
    std::vector<double> outL(s.left.size()), outR(s.left.size());
    double* out[2] = {outL.data(), outR.data()};
    chain.Process(in, out, static_cast<int>(s.Frames()), 1.0, rate);
    int nonFinite = 0;
    for (long i = 0; i < s.Frames(); ++i)
      nonFinite += std::isfinite(outL[i]) && std::isfinite(outR[i]) ? 0 : 1;
    EXPECT_EQ(nonFinite, 0) << rate << " Hz";
  }
}

TEST(ChainAgreement, NoResetRunsAtTheHostRate) {
  ExpectAgreement(ScenarioBuilder("never reset, host at 48000", 48000, Speech(48000, 1.0, 0.0, 16))
                      .WithoutResetRate()
                      .Build());
}

TEST(ChainAgreement, BlockSizesFromOneTo8192) {
  const Stereo s = Speech(48000, 1.5, 0.0, 9);
  ExpectAgreement(ScenarioBuilder("blocks of 1", 48000, s).Blocks({1}).At(0.5, P::kMode, 2).Build());
  ExpectAgreement(ScenarioBuilder("blocks of 7, 13, 1, 4096", 48000, s)
                      .Blocks({7, 13, 1, 4096})
                      .At(0.5, P::kMode, 3)
                      .Build());
  ExpectAgreement(ScenarioBuilder("blocks of 8192", 48000, s).Blocks({8192}).At(0.5, P::kMode, 4).Build());
  ExpectAgreement(
      ScenarioBuilder("empty blocks between others", 48000, s).Blocks({0, 100, 1, 0, 37}).Build());
}

TEST(ChainAgreement, NegativeFrameCountChangesNothing) {
  const Stereo s = Speech(44100, 0.2, 0.0, 20);
  VocalChain touched, untouched;
  for (VocalChain* chain : {&touched, &untouched}) {
    chain->SetSampleRate(44100);
    for (int i = 0; i < VocalChain::kNumParams; ++i) chain->OnParamChanged(i, DefaultValue(i));
  }
  const int half = static_cast<int>(s.Frames() / 2);
  std::vector<double> a(s.left.size(), NAN), b(s.left.size(), NAN), c(s.left.size(), NAN),
      d(s.left.size(), NAN);
  const double* first[2] = {s.left.data(), s.right.data()};
  const double* second[2] = {s.left.data() + half, s.right.data() + half};
  double* outTouched[2] = {a.data(), b.data()};
  double* outUntouched[2] = {c.data(), d.data()};
  touched.Process(first, outTouched, half, 1.0, 44100);
  untouched.Process(first, outUntouched, half, 1.0, 44100);
  double* sentinel[2] = {a.data() + half, b.data() + half};
  touched.Process(second, sentinel, -5, 1.0, 44100);
  EXPECT_TRUE(std::isnan(a[half]) && std::isnan(b[half])) << "no sample may be written";
  double* restTouched[2] = {a.data() + half, b.data() + half};
  double* restUntouched[2] = {c.data() + half, d.data() + half};
  touched.Process(second, restTouched, half, 1.0, 44100);
  untouched.Process(second, restUntouched, half, 1.0, 44100);
  for (int i = 0; i < 2 * half; ++i) {
    ASSERT_EQ(a[i], c[i]) << i;
    ASSERT_EQ(b[i], d[i]) << i;
  }
}

TEST(ChainAgreement, InPlaceProcessing) {
  ExpectAgreement(ScenarioBuilder("outputs over the inputs", 44100, SpeechThenLoudNoise(44100, 17))
                      .InPlace()
                      .At(0.3, P::kPower, 0)
                      .At(0.5, P::kPower, 1)
                      .At(0.6, P::kCrispy, 6)
                      .Build());
}

TEST(ChainAgreement, MetersSampleBySample) {
  // One-frame blocks read the meters after every sample; the meters run at the host's rate.
  ExpectAgreement(ScenarioBuilder("meters after every sample", 44100, SpeechThenLoudNoise(44100, 11))
                      .Blocks({1})
                      .At(0.2, P::kFinalComp, 12)
                      .At(0.7, P::kPower, 0)
                      .At(0.9, P::kPower, 1)
                      .Build());
  ExpectAgreement(ScenarioBuilder("meters at a host rate that differs from the reset rate", 44100,
                                  Speech(44100, 1.0, 0.0, 12))
                      .MeterRate(48000)
                      .Build());
}

// Speech with a loud noise burst, a silence, a 12 kHz tone in the left channel only (the air band)
// and a stretch of constant subnormal input, six seconds in all.
Stereo MixedMaterial(int rate, std::uint64_t seed) {
  Stereo s = Speech(rate, 6.0, -4.0, seed);
  Noise burst(seed + 1);
  for (long i = 0; i < s.Frames(); ++i) {
    const double t = static_cast<double>(i) / rate;
    if (t > 1.0 && t < 1.4) s.left[i] = s.right[i] = 2.5 * burst.Uniform();
    if (t > 2.0 && t < 2.3) s.left[i] = s.right[i] = 0.0;
    if (t > 3.0 && t < 3.2) s.left[i] += 0.9 * std::sin(2 * 3.141592653589793 * 12000 * t);
    if (t > 4.0 && t < 4.1) s.left[i] = s.right[i] = 1e-310;
  }
  return s;
}

// Every 80 ms three parameters jump to random values: knobs anywhere in their ranges, "Mode" to
// 0..4, the limit switches on or off. "Power" is off for 0.4 s in the middle. One-frame blocks
// compare the meters and every limiter after each sample.
Scenario RandomSettingsRun(int rate, std::uint64_t seed) {
  const double lo[] = {-5, 20, 0, -10, 0, -25, -30};
  const double hi[] = {25, 300, 100, 10, 6, 25, 20};
  ScenarioBuilder b("random settings over mixed material, " + std::to_string(rate) + " Hz", rate,
                    MixedMaterial(rate, seed));
  Noise pick(seed + 2);
  const auto unit = [&pick] { return 0.5 * (pick.Uniform() + 1.0); };  // [0, 1)
  for (int step = 1; step < 75; ++step) {
    const double t = step * 0.08;
    if (step == 37) b.At(t, P::kPower, 0);
    if (step == 42) b.At(t, P::kPower, 1);
    for (int k = 0; k < 3; ++k) {
      const int index = std::min<int>(P::kFLimit, static_cast<int>(unit() * P::kNumParams));
      if (index < P::kPower) {
        b.At(t, index, lo[index] + (hi[index] - lo[index]) * unit());
      } else if (index == P::kMode) {
        b.At(t, index, std::floor(unit() * 5));
      } else if (index != P::kPower) {
        b.At(t, index, unit() < 0.5 ? 0.0 : 1.0);
      }
    }
  }
  return b.Blocks({1}).Build();
}

TEST(ChainAgreement, RandomSettingsOverMixedMaterialAt44100) {
  ExpectAgreement(RandomSettingsRun(44100, 30));
}

TEST(ChainAgreement, RandomSettingsOverMixedMaterialAt96000) {
  ExpectAgreement(RandomSettingsRun(96000, 31));
}

TEST(ChainAgreement, ProcessingBeforeAnyParameterIsReported) {
  ScenarioBuilder b("audio before the parameters are reported", 44100, Speech(44100, 1.5, 0.0, 13));
  b.WithoutDefaults();
  for (int i = 0; i < VocalChain::kNumParams; ++i) b.At(0.5, i, DefaultValue(i));
  ExpectAgreement(b.Build());
}

}  // namespace
}  // namespace verify
