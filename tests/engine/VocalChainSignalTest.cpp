#include <gtest/gtest.h>

#include <cmath>

#include "ChainRig.h"

namespace {
// Index of the first sample that is not exactly zero, or -1.
long FirstNonZero(const std::vector<double>& v) {
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] != 0.0) return static_cast<long>(i);
  }
  return -1;
}

long ImpulseDelay(ChainRig& rig) {
  rig.Settle();
  Stereo s(4000);
  s.l[100] = s.r[100] = 0.5;
  rig.Run(s);
  return FirstNonZero(s.l) - 100;
}
}  // namespace

TEST(VocalChainSignal, PowerOffSettlesToExactPassThrough) {
  ChainRig rig;
  rig.Set(VocalChain::kCrispy, 6);
  rig.Set(VocalChain::kFinalComp, 20);
  rig.Set(VocalChain::kMode, 3);
  Stereo warm = Voice(44100, 44100, 0.5);
  rig.Run(warm);
  rig.Set(VocalChain::kPower, 0);
  Stereo fade = Voice(44100 / 5, 44100, 0.5, 2);  // ~115 ms glide plus margin
  rig.Run(fade);
  EXPECT_EQ(rig.chain.SmoothedPower(), 0.0);
  const Stereo in = Voice(44100 * 2, 44100, 0.9, 3);
  Stereo out = in;
  rig.Run(out, 333);
  EXPECT_EQ(out.l, in.l);
  EXPECT_EQ(out.r, in.r);
  EXPECT_FALSE(rig.presMeter.Lamp());
  EXPECT_FALSE(rig.finalMeter.Lamp());
}

TEST(VocalChainSignal, PowerGlidesToExactlyOneAgainAfterAbout115Ms) {
  ChainRig rig;
  rig.Set(VocalChain::kPower, 0);
  rig.Settle(0.5);
  rig.Set(VocalChain::kPower, 1);
  int frames = 0;
  Stereo one(1);
  while (rig.chain.SmoothedPower() != 1.0 && frames < 44100) rig.Run(one), ++frames;
  EXPECT_NEAR(frames / 44100.0, 0.115, 0.002);
  EXPECT_TRUE(rig.presMeter.Lamp());
}

TEST(VocalChainSignal, ModeOneDelaysTheProcessedPathBy130SamplesAt44100) {
  ChainRig rig;
  EXPECT_EQ(ImpulseDelay(rig), 130);
}

TEST(VocalChainSignal, ModeTwoDelaysBy86AndModeThreeBy14Samples) {
  ChainRig two;
  two.Set(VocalChain::kMode, 2);
  EXPECT_EQ(ImpulseDelay(two), 86);
  ChainRig three;
  three.Set(VocalChain::kMode, 3);
  EXPECT_EQ(ImpulseDelay(three), 14);
}

TEST(VocalChainSignal, ModeFourWithFinalLimitOnHasNoDelayAndTheFinalLimiterStaysWithinOne) {
  ChainRig rig;
  rig.Set(VocalChain::kMode, 4);
  rig.Set(VocalChain::kFLimit, 1);
  EXPECT_EQ(ImpulseDelay(rig), 0);
  rig.Set(VocalChain::kFinalComp, 25);
  rig.Set(VocalChain::kCrispy, 6);
  Stereo loud = Noise(44100 * 10, 1.0, 5);
  double peak = 0;
  for (size_t at = 0; at < loud.Size(); ++at) {
    double in[2] = {loud.l[at], loud.r[at]}, out[2];
    double* ip[2] = {&in[0], &in[1]};
    double* op[2] = {&out[0], &out[1]};
    rig.chain.Process(ip, op, 1, 1.0, 44100);
    peak = std::max(
        {peak, std::fabs(rig.chain.FinalLimiter().Left()), std::fabs(rig.chain.FinalLimiter().Right())});
  }
  EXPECT_LE(peak, 1.0);
  EXPECT_GT(peak, 0.99);
}

