#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ChainRig.h"

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A second of voice with a burst of `value` (alternating sign, on both channels) starting at 0.25 s.
Stereo WithBurst(int rate, double value, size_t burst) {
  Stereo s = Voice(static_cast<size_t>(rate) * 3, rate, 0.6, 21);
  for (size_t i = rate / 4; i < rate / 4 + burst; ++i) {
    s.l[i] = i % 2 ? value : -value;
    s.r[i] = i % 3 ? value : 0.1;
  }
  return s;
}

void ExpectMetersSane(const ChainRig& rig) {
  for (const MeterFeed* m : {&rig.presMeter, &rig.finalMeter}) {
    EXPECT_TRUE(std::isfinite(m->Level()));
    EXPECT_LE(m->Level(), MeterFeed::kCeiling);
  }
}
}  // namespace

// Non-finite samples enter as silence: the output is exactly what the same audio with zeros in
// place of the burst gives, so recovery takes no time at all.
TEST(VocalChainRobustness, NaNAndInfiniteBurstsActExactlyLikeSilence) {
  for (double bad : {kNaN, kInf, -kInf}) {
    for (size_t burst : {1u, 50u, 5000u}) {
      ChainRig hit, clean;
      hit.Set(VocalChain::kMode, 2);
      clean.Set(VocalChain::kMode, 2);
      Stereo a = WithBurst(44100, bad, burst);
      Stereo b = WithBurst(44100, 0.0, burst);
      hit.Run(a);
      clean.Run(b);
      EXPECT_EQ(a.l, b.l) << bad << " x" << burst;
      EXPECT_EQ(a.r, b.r) << bad << " x" << burst;
      ExpectMetersSane(hit);
    }
  }
}

TEST(VocalChainRobustness, HugeFiniteBurstsKeepEveryOutputFiniteAndDieAwayWithinSeconds) {
  for (int rate : {22050, 44100, 384000}) {
    for (double huge : {1e300, -std::numeric_limits<double>::max(), 1e12}) {
      ChainRig hit(rate), clean(rate);
      for (ChainRig* r : {&hit, &clean}) r->Set(VocalChain::kFinalComp, 25), r->Set(VocalChain::kCrispy, 6);
      Stereo a = WithBurst(rate, huge, 3000);
      Stereo b = WithBurst(rate, 0.0, 3000);
      hit.Run(a);
      clean.Run(b);
      EXPECT_TRUE(AllFinite(a)) << rate << " " << huge;
      ExpectMetersSane(hit);
      double drift = 0;
      for (size_t i = a.Size() - rate / 2; i < a.Size(); ++i)
        drift = std::max(drift, std::fabs(a.l[i] - b.l[i]));
      EXPECT_LT(drift, 1e-3) << rate << " " << huge;  // 2¼ s after the burst
    }
  }
}

TEST(VocalChainRobustness, FullScaleSquaresStayBounded) {
  for (int mode : {1, 2, 3, 4}) {
    ChainRig rig;
    rig.Set(VocalChain::kMode, mode);
    rig.Set(VocalChain::kFLimit, 1);
    rig.Set(VocalChain::kFinalComp, 25);
    Stereo s(44100 * 4);
    for (size_t i = 0; i < s.Size(); ++i) s.l[i] = s.r[i] = (i / 50) % 2 ? 1.0 : -1.0;  // 441 Hz
    rig.Run(s);
    EXPECT_TRUE(AllFinite(s));
    // The band limiters' running means may round a few ulps high (see the pres limiter test).
    EXPECT_LE(Peak(s.l), 1.0 + 1e-12) << "mode " << mode;
    EXPECT_GT(Peak(s.l), 0.9) << "mode " << mode;
  }
}

TEST(VocalChainRobustness, DirectCurrentIsRemovedByTheLowCut) {
  ChainRig rig;
  Stereo s(44100 * 4);
  std::fill(s.l.begin(), s.l.end(), 1.0);
  std::fill(s.r.begin(), s.r.end(), -1.0);
  rig.Run(s);
  EXPECT_TRUE(AllFinite(s));
  EXPECT_LT(Peak(s.l, 44100 * 3), 1e-6);
  EXPECT_LT(Peak(s.r, 44100 * 3), 1e-6);
}

TEST(VocalChainRobustness, MinutesOfSilenceAfterSoundEndInExactZeros) {
  ChainRig rig;
  Stereo voice = Voice(44100, 44100, 0.8);
  rig.Run(voice);
  Stereo quiet(44100 * 120);
  rig.Run(quiet, 4096);
  EXPECT_TRUE(AllFinite(quiet));
  EXPECT_EQ(Peak(quiet.l, 44100 * 60), 0.0);
  EXPECT_EQ(Peak(quiet.r, 44100 * 60), 0.0);
}

TEST(VocalChainRobustness, SampleRateChangesMidStreamKeepTheOutputSane) {
  ChainRig rig(44100);
  for (int rate : {22050, 384000, 44100, 96000, 192000, 48000, 22050, 88200}) {
    rig.chain.SetSampleRate(rate);
    rig.hostRate = rate;
    Stereo s = Voice(static_cast<size_t>(rate / 2), rate, 0.7, static_cast<unsigned>(rate));
    rig.Run(s, 1000);
    EXPECT_TRUE(AllFinite(s)) << rate;
    EXPECT_LT(Peak(s.l), 2.0) << rate;
    EXPECT_GT(Peak(s.l, s.Size() / 2), 0.05) << rate;
    EXPECT_EQ(rig.chain.FinalLimiter().WindowSize(), LookaheadLimiter::WindowLength(1.5, rate));
  }
}

TEST(VocalChainRobustness, MissingBuffersAndEmptyBlocksAreHarmless) {
  ChainRig rig;
  Stereo s(64);
  std::fill(s.l.begin(), s.l.end(), 0.5);
  std::fill(s.r.begin(), s.r.end(), 0.5);
  double* ins[2] = {s.l.data(), nullptr};
  Stereo out(64);
  std::fill(out.l.begin(), out.l.end(), 9.0);
  double* outs[2] = {out.l.data(), out.r.data()};
  rig.chain.Process(ins, outs, 64, 1.0, 44100);
  EXPECT_EQ(Peak(out.l), 0.0);  // no input channel: silence
  rig.chain.Process(nullptr, outs, 64, 1.0, 44100);
  double* noOut[2] = {out.l.data(), nullptr};
  double* both[2] = {s.l.data(), s.r.data()};
  rig.chain.Process(both, noOut, 64, 1.0, 44100);
  rig.chain.Process(both, nullptr, 64, 1.0, 44100);
  rig.chain.Process(both, both, 0, 1.0, 44100);
  rig.chain.Process(both, both, -5, 1.0, 44100);
  EXPECT_EQ(s.l[0], 0.5);  // nothing was processed
}
