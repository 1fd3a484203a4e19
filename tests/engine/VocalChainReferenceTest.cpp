#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "ChainRig.h"
#include "ReferenceChain.h"

namespace {

struct Change {
  int index;
  double value;
};

// Every 0.3 s a few parameters move: random knob values within their ranges, modes 0..4, the two
// limit switches, and "Power" off for a while in the middle.
std::vector<std::vector<Change>> Script(int blocks, unsigned seed) {
  const double lo[] = {-5, 20, 0, -10, 0, -25, -30};
  const double hi[] = {25, 300, 100, 10, 6, 25, 20};
  std::mt19937 rng(seed);
  std::vector<std::vector<Change>> script(blocks);
  for (int b = 1; b < blocks; ++b) {
    if (b % 8 != 0) continue;
    for (int k = 0; k < 3; ++k) {
      const int index = static_cast<int>(rng() % 11);
      double v;
      if (index < 7) {
        v = lo[index] + (hi[index] - lo[index]) * std::uniform_real_distribution<double>(0, 1)(rng);
      } else if (index == VocalChain::kMode) {
        v = static_cast<double>(rng() % 5);
      } else if (index == VocalChain::kPower) {
        continue;
      } else {
        v = static_cast<double>(rng() % 2);
      }
      script[b].push_back({index, v});
    }
  }
  return script;
}

Stereo Material(size_t n, int rate) {
  Stereo s = Voice(n, rate, 0.6, 11);
  std::mt19937 rng(12);
  std::uniform_real_distribution<double> u(-1, 1);
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / rate;
    if (t > 1.0 && t < 1.4) s.l[i] = s.r[i] = 2.5 * u(rng);  // loud noise: every limiter works
    if (t > 2.0 && t < 2.3) s.l[i] = s.r[i] = 0.0;           // silence
    if (t > 3.0 && t < 3.2) s.l[i] += 0.9 * std::sin(2 * 3.141592653589793 * 12000 * t);  // air
    if (t > 4.0 && t < 4.1) s.l[i] = s.r[i] = 1e-310;                                     // subnormal input
  }
  return s;
}

void CompareWithReference(int rate, unsigned seed) {
  const int block = 441;
  const size_t n = static_cast<size_t>(rate) * 6;
  const int blocks = static_cast<int>(n / block);
  const auto script = Script(blocks, seed);
  Stereo in = Material(n, rate);

  ChainRig rig(rate);
  ReferenceChain ref;
  ref.setRate(rate);
  for (int i = 0; i < VocalChain::kNumParams; ++i) ref.param(i, kDefaults[i]);

  double worst = 0, worstMeter = 0, worstPres = 0;
  for (int b = 0; b < blocks; ++b) {
    for (const Change& c : script[b]) rig.set(c.index, c.value), ref.param(c.index, c.value);
    const double power = (b > blocks / 2 && b < blocks / 2 + 40) ? 0.0 : 1.0;
    rig.power = power;
    for (int k = 0; k < block; ++k) {
      const size_t i = static_cast<size_t>(b) * block + k;
      double l = in.l[i], r = in.r[i], refL, refR;
      double* io[2] = {&l, &r};
      rig.chain.Process(io, io, 1, power, rate);
      ref.frame(in.l[i], in.r[i], power, refL, refR);
      worst = std::max({worst, std::fabs(l - refL), std::fabs(r - refR)});
      worstMeter = std::max({worstMeter, std::fabs(rig.presMeter.level() - ref.presMeter()),
                             std::fabs(rig.finalMeter.level() - ref.finalMeter())});
      worstPres = std::max({worstPres, std::fabs(rig.chain.PresLimiter().left() - ref.presLimiterLeft()),
                            std::fabs(rig.chain.PresLimiter().right() - ref.presLimiterRight())});
    }
  }
  EXPECT_LE(worst, 1e-9);
  EXPECT_EQ(worst, 0.0);
  EXPECT_EQ(worstMeter, 0.0);
  EXPECT_EQ(worstPres, 0.0);
}

}  // namespace

TEST(VocalChainReference, MatchesThePlainModelSampleBySampleAt44100) { CompareWithReference(44100, 1); }

TEST(VocalChainReference, MatchesThePlainModelSampleBySampleAt96000) { CompareWithReference(96000, 2); }
