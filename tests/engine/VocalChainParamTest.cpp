#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ChainRig.h"

namespace {
void ExpectTiming(const TimingSet& t, double band, double fin, double bass, double pres, double finRec) {
  EXPECT_EQ(t.bandLookaheadMs, band);
  EXPECT_EQ(t.finalLookaheadMs, fin);
  EXPECT_EQ(t.bassRecoveryMs, bass);
  EXPECT_EQ(t.presRecoveryMs, pres);
  EXPECT_EQ(t.finalRecoveryMs, finRec);
}
}  // namespace

TEST(VocalChainParams, StartsInTheInitialState) {
  VocalChain c;
  EXPECT_EQ(c.SampleRate(), 0);
  EXPECT_EQ(c.Targets().presGain, 0.0);
  EXPECT_EQ(c.Targets().lowCutHz, 0.0);
  EXPECT_EQ(c.Targets().outputGain, 0.0);
  EXPECT_EQ(c.SmoothedPower(), 1.0);
  ExpectTiming(c.Timing(), 1.5, 1.5, 160, 160, 280);
  EXPECT_EQ(c.BandAttackMs(), 0.0);
  EXPECT_EQ(c.FinalAttackMs(), 0.0);
  EXPECT_EQ(c.PresLimiter().Gain(), 1.0);
}

TEST(VocalChainParams, DecibelsBecomeFactorsAndMinus200OrLessIsSilence) {
  EXPECT_EQ(VocalChain::DbToGain(0), 1.0);
  EXPECT_DOUBLE_EQ(VocalChain::DbToGain(20), 10.0);
  EXPECT_DOUBLE_EQ(VocalChain::DbToGain(-6), 0.50118723362727224);
  EXPECT_EQ(VocalChain::DbToGain(-200), 0.0);
  EXPECT_EQ(VocalChain::DbToGain(-1000), 0.0);
  EXPECT_GT(VocalChain::DbToGain(-199.99), 0.0);
}

TEST(VocalChainParams, GainKnobsSetTheirTargetsInDecibels) {
  ChainRig rig;
  EXPECT_DOUBLE_EQ(rig.chain.Targets().presGain, std::pow(10.0, 12.5 / 20));
  rig.Set(VocalChain::kBass, -10);
  rig.Set(VocalChain::kFinalComp, 25);
  rig.Set(VocalChain::kDbOutput, -30);
  EXPECT_DOUBLE_EQ(rig.chain.Targets().bassGain, 0.31622776601683794);
  EXPECT_DOUBLE_EQ(rig.chain.Targets().finalGain, 17.782794100389228);
  EXPECT_DOUBLE_EQ(rig.chain.Targets().outputGain, 0.031622776601683791);
  rig.Set(VocalChain::kLowCut, 250);
  EXPECT_EQ(rig.chain.Targets().lowCutHz, 250.0);
}

TEST(VocalChainParams, CrispyFollowsTheBezierCurve) {
  VocalChain c;
  c.OnParamChanged(VocalChain::kCrispy, 0);
  EXPECT_EQ(c.Targets().crispAmount, 0.0);
  c.OnParamChanged(VocalChain::kCrispy, 3);
  EXPECT_NEAR(c.Targets().crispAmount, 0.13695, 1e-12);
  c.OnParamChanged(VocalChain::kCrispy, 6);
  EXPECT_NEAR(c.Targets().crispAmount, 0.498, 1e-12);
  c.OnParamChanged(VocalChain::kCrispy, 1.5);
  EXPECT_NEAR(c.Targets().crispAmount, (0.25 * 0.05 * 0.75 + (0.75 * 0.05 + 0.25) * 0.25) * 6 * 0.083, 1e-15);
}

TEST(VocalChainParams, TightenPutsTheCrossoverBetween20And450Hz) {
  VocalChain c;
  c.OnParamChanged(VocalChain::kTighten, 0);
  EXPECT_EQ(c.Targets().tightenHz, 20.0);
  c.OnParamChanged(VocalChain::kTighten, 100);
  EXPECT_EQ(c.Targets().tightenHz, 450.0);
  c.OnParamChanged(VocalChain::kTighten, 53.5);
  EXPECT_DOUBLE_EQ(c.Targets().tightenHz, 250.05);
}