// Every gain averaged for a delayed sample was computed from a window holding that sample, so the
// pres limiter cannot let a sample through above 1.0, up to the rounding of its running mean: the
// sum is updated incrementally and drifts like a random walk. Measured: 3.5e-13 after 3 minutes,
// 2.6e-12 after an hour of loud noise (a 32-bit host sample still reads exactly 1.0). Without
// look-ahead (mode 4) there is no mean and the bound is exact.
TEST(VocalChainSignal, PresLimiterStaysWithinOneOnMinutesOfLoudAudio) {
  for (int mode : {1, 2, 3, 4}) {
    ChainRig rig;
    rig.Set(VocalChain::kMode, mode);
    rig.Set(VocalChain::kPresComp, 25);
    const int seconds = mode == 1 ? 180 : 20;
    double peak = 0;
    for (int s = 0; s < seconds; ++s) {
      // Every third second is quiet enough for the gain to recover, so attacks keep recurring.
      Stereo loud = Noise(44100, s % 3 == 0 ? 0.02 : 1.0, 100 + s);
      for (size_t at = 0; at < loud.Size(); ++at) {
        double* io[2] = {&loud.l[at], &loud.r[at]};
        rig.chain.Process(io, io, 1, 1.0, 44100);
        const LookaheadLimiter& pres = rig.chain.PresLimiter();
        peak = std::max({peak, std::fabs(pres.Left()), std::fabs(pres.Right())});
      }
    }
    EXPECT_LE(peak, mode == 4 ? 1.0 : 1.0 + 1e-11) << "mode " << mode;
    EXPECT_GT(peak, 0.99) << "mode " << mode;
  }
}

TEST(VocalChainSignal, MonoInputWithCrispyGivesDifferentChannelsAndWithoutItTheSame) {
  for (double crispy : {0.0, 3.0}) {
    ChainRig rig;
    rig.Set(VocalChain::kCrispy, crispy);
    Stereo s = Voice(44100, 44100, 0.7);
    s.r = s.l;
    rig.Run(s);
    if (crispy == 0.0) {
      EXPECT_EQ(s.l, s.r);
    } else {
      EXPECT_NE(s.l, s.r);
      EXPECT_NE(rig.chain.SaturatedAirLeft(), rig.chain.SaturatedAirRight());
    }
  }
}

TEST(VocalChainSignal, MetersStayBelowTheirCeilingAndFallWithThreeHundredMs) {
  ChainRig rig;
  rig.Set(VocalChain::kFinalComp, 25);
  Stereo loud = Noise(44100 * 2, 4.0, 9);
  double highest = 0;
  for (size_t at = 0; at < loud.Size(); at += 32) {
    const size_t n = std::min<size_t>(32, loud.Size() - at);
    double* io[2] = {loud.l.data() + at, loud.r.data() + at};
    rig.chain.Process(io, io, static_cast<int>(n), 1.0, 44100);
    highest = std::max({highest, rig.presMeter.Level(), rig.finalMeter.Level()});
  }
  EXPECT_LE(highest, MeterFeed::kCeiling);
  EXPECT_GT(rig.finalMeter.Level(), 1.9);
  rig.Settle(0.05);  // the processed tail dies away; the needle is past its peak and falling
  const double start = rig.finalMeter.Level();
  rig.Settle(0.3);
  EXPECT_NEAR(rig.finalMeter.Level() / start, std::exp(-1.0), 0.01);
}

TEST(VocalChainSignal, BlockSizeDoesNotChangeASingleSample) {
  const Stereo in = Voice(44100 * 2, 44100, 0.8, 4);
  Stereo reference = in;
  ChainRig a;
  a.Run(reference, 512);
  for (int block : {1, 7, 63, 64, 65, 8192}) {
    ChainRig b;
    Stereo out = in;
    b.Run(out, block);
    EXPECT_EQ(out.l, reference.l) << block;
    EXPECT_EQ(out.r, reference.r) << block;
  }
}

TEST(VocalChainSignal, InPlaceAndSeparateBuffersGiveTheSameOutput) {
  const Stereo in = Voice(20000, 44100, 0.8, 5);
  Stereo inPlace = in;
  ChainRig a;
  a.Run(inPlace);
  ChainRig b;
  Stereo out(in.Size());
  const double* ip[2] = {in.l.data(), in.r.data()};
  double* op[2] = {out.l.data(), out.r.data()};
  b.chain.Process(ip, op, static_cast<int>(in.Size()), 1.0, 44100);
  EXPECT_EQ(out.l, inPlace.l);
  EXPECT_EQ(out.r, inPlace.r);
}

TEST(VocalChainSignal, BeforeAnyResetItRunsAtTheHostRate) {
  ChainRig reset(48000);
  ChainRig early(48000);
  early.chain.SetSampleRate(0);
  Stereo a = Voice(48000, 48000, 0.5), b = a;
  reset.Run(a);
  early.Run(b);
  EXPECT_EQ(a.l, b.l);
  EXPECT_GT(Peak(b.l, 24000), 0.05);
}

TEST(VocalChainSignal, WithNoRateAtAllItStillProducesFiniteSound) {
  ChainRig rig;
  rig.chain.SetSampleRate(0);
  rig.hostRate = 0;
  Stereo s = Voice(44100, 44100, 0.5);
  rig.Run(s);
  EXPECT_TRUE(AllFinite(s));
  EXPECT_GT(Peak(s.l, 22050), 0.05);
}
