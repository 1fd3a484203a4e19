// The documented worked numbers, checked on the real blocks and chain and on the independent model
// alike, so the model is known to read the text the same way before it judges anything.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/VocalChain.h"
#include "engine/dsp/BiquadCascade.h"
#include "engine/dsp/DelayLine.h"
#include "engine/dsp/LookaheadLimiter.h"
#include "engine/dsp/MovingAverage.h"
#include "tests/engine/verify/ModelAverage.h"
#include "tests/engine/verify/ModelBiquad.h"
#include "tests/engine/verify/ModelChain.h"
#include "tests/engine/verify/ModelDelay.h"
#include "tests/engine/verify/ModelLimiter.h"

namespace verify {
namespace {

using model::ModelChain;

// Index of the first output sample whose magnitude exceeds half the impulse.
template <typename Limiter>
int ImpulseArrival(Limiter& limiter, double lookaheadMs, int rate) {
  for (int i = 0; i < 400; ++i) {
    const double in = i == 0 ? 0.5 : 0.0;
    limiter.Process(in, -in, 1.0, 0.0, 0.0, lookaheadMs, rate);
    if (std::fabs(limiter.Left()) > 0.25 && std::fabs(limiter.Right()) > 0.25) return i;
  }
  return -1;
}

// The model's limiter under the block's call shape.
struct ModelLimiterCalls {
  model::ModelLimiter m;
  void Process(double l, double r, double t, double a, double rec, double la, int rate) {
    m.Process(l, r, t, a, rec, la, rate);
  }
  double Left() const { return m.Left(); }
  double Right() const { return m.Right(); }
};

TEST(WorkedNumbers, LookaheadWindowLengths) {
  EXPECT_EQ(model::ModelLimiter::WindowLength(1.5, 44100), 66);
  EXPECT_EQ(model::ModelLimiter::WindowLength(1.0, 44100), 44);
  EXPECT_EQ(model::ModelLimiter::WindowLength(0.2, 44100), 8);
  EXPECT_EQ(model::ModelLimiter::WindowLength(0.0, 44100), 0);
  EXPECT_EQ(LookaheadLimiter::WindowLength(1.5, 44100), 66);
  EXPECT_EQ(LookaheadLimiter::WindowLength(1.0, 44100), 44);
  EXPECT_EQ(LookaheadLimiter::WindowLength(0.2, 44100), 8);
  EXPECT_EQ(LookaheadLimiter::WindowLength(0.0, 44100), 0);
}

TEST(WorkedNumbers, LimiterDelaysBy65SamplesAt1_5MsAnd44100) {
  LookaheadLimiter block;
  ModelLimiterCalls model;
  EXPECT_EQ(ImpulseArrival(block, 1.5, 44100), 65);
  EXPECT_EQ(ImpulseArrival(model, 1.5, 44100), 65);
  LookaheadLimiter instant;
  EXPECT_EQ(ImpulseArrival(instant, 0.0, 44100), 0);
}

TEST(WorkedNumbers, LimiterAtZeroLookaheadLimitsTheSameCall) {
  LookaheadLimiter block;
  model::ModelLimiter model;
  for (int i = 0; i < 20000; ++i) {  // let the gain recover to 1 from its start at 0
    block.Process(0.1, 0.1, 1.0, 0.0, 2.0, 0.0, 44100);
    model.Process(0.1, 0.1, 1.0, 0.0, 2.0, 0.0, 44100);
  }
  // The follower settles within an ulp or two of 1, which is what "returned to 1" can mean.
  ASSERT_NEAR(block.Gain(), 1.0, 1e-12);
  ASSERT_NEAR(model.Gain(), 1.0, 1e-12);
  block.Process(2.0, 0.5, 1.0, 0.0, 2.0, 0.0, 44100);
  model.Process(2.0, 0.5, 1.0, 0.0, 2.0, 0.0, 44100);
  EXPECT_EQ(block.Left(), 1.0);
  EXPECT_EQ(block.Right(), 0.25);
  EXPECT_EQ(model.Left(), 1.0);
  EXPECT_EQ(model.Right(), 0.25);
}

TEST(WorkedNumbers, DelayLineAndMovingAverage) {
  DelayLine delay;
  model::ModelDelay modelDelay;
  const double expectedDelay[] = {0, 0, 1, 2};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(delay.Process(i + 1.0, 3), expectedDelay[i]);
    EXPECT_EQ(modelDelay.Process(i + 1.0, 3), expectedDelay[i]);
  }
  EXPECT_EQ(DelayLine().Process(7.0, 1), 7.0);
  EXPECT_EQ(model::ModelDelay().Process(7.0, 1), 7.0);
  MovingAverage average;
  model::ModelAverage modelAverage;
  const double expectedMean[] = {0.5, 1, 1};
  for (double e : expectedMean) {
    EXPECT_EQ(average.Process(1.0, 3), e);
    EXPECT_EQ(modelAverage.Process(1.0, 3), e);
  }
}

TEST(WorkedNumbers, CrispAmounts) {
  VocalChain chain;
  ModelChain model;
  const double db[] = {0.0, 3.0, 6.0};
  const double expected[] = {0.0, 0.13695, 0.498};
  for (int i = 0; i < 3; ++i) {
    chain.OnParamChanged(VocalChain::kCrispy, db[i]);
    model.OnParamChanged(VocalChain::kCrispy, db[i]);
    EXPECT_NEAR(chain.Targets().crispAmount, expected[i], 1e-12) << db[i] << " dB";
    EXPECT_NEAR(model.Targets().crispAmount, expected[i], 1e-12) << db[i] << " dB";
    EXPECT_EQ(chain.Targets().crispAmount, model.Targets().crispAmount) << db[i] << " dB";
  }
}

TEST(WorkedNumbers, TightenCrossoverFrom20To450Hz) {
  VocalChain chain;
  ModelChain model;
  const double percent[] = {0.0, 100.0, 53.5};
  const double expected[] = {20.0, 450.0, 250.05};
  for (int i = 0; i < 3; ++i) {
    chain.OnParamChanged(VocalChain::kTighten, percent[i]);
    model.OnParamChanged(VocalChain::kTighten, percent[i]);
    EXPECT_NEAR(chain.Targets().tightenHz, expected[i], 1e-9) << percent[i] << " %";
    EXPECT_NEAR(model.Targets().tightenHz, expected[i], 1e-9) << percent[i] << " %";
    EXPECT_EQ(chain.Targets().tightenHz, model.Targets().tightenHz) << percent[i] << " %";
  }
}

TEST(WorkedNumbers, DbToGainWithItsFloor) {
  EXPECT_EQ(ModelChain::DbToGain(0.0), 1.0);
  EXPECT_EQ(ModelChain::DbToGain(-200.0), 0.0);
  EXPECT_NEAR(ModelChain::DbToGain(25.0), 17.7827941, 1e-7);
  const double db[] = {-30.0, -25.0, -10.0, -5.0, 0.0, 12.5, 20.0, 25.0};
  for (double v : db) EXPECT_EQ(VocalChain::DbToGain(v), ModelChain::DbToGain(v)) << v << " dB";
}

TEST(WorkedNumbers, RightSaturatorMatchesTheDocumentedCurve) {
  // Odd symmetry and the value at 0 follow from the formula; the real clipper must agree exactly.
  EXPECT_EQ(ModelChain::SaturateRight(0.0), 0.0);
  for (double a = -4.0; a <= 4.0; a += 0.173) {
    EXPECT_EQ(VocalChain::SoftClip(a), ModelChain::SaturateRight(a)) << a;
  }
}

TEST(WorkedNumbers, PadeTangentBothForms) {
  // Below the pole near w = 1.6 both forms agree to rounding; the real filter uses the second form.
  for (double w = 0.0; w < 1.2; w += 0.01) {
    const double plain = (105.0 * w - 10.0 * w * w * w) / (105.0 - 45.0 * w * w + w * w * w * w);
    EXPECT_NEAR(model::ModelBiquad::PadeTan(w), plain, 1e-14 * (1.0 + std::fabs(plain))) << w;
  }
  for (double w = 0.0; w < 1.6; w += 0.001)
    EXPECT_EQ(BiquadCascade::padeTan(w), model::ModelBiquad::PadeTan(w)) << w;
  // Close to tan(w) where it matters, at the low-cut and crossover corners.
  EXPECT_NEAR(model::ModelBiquad::PadeTan(3.141592653589793 * 100.0 / 44100.0),
              std::tan(3.141592653589793 * 100.0 / 44100.0), 1e-15);
}

TEST(WorkedNumbers, LowPassPassesDcWithUnitGain) {
  model::ModelBiquad model;
  BiquadCascade block;
  double m = 0.0, b = 0.0;
  for (int i = 0; i < 20000; ++i) {
    m = model.Process(1.0, 1000.0, 0.7, 44100.0, model::ModelFilter::LowPass, 3);
    b = block.Process(1.0, 1000.0, 0.7, 44100.0, FilterType::LowPass, 3);
  }
  EXPECT_NEAR(m, 1.0, 1e-12);
  EXPECT_NEAR(b, 1.0, 1e-12);
}

TEST(WorkedNumbers, ModeTableAndModeZero) {
  const double table[5][5] = {{0, 0, 0, 0, 0},
                              {1.5, 1.5, 250, 200, 280},
                              {1.0, 1.0, 50, 30, 20},
                              {0.2, 0.2, 50, 30, 5},
                              {0, 0, 320, 300, 2}};
  VocalChain chain;
  for (int mode = 1; mode <= 4; ++mode) {
    chain.OnParamChanged(VocalChain::kMode, mode);
    const TimingSet& t = chain.Timing();
    EXPECT_EQ(t.bandLookaheadMs, table[mode][0]) << "mode " << mode;
    EXPECT_EQ(t.finalLookaheadMs, table[mode][1]) << "mode " << mode;
    EXPECT_EQ(t.bassRecoveryMs, table[mode][2]) << "mode " << mode;
    EXPECT_EQ(t.presRecoveryMs, table[mode][3]) << "mode " << mode;
    EXPECT_EQ(t.finalRecoveryMs, table[mode][4]) << "mode " << mode;
  }
  chain.OnParamChanged(VocalChain::kMode, 2);
  chain.OnParamChanged(VocalChain::kMode, 0);
  EXPECT_EQ(chain.Timing().presRecoveryMs, 30.0);
  EXPECT_EQ(chain.Timing().finalRecoveryMs, 20.0);
  EXPECT_EQ(chain.Timing().bandLookaheadMs, 1.0);
}

TEST(WorkedNumbers, LimitSwitchesAtHalfAndModeTruncated) {
  VocalChain chain;
  ModelChain model;
  const double values[] = {0.0, 0.49, 0.5, 1.0};
  for (double v : values) {
    chain.OnParamChanged(VocalChain::kPLimit, v);
    chain.OnParamChanged(VocalChain::kFLimit, v);
    model.OnParamChanged(VocalChain::kPLimit, v);
    model.OnParamChanged(VocalChain::kFLimit, v);
    const double expected = v >= 0.5 ? 0.0 : 1.0;
    EXPECT_EQ(chain.BandAttackMs(), expected) << v;
    EXPECT_EQ(chain.FinalAttackMs(), expected) << v;
    EXPECT_EQ(model.BandAttackMs(), expected) << v;
    EXPECT_EQ(model.FinalAttackMs(), expected) << v;
  }
  chain.OnParamChanged(VocalChain::kMode, 2.7);
  model.OnParamChanged(VocalChain::kMode, 2.7);
  EXPECT_EQ(chain.Timing().finalRecoveryMs, 20.0);
  EXPECT_EQ(model.Timing().finalRecoveryMs, 20.0);
}

}  // namespace
}  // namespace verify