TEST(VocalChainParams, EachModeSelectsItsTimingSetAndTellsBothMeters) {
  ChainRig rig;
  rig.Set(VocalChain::kMode, 1);
  ExpectTiming(rig.chain.Timing(), 1.5, 1.5, 250, 200, 280);
  rig.Set(VocalChain::kMode, 2);
  ExpectTiming(rig.chain.Timing(), 1.0, 1.0, 50, 30, 20);
  EXPECT_EQ(rig.presMeter.Mode(), 2);
  EXPECT_EQ(rig.finalMeter.Mode(), 2);
  rig.Set(VocalChain::kMode, 3);
  ExpectTiming(rig.chain.Timing(), 0.2, 0.2, 50, 30, 5);
  rig.Set(VocalChain::kMode, 4.75);  // truncated
  ExpectTiming(rig.chain.Timing(), 0, 0, 320, 300, 2);
  EXPECT_EQ(rig.finalMeter.Mode(), 4);
}

TEST(VocalChainParams, ModeZeroAfterModeTwoKeepsModeTwosTiming) {
  ChainRig rig;
  rig.Set(VocalChain::kMode, 2);
  rig.Set(VocalChain::kMode, 0);
  ExpectTiming(rig.chain.Timing(), 1.0, 1.0, 50, 30, 20);
  EXPECT_EQ(rig.presMeter.Mode(), 0);
}

TEST(VocalChainParams, LimitSwitchesChooseInstantOrOneMillisecondAttack) {
  VocalChain c;
  c.OnParamChanged(VocalChain::kPLimit, 0);
  c.OnParamChanged(VocalChain::kFLimit, 0.49);
  EXPECT_EQ(c.BandAttackMs(), 1.0);
  EXPECT_EQ(c.FinalAttackMs(), 1.0);
  c.OnParamChanged(VocalChain::kPLimit, 1);
  c.OnParamChanged(VocalChain::kFLimit, 0.5);
  EXPECT_EQ(c.BandAttackMs(), 0.0);
  EXPECT_EQ(c.FinalAttackMs(), 0.0);
}

TEST(VocalChainParams, ValuesOutsideTheRangeAreTakenAtItsEndsAndNonFiniteOnesIgnored) {
  ChainRig rig;
  rig.Set(VocalChain::kLowCut, -8);  // what a normalised value of −0.1 gives
  EXPECT_EQ(rig.chain.Targets().lowCutHz, 20.0);
  rig.Set(VocalChain::kTighten, -50);
  EXPECT_EQ(rig.chain.Targets().tightenHz, 20.0);
  rig.Set(VocalChain::kCrispy, -3);
  EXPECT_EQ(rig.chain.Targets().crispAmount, 0.0);
  rig.Set(VocalChain::kPresComp, std::numeric_limits<double>::quiet_NaN());
  rig.Set(VocalChain::kDbOutput, std::numeric_limits<double>::infinity());
  EXPECT_DOUBLE_EQ(rig.chain.Targets().presGain, std::pow(10.0, 12.5 / 20));
  EXPECT_EQ(rig.chain.Targets().outputGain, 1.0);
  rig.Set(VocalChain::kMode, 7);
  rig.Set(VocalChain::kMode, -3);
  rig.Set(VocalChain::kMode, 1e300);
  ExpectTiming(rig.chain.Timing(), 1.5, 1.5, 250, 200, 280);
  rig.Set(-1, 5);
  rig.Set(VocalChain::kNumParams, 5);  // unknown indices change nothing
  ExpectTiming(rig.chain.Timing(), 1.5, 1.5, 250, 200, 280);
}

TEST(VocalChainParams, RunsAtTheResetRateThenTheHostRateThenADefault) {
  VocalChain c;
  EXPECT_EQ(c.DspRate(0), VocalChain::kDefaultSampleRate);
  EXPECT_EQ(c.DspRate(-5), VocalChain::kDefaultSampleRate);
  EXPECT_EQ(c.DspRate(48000), 48000);
  c.SetSampleRate(96000);
  EXPECT_EQ(c.DspRate(48000), 96000);
  c.SetSampleRate(50000000);
  EXPECT_EQ(c.DspRate(48000), VocalChain::kMaxSampleRate);
}
