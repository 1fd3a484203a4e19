// Each DSP block against its counterpart in the independent model, call by call, while its
// settings jump, creep below the change threshold, and switch between instant and timed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "engine/dsp/BiquadCascade.h"
#include "engine/dsp/DelayLine.h"
#include "engine/dsp/EnvelopeFollower.h"
#include "engine/dsp/LookaheadLimiter.h"
#include "engine/dsp/MeterBallistics.h"
#include "engine/dsp/MovingAverage.h"
#include "engine/dsp/ParamSmoother.h"
#include "tests/engine/verify/ChainComparison.h"
#include "tests/engine/verify/ModelAverage.h"
#include "tests/engine/verify/ModelBiquad.h"
#include "tests/engine/verify/ModelDelay.h"
#include "tests/engine/verify/ModelFollower.h"
#include "tests/engine/verify/ModelLimiter.h"
#include "tests/engine/verify/ModelMeter.h"
#include "tests/engine/verify/ModelSmoother.h"
#include "tests/engine/verify/TestSignals.h"

namespace verify {
namespace {

// Largest difference seen and the first call where the two sides parted. A block's arithmetic is
// fully determined by its steps, so anything but the identical bits (NaN matching NaN) is a parting,
// down to a subnormal that one side flushed and the other kept.
class Drift {
public:
  explicit Drift(std::string block) : mBlock(std::move(block)) {}
  ~Drift() { std::printf("[ agree    ] %s: max |diff| %.3g over %ld calls\n", mBlock.c_str(), mMax, mCalls); }

  void Call() { ++mCalls; }
  void Check(const char* what, double impl, double model) {
    if (Same(impl, model)) return;
    const double d = std::isnan(impl) || std::isnan(model) ? INFINITY : std::fabs(impl - model);
    if (!(d <= mMax)) mMax = d;
    if (mFirst.empty()) {
      char text[200];
      std::snprintf(text, sizeof text, "call %ld, %s: block %.17g, model %.17g", mCalls, what, impl, model);
      mFirst = text;
    }
  }
  void Expect() const { EXPECT_TRUE(mFirst.empty()) << mBlock << ": " << mFirst; }

private:
  static bool Same(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
  }

