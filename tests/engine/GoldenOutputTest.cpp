// The chain's output, bit for bit, in a few dozen scenarios: every mode, switch and knob extreme,
// gliding knobs, power toggles, rates from 22.05 to 192 kHz, silence, noise, a voice and tails
// that decay into subnormals. Each scenario's 64-bit output is hashed and compared with the
// recorded hash of this platform's build (libm differs between Linux and Windows, so each keeps
// its own). Any change to the arithmetic, however small, fails here; a change meant to alter
// the sound must say so and record new hashes: run with BREL_PRINT_GOLDEN=1 for the table.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "tests/engine/ChainRig.h"
#include "tests/engine/GoldenOutputs.h"

namespace {

using P = BrelvaneParamIndex;

// FNV-1a over the bytes of every output sample, left then right, frame by frame.
std::uint64_t HashOutput(const Stereo& s) {
  std::uint64_t hash = 14695981039346656037ull;
  auto mix = [&hash](double v) {
    unsigned char bytes[sizeof v];
    std::memcpy(bytes, &v, sizeof v);
    for (unsigned char b : bytes) hash = (hash ^ b) * 1099511628211ull;
  };
  for (std::size_t i = 0; i < s.Size(); ++i) {
    mix(s.l[i]);
    mix(s.r[i]);
  }
  return hash;
}

// A loud click followed by silence: every filter and follower rings down through the subnormals.
Stereo ClickThenSilence(std::size_t n) {
  Stereo s(n);
  s.l[0] = 0.9;
  s.r[0] = -0.7;
  return s;
}

struct Scenario {
  std::string name;
  int rate = 48000;
  double seconds = 0.5;
  std::function<Stereo(std::size_t, int)> input;
  std::function<void(ChainRig&)> settings;
  // Called before each block with the block's index: knob and switch changes while it plays.
  std::function<void(ChainRig&, int)> perBlock;
};

Stereo VoiceInput(std::size_t n, int rate) { return Voice(n, rate, 0.5); }

Stereo Render(const Scenario& scenario) {
  ChainRig rig(scenario.rate);
  if (scenario.settings) scenario.settings(rig);
  Stereo s = scenario.input(static_cast<std::size_t>(scenario.seconds * scenario.rate), scenario.rate);
  const int block = 512;
  for (std::size_t at = 0, index = 0; at < s.Size(); at += block, ++index) {
    if (scenario.perBlock) scenario.perBlock(rig, static_cast<int>(index));
    const int frames = static_cast<int>(std::min<std::size_t>(block, s.Size() - at));
    double* io[2] = {s.l.data() + at, s.r.data() + at};
    rig.chain.Process(io, io, frames, rig.power, rig.hostRate);
  }
  return s;
}

Scenario WithSetting(const std::string& name, int param, double value) {
  return {name, 48000, 0.5, VoiceInput, [=](ChainRig& rig) { rig.Set(param, value); }, nullptr};
}

std::vector<Scenario> Scenarios() {
  std::vector<Scenario> all;
  all.push_back({"default voice", 48000, 0.5, VoiceInput, nullptr, nullptr});
  for (int mode = 0; mode <= 4; ++mode)
    all.push_back(WithSetting("mode " + std::to_string(mode), P::kMode, mode));
  for (int i = P::kPresComp; i <= P::kDbOutput; ++i) {
    const ParamSpec& param = kBrelvaneParams[i];
    all.push_back(WithSetting(std::string(param.name) + " min", i, param.min));
    all.push_back(WithSetting(std::string(param.name) + " max", i, param.max));
  }
  all.push_back(WithSetting("P Limit off", P::kPLimit, 0.0));
  all.push_back({"F Limit on, Final Comp up", 48000, 0.5, VoiceInput,
                 [](ChainRig& rig) {
                   rig.Set(P::kFLimit, 1.0);
                   rig.Set(P::kFinalComp, 25.0);
                 },
                 nullptr});
  all.push_back(WithSetting("power off", P::kPower, 0.0));
  all.push_back({"power toggles", 48000, 0.5, VoiceInput, nullptr,
                 [](ChainRig& rig, int block) { rig.Set(P::kPower, block % 6 < 3 ? 1.0 : 0.0); }});
  all.push_back({"gliding knobs", 48000, 0.5, VoiceInput, nullptr, [](ChainRig& rig, int block) {
                   rig.Set(P::kLowCut, block % 2 ? 300.0 : 20.0);
                   rig.Set(P::kBass, block % 3 ? -10.0 : 10.0);
                   rig.Set(P::kCrispy, (block % 4) * 2.0);
                   rig.Set(P::kPresComp, block % 5 ? 25.0 : -5.0);
                 }});
  all.push_back({"modes switching", 48000, 0.5, VoiceInput, nullptr,
                 [](ChainRig& rig, int block) { rig.Set(P::kMode, block % 5); }});
  for (int rate : {22050, 44100, 88200, 96000, 192000})
    all.push_back({"voice at " + std::to_string(rate), rate, 0.5, VoiceInput, nullptr, nullptr});
  all.push_back(
      {"mode D at 192000", 192000, 0.5, VoiceInput, [](ChainRig& rig) { rig.Set(P::kMode, 4); }, nullptr});
  all.push_back({"silence", 48000, 0.5, [](std::size_t n, int) { return Stereo(n); }, nullptr, nullptr});
  all.push_back({"full-scale noise", 48000, 0.5, [](std::size_t n, int) { return Noise(n, 1.0, 7); }, nullptr,
                 nullptr});
  all.push_back({"quiet noise, air up", 44100, 0.5, [](std::size_t n, int) { return Noise(n, 0.001, 9); },
                 [](ChainRig& rig) { rig.Set(P::kCrispy, 6.0); }});
  all.push_back({"subnormal tail", 48000, 2.0, [](std::size_t n, int) { return ClickThenSilence(n); },
                 nullptr, nullptr});
  all.push_back({"subnormal tail at 192000", 192000, 1.0,
                 [](std::size_t n, int) { return ClickThenSilence(n); },
                 [](ChainRig& rig) { rig.Set(P::kBass, 10.0); }});
  return all;
}

TEST(GoldenOutput, EveryScenarioKeepsItsRecordedBits) {
  const std::vector<Scenario> scenarios = Scenarios();
  const bool print = std::getenv("BREL_PRINT_GOLDEN") != nullptr;
  for (const Scenario& scenario : scenarios) {
    const std::uint64_t hash = HashOutput(Render(scenario));
    if (print) std::printf("    {\"%s\", 0x%016llxull},\n", scenario.name.c_str(), (unsigned long long)hash);
    const GoldenHash* recorded = FindGoldenHash(scenario.name.c_str());
    if (!recorded) {
      ADD_FAILURE() << "no recorded hash for \"" << scenario.name << "\"";
      continue;
    }
    EXPECT_EQ(hash, recorded->hash) << scenario.name;
  }
  EXPECT_EQ(scenarios.size(), NGoldenHashes()) << "a recorded scenario is no longer run";
}

}  // namespace
