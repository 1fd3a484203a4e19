// The vocal chain against the independent model on signals that stress single parts of it:
// quiet and very loud noise, full-scale squares (many equal peaks in the limiter windows),
// impulses, silence, and a decay through the subnormal range.
#include <gtest/gtest.h>

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
  EXPECT_EQ(a.inexactSamples, 0) << scenario.name;
}

// The same signal at default settings and with air and fast timing, so every block is exercised.
void ExpectAgreementBothWays(const std::string& name, const Stereo& s) {
  ExpectAgreement(ScenarioBuilder(name + ", defaults", 44100, s).Build());
  ExpectAgreement(ScenarioBuilder(name + ", mode 4, Crispy 6, F Limit on", 44100, s)
                      .At(0, {{P::kMode, 4}, {P::kCrispy, 6}, {P::kFLimit, 1}, {P::kFinalComp, 9}})
                      .Build());
}

TEST(SignalAgreement, WhiteNoiseAtMinus6Dbfs) {
  ExpectAgreementBothWays("noise -6 dBFS", WhiteNoise(44100, 1.0, -6, 21));
}

TEST(SignalAgreement, WhiteNoiseAtPlus12Dbfs) {
  ExpectAgreementBothWays("noise +12 dBFS", WhiteNoise(44100, 1.0, 12, 22));
}

TEST(SignalAgreement, FullScaleSquares) {
  Stereo s = Square(44100, 0.5, 100.0, 1.0);
  s.Append(Square(44100, 0.5, 1000.0, 1.0));
  s.Append(Square(44100, 0.3, 11025.0, 1.0));
  ExpectAgreementBothWays("full-scale squares", s);
  ExpectAgreement(ScenarioBuilder("full-scale squares through modes 2 and 3", 44100, s)
                      .At(0.2, P::kMode, 2)
                      .At(0.6, P::kMode, 3)
                      .At(1.0, P::kMode, 1)
                      .Build());
}

TEST(SignalAgreement, Impulses) {
  Stereo s = Impulses(44100, 0.5, 1000, 1.0);
  s.Append(Impulses(44100, 0.5, 37, 4.0));
  ExpectAgreementBothWays("impulses", s);
}

TEST(SignalAgreement, Silence) {
  ExpectAgreementBothWays("silence", Silence(44100, 3.0));
  // Silence after speech: every block decays toward zero and the meters fall.
  Stereo s = Speech(44100, 0.5, 0.0, 23);
  s.Append(Silence(44100, 3.0));
  ExpectAgreement(ScenarioBuilder("speech then silence", 44100, s).Build());
}

TEST(SignalAgreement, DecayThroughTheSubnormalRange) {
  ExpectAgreementBothWays("decay to subnormal", DecayToSubnormal(44100, 1.5));
}

TEST(SignalAgreement, NoiseAtTheEdgeOfTheSubnormalRange) {
  // Peaks of about 3e-307: some samples are subnormal, and the drive lifts some of those back into
  // the normal range before the low cut sees them. Which operations flush decides every bit.
  ExpectAgreementBothWays("noise at -6130 dBFS", WhiteNoise(44100, 0.5, -6130, 25));
}

TEST(SignalAgreement, VeryLoudInput) {
  // Far beyond full scale, yet an ordinary finite signal: the chain must still follow the steps.
  ExpectAgreementBothWays("noise +40 dBFS", WhiteNoise(44100, 0.5, 40, 24));
}

}  // namespace
}  // namespace verify