  std::string mBlock;
  double mMax = 0.0;
  long mCalls = 0;
  std::string mFirst;
};

template <typename T, size_t N>
T Pick(Noise& noise, const T (&choices)[N]) {
  const double u = (noise.Uniform() + 1.0) * 0.5;
  return choices[static_cast<size_t>(u * N) % N];
}

bool Chance(Noise& noise, double p) { return (noise.Uniform() + 1.0) * 0.5 < p; }

constexpr int kRates[] = {44100, 48000, 22050, 96000, 8000};

TEST(BlockAgreement, ParamSmoother) {
  // Times just above and below the change threshold away from 40 ms, and instant times.
  const double times[] = {40.0, 40.0 + 5e-11, 40.0 + 2e-10, 25.0, 0.0, 1e-11, 3.0};
  const double targets[] = {0.0, 1.0, 17.7828, 5.5, 300.0, 20.0, -3.0, 1e-310};
  const double snaps[] = {0.01, 0.0, 0.5};
  Noise noise(31);
  ParamSmoother block;
  model::ModelSmoother model;
  Drift drift("ParamSmoother");
  double target = 1.0, ms = 40.0, lo = 1.0, hi = 17.7828, snap = 0.01;
  int rate = 44100;
  for (int i = 0; i < 40000; ++i) {
    if (Chance(noise, 0.01)) target = Pick(noise, targets);
    if (Chance(noise, 0.003)) ms = Pick(noise, times);
    if (Chance(noise, 0.002)) rate = Pick(noise, kRates);
    if (Chance(noise, 0.002)) snap = Pick(noise, snaps);
    if (Chance(noise, 0.002)) {
      lo = Chance(noise, 0.5) ? 0.0 : 20.0;
      hi = lo + Pick(noise, targets) + 1.0;
    }
    drift.Call();
    drift.Check("output", block.Process(target, rate, ms, lo, hi, snap),
                model.Process(target, rate, ms, lo, hi, snap));
    drift.Check("state", block.State(), model.State());
  }
  drift.Expect();
}

// A distance exactly at the snap threshold glides (the test is "greater than"), and a state that
// decays below the normal range is flushed to exactly 0 and gives back the minimum.
TEST(BlockAgreement, ParamSmootherAtTheSnapTieAndTheFlush) {
  ParamSmoother block;
  model::ModelSmoother model;
  Drift drift("ParamSmoother tie and flush");
  for (int i = 0; i < 3; ++i) {
    drift.Call();
    drift.Check("tie", block.Process(0.5, 44100, 40.0, 0.0, 1.0, 0.5),
                model.Process(0.5, 44100, 40.0, 0.0, 1.0, 0.5));
  }
  drift.Check("jump", block.Process(1.0, 8000, 0.0, 0.0, 1.0, 0.0),
              model.Process(1.0, 8000, 0.0, 0.0, 1.0, 0.0));
  for (int i = 0; i < 1000; ++i) {
    drift.Call();
    drift.Check("decay", block.Process(0.0, 8000, 0.1, 0.0, 1.0, 0.0),
                model.Process(0.0, 8000, 0.1, 0.0, 1.0, 0.0));
    drift.Check("state", block.State(), model.State());
  }
  EXPECT_EQ(model.State(), 0.0);
  drift.Expect();
}

TEST(BlockAgreement, EnvelopeFollower) {
  const double times[] = {0.0, 1.0, 300.0, 300.0 + 5e-11, 300.0 + 2e-10, 2.0, 1e-11};
  Noise noise(32);
  EnvelopeFollower block;
  model::ModelFollower model;
  Drift drift("EnvelopeFollower");
  double rise = 0.0, fall = 300.0, level = 1.0;
  int rate = 44100;
  for (int i = 0; i < 40000; ++i) {
    if (Chance(noise, 0.003)) rise = Pick(noise, times);
    if (Chance(noise, 0.003)) fall = Pick(noise, times);
    if (Chance(noise, 0.002)) rate = Pick(noise, kRates);
    if (Chance(noise, 0.01)) level = Chance(noise, 0.3) ? 0.0 : 2.0 * (noise.Uniform() + 1.0);
    const double input = Chance(noise, 0.05) ? -level : level * noise.Uniform();
    drift.Call();
    drift.Check("output", block.Process(input, rate, rise, fall), model.Process(input, rate, rise, fall));
    drift.Check("value", block.Value(), model.Value());
  }
  drift.Expect();
}

TEST(BlockAgreement, DelayLine) {
  const int lengths[] = {0, 1, 2, 3, 5, 66, 44, 8, -1};
  Noise noise(33);
  DelayLine block;
  model::ModelDelay model;
  Drift drift("DelayLine");
  int length = 3;
  for (int i = 0; i < 20000; ++i) {
    if (Chance(noise, 0.02)) length = Pick(noise, lengths);
    const double input = noise.Uniform();
    drift.Call();
    drift.Check("output", block.Process(input, length), model.Process(input, length));
  }
  drift.Expect();
}

TEST(BlockAgreement, MovingAverage) {
  const int windows[] = {0, 1, 2, 3, 8, 44, 66, -2};
  Noise noise(34);
  MovingAverage block;
  model::ModelAverage model;
  Drift drift("MovingAverage");
  int window = 3;
  double scale = 1.0;
  for (int i = 0; i < 20000; ++i) {
    if (Chance(noise, 0.01)) window = Pick(noise, windows);
    // Tiny inputs make means that land in the subnormal range and must come out as 0.
    const double scales[] = {1.0, 1.0, 1e-305, 3e-308, 1e-310};
    if (Chance(noise, 0.01)) scale = Pick(noise, scales);
    const double input = scale * (noise.Uniform() + 1.0);
    drift.Call();
    drift.Check("output", block.Process(input, window), model.Process(input, window));
  }
  drift.Expect();
}

// Square bursts (runs of equal peaks), noise, silence and single spikes, while look-ahead, rate,
// attack and recovery change: every window length change, rescan and tie is exercised.
TEST(BlockAgreement, LookaheadLimiter) {
  const double lookaheads[] = {0.0, 0.2, 1.0, 1.5, 0.05, 1.5 + 5e-11, 1e-11};
  const double recoveries[] = {2.0, 5.0, 50.0, 300.0, 0.0};
  Noise noise(35);
  LookaheadLimiter block;
  model::ModelLimiter model;
  Drift drift("LookaheadLimiter");
  double lookahead = 1.5, attack = 0.0, recovery = 50.0, amplitude = 2.0;
  int rate = 44100, kind = 0;
  for (int i = 0; i < 200000; ++i) {
    if (Chance(noise, 0.0005)) lookahead = Pick(noise, lookaheads);
    if (Chance(noise, 0.0003)) rate = Pick(noise, kRates);
    if (Chance(noise, 0.0005)) attack = Chance(noise, 0.5) ? 0.0 : 1.0;
    if (Chance(noise, 0.0005)) recovery = Pick(noise, recoveries);
    if (Chance(noise, 0.002)) {
      kind = static_cast<int>((noise.Uniform() + 1.0) * 2.0);
      amplitude = 4.0 * (noise.Uniform() + 1.0);
    }
    double l = 0.0, r = 0.0;
    switch (kind) {
      case 0:
        l = (i / 20) % 2 ? amplitude : -amplitude;
        r = 0.5 * l;
        break;  // square: equal peaks
      case 1:
        l = amplitude * noise.Uniform();
        r = amplitude * noise.Uniform();
        break;
      case 2:
        l = i % 97 == 0 ? amplitude : 0.01;
        r = i % 89 == 0 ? -amplitude : 0.0;
        break;
      default: break;  // silence
    }
    drift.Call();
    const double right = block.Process(l, r, 1.0, attack, recovery, lookahead, rate);
    drift.Check("returned right", right, model.Process(l, r, 1.0, attack, recovery, lookahead, rate));
    drift.Check("left", block.Left(), model.Left());
    drift.Check("right", block.Right(), model.Right());
    drift.Check("gain", block.Gain(), model.Gain());
    drift.Check("held peak", block.HeldPeak(), model.HeldPeak());
    drift.Check("held index", block.HeldIndex(), model.HeldIndex());
  }
  drift.Expect();
}

FilterType Type(model::ModelFilter t) {
  return t == model::ModelFilter::LowPass ? FilterType::LowPass : FilterType::HighPass;
}

void CheckState(Drift& drift, const BiquadCascade& block, const model::ModelBiquad& model) {
  drift.Check("last output", block.LastOutput(), model.LastOutput());
  drift.Check("b0", block.B0(), model.B0());
  drift.Check("b1", block.B1(), model.B1());
  drift.Check("b2", block.B2(), model.B2());
  drift.Check("a1", block.A1(), model.A1());
  drift.Check("a2", block.A2(), model.A2());
  for (int i = 0; i < 8; ++i) drift.Check("memory", block.Memory(i), model.Memory(i));
}

// Frequencies that glide per sample (coefficients every call), creep by less than the change
// threshold, jump; Q below the 0.1 floor; both types; one to four sections; several rates.
TEST(BlockAgreement, BiquadCascade) {
  const double qs[] = {0.7, 0.05, 0.1, 2.0, 0.7 + 5e-11};
  const double rates[] = {44100.0, 48000.0, 22050.0, 96000.0, 16000.0, 8000.0};
  Noise noise(36);
  BiquadCascade block;
  model::ModelBiquad model;
  Drift drift("BiquadCascade");
  double frequency = 100.0, target = 100.0, q = 0.7, rate = 44100.0;
  model::ModelFilter type = model::ModelFilter::HighPass;
  int selector = 1;
  for (int i = 0; i < 100000; ++i) {
    if (Chance(noise, 0.001)) target = 20.0 + 9000.0 * (noise.Uniform() + 1.0) * 0.5;
    if (Chance(noise, 0.0005)) q = Pick(noise, qs);
    if (Chance(noise, 0.0003)) rate = Pick(noise, rates);
    if (Chance(noise, 0.0005))
      type = Chance(noise, 0.5) ? model::ModelFilter::LowPass : model::ModelFilter::HighPass;
    if (Chance(noise, 0.0005)) selector = static_cast<int>((noise.Uniform() + 1.0) * 2.0);
    frequency = Chance(noise, 0.01) ? frequency + 3e-11 : (frequency - target) * 0.999 + target;
    // Loud, tiny and silent stretches, and subnormal inputs (taken as zero inside the filter,
    // even those just below the normal range that a coefficient above 1 would lift back into it).
    const int phase = i % 8000;
    double input = 0.0;
    if (phase < 2500)
      input = noise.Uniform();
    else if (phase < 4000)
      input = 1e-300 * noise.Uniform();
    else if (phase < 4500)
      input = 1e-310 * noise.Uniform();
    else if (phase < 5000)
      input = 2.2e-308 * noise.Uniform();
    drift.Call();
    drift.Check("output", block.Process(input, frequency, q, rate, Type(type), selector),
                model.Process(input, frequency, q, rate, type, selector));
    CheckState(drift, block, model);
  }
  drift.Expect();
}

// After an impulse the memories ring down through the subnormal range, where the flush-to-zero
// mode of the call decides every bit.
TEST(BlockAgreement, BiquadRingDownThroughSubnormals) {
  Drift drift("BiquadCascade ring-down");
  const FilterType types[] = {FilterType::LowPass, FilterType::HighPass};
  for (FilterType type : types) {
    BiquadCascade block;
    model::ModelBiquad model;
    const model::ModelFilter modelType =
        type == FilterType::LowPass ? model::ModelFilter::LowPass : model::ModelFilter::HighPass;
    for (int i = 0; i < 30000; ++i) {
      const double input = i == 0 ? 1.0 : 0.0;
      drift.Call();
      drift.Check("output", block.Process(input, 3000.0, 2.0, 44100.0, type, 3),
                  model.Process(input, 3000.0, 2.0, 44100.0, modelType, 3));
      for (int m = 0; m < 8; ++m) drift.Check("memory", block.Memory(m), model.Memory(m));
    }
  }
  drift.Expect();
}

// A NaN input poisons the memories; the sweep clears them on the third call and then every
// twelfth. Outputs, NaN or not, must match call for call whichever call brings the NaN.
TEST(BlockAgreement, BiquadNonFiniteSweepSchedule) {
  Drift drift("BiquadCascade non-finite sweep");
  for (int poisoned = 0; poisoned < 40; ++poisoned) {
    BiquadCascade block;
    model::ModelBiquad model;
    int nanOutputs = 0;
    for (int i = 0; i < 60; ++i) {
      const double input = i == poisoned ? NAN : (i == poisoned + 20 ? INFINITY : 0.25);
      const double out = block.Process(input, 1000.0, 0.7, 44100.0, FilterType::LowPass, 1);
      drift.Call();
      drift.Check("output", out, model.Process(input, 1000.0, 0.7, 44100.0, model::ModelFilter::LowPass, 1));
      nanOutputs += std::isnan(out) ? 1 : 0;
    }
    // Each poisoning lasts until the next sweep: never more than twelve calls.
    EXPECT_LE(nanOutputs, 24) << "NaN input at call " << poisoned;
  }
  drift.Expect();
}

TEST(BlockAgreement, MeterBallistics) {
  Noise noise(37);
  MeterBallistics block(1.99526);
  model::ModelMeter model;
  Drift drift("MeterBallistics");
  double level = 1.0;
  int rate = 44100;
  for (int i = 0; i < 40000; ++i) {
    if (Chance(noise, 0.002)) level = Chance(noise, 0.3) ? 0.0 : 3.0 * (noise.Uniform() + 1.0);
    if (Chance(noise, 0.0005)) rate = Pick(noise, kRates);
    const double input = level * (noise.Uniform() + 1.0) * 0.5;
    block.pushLevel(input, rate);
    model.PushLevel(input, rate);
    drift.Call();
    drift.Check("level", block.Needle(), model.Level());
  }
  drift.Expect();
}

}  // namespace
}  // namespace verify
