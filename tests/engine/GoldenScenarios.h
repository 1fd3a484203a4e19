// The scenarios whose output is recorded bit for bit (GoldenOutputs.inc): every mode, switch and
// knob extreme, the air saturation at several amounts, gliding knobs, power toggles, rates from
// 22.05 to 192 kHz, silence, noise, a voice and tails that decay into subnormals. They play through
// the chain itself (GoldenOutputTest.cpp) and through every module (tests/engine/modules), on every
// platform, against the one table. Every value a scenario sets is an exact binary fraction of its
// parameter's range, so a host's normalised value, even VST2's float, carries it unchanged.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/BrelvaneParams.h"

namespace golden {

using P = BrelvaneParamIndex;

struct Signal {
  std::vector<double> l, r;
  explicit Signal(std::size_t n = 0) : l(n), r(n) {}
  std::size_t Size() const { return l.size(); }
};

// What plays a scenario: parameter changes by plain value, then 64-bit blocks processed in place.
class Player {
public:
  virtual ~Player() = default;
  virtual void Set(int index, double value) = 0;
  virtual void Process(double** io, int frames) = 0;
};

inline Signal UniformNoise(std::size_t n, double level, unsigned seed) {
  Signal s(n);
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> u(-level, level);
  for (std::size_t i = 0; i < n; ++i) s.l[i] = u(rng), s.r[i] = u(rng);
  return s;
}

// FNV-1a over the bytes of every output sample, left then right, frame by frame.
inline std::uint64_t HashOutput(const Signal& s) {
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
inline Signal ClickThenSilence(std::size_t n) {
  Signal s(n);
  s.l[0] = 0.9;
  s.r[0] = -0.7;
  return s;
}

struct Scenario {
  std::string name;
  int rate = 48000;
  double seconds = 0.5;
  std::function<Signal(std::size_t, int)> input;
  std::function<void(Player&)> settings;
  // Called before each block with the block's index: knob and switch changes while it plays.
  std::function<void(Player&, int)> perBlock;
};

// A voice-like tone (a gliding harmonic tone with a syllable envelope and a little noise) made
// with additions and multiplications only: the input must be the same bits on every machine the
// table is checked on, whatever its C library's sin and cos give.
inline constexpr double kTwoPi = 2 * 3.141592653589793;

// sin(x) for x in [-pi, pi]: fold into [-pi/2, pi/2], then the Taylor series to x^17.
inline double PortableSin(double x) {
  const double halfPi = kTwoPi / 4;
  if (x > halfPi) x = kTwoPi / 2 - x;
  if (x < -halfPi) x = -kTwoPi / 2 - x;
  const double x2 = x * x;
  double term = x, sum = x;
  for (int k = 1; k <= 8; ++k) {
    term = -term * x2 / ((2 * k) * (2 * k + 1));
    sum += term;
  }
  return sum;
}

inline double Wrapped(double phase) {
  while (phase > kTwoPi / 2) phase -= kTwoPi;
  return phase;
}

// Twelve uniform draws less six: near-normal with unit variance, from the generator's exact integers.
inline double PortableGaussian(std::mt19937& rng) {
  double sum = 0;
  for (int k = 0; k < 12; ++k) sum += static_cast<double>(rng()) / 4294967296.0;
  return sum - 6.0;
}

inline Signal VoiceInput(std::size_t n, int rate) {
  const double level = 0.5;
  Signal s(n);
  std::mt19937 rng(1);
  double phase = 0, vibrato = 0, syllable = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double f0 = 160 + 40 * PortableSin(vibrato);
    phase = Wrapped(phase + kTwoPi * f0 / rate);
    // Harmonics by the recurrence sin((h+1)x) = 2 cos(x) sin(hx) - sin((h-1)x).
    const double s1 = PortableSin(phase), twoCos = 2 * PortableSin(Wrapped(phase + kTwoPi / 4));
    double previous = 0, current = s1, v = 0;
    for (int h = 1; h <= 12; ++h) {
      v += current / h;
      const double next = twoCos * current - previous;
      previous = current;
      current = next;
    }
    const double envelope = 0.5 - 0.5 * PortableSin(Wrapped(syllable + kTwoPi / 4));
    const double x = level * (envelope * v * 0.5 + 0.02 * PortableGaussian(rng));
    s.l[i] = x;
    s.r[i] = 0.8 * x + 0.2 * level * 0.02 * PortableGaussian(rng);
    vibrato = Wrapped(vibrato + kTwoPi * 0.7 / rate);
    syllable = Wrapped(syllable + kTwoPi * 3.0 / rate);
  }
  return s;
}

// Plays the scenario's input through a player (the chain, or a module through its host) in blocks
// of 512 frames, calling the scenario's changes before each block, and returns the output.
inline Signal Render(const Scenario& scenario, Player& player) {
  if (scenario.settings) scenario.settings(player);
  Signal s = scenario.input(static_cast<std::size_t>(scenario.seconds * scenario.rate), scenario.rate);
  const int block = 512;
  for (std::size_t at = 0, index = 0; at < s.Size(); at += block, ++index) {
    if (scenario.perBlock) scenario.perBlock(player, static_cast<int>(index));
    const int frames = static_cast<int>(std::min<std::size_t>(block, s.Size() - at));
    double* io[2] = {s.l.data() + at, s.r.data() + at};
    player.Process(io, frames);
  }
  return s;
}

inline Scenario WithSetting(const std::string& name, int param, double value) {
  return {name, 48000, 0.5, VoiceInput, [=](Player& player) { player.Set(param, value); }, nullptr};
}

inline std::vector<Scenario> Scenarios() {
  std::vector<Scenario> all;
  all.push_back({"default voice", 48000, 0.5, VoiceInput, nullptr, nullptr});
  for (int mode = 0; mode <= 4; ++mode)
    all.push_back(WithSetting("mode " + std::to_string(mode), P::kMode, mode));
  for (int i = P::kPresComp; i <= P::kDbOutput; ++i) {
    const ParamSpec& param = kBrelvaneParams[i];
    all.push_back(WithSetting(std::string(param.name) + " min", i, param.min));
    all.push_back(WithSetting(std::string(param.name) + " max", i, param.max));
  }
  for (double crispy : {1.5, 3.0, 4.5})
    all.push_back(WithSetting("Crispy " + std::to_string(crispy).substr(0, 3), P::kCrispy, crispy));
  all.push_back(WithSetting("P Limit off", P::kPLimit, 0.0));
  all.push_back({"F Limit on, Final Comp up", 48000, 0.5, VoiceInput,
                 [](Player& player) {
                   player.Set(P::kFLimit, 1.0);
                   player.Set(P::kFinalComp, 25.0);
                 },
                 nullptr});
  all.push_back(WithSetting("power off", P::kPower, 0.0));
  all.push_back({"power toggles", 48000, 0.5, VoiceInput, nullptr,
                 [](Player& player, int block) { player.Set(P::kPower, block % 6 < 3 ? 1.0 : 0.0); }});
  all.push_back({"gliding knobs", 48000, 0.5, VoiceInput, nullptr, [](Player& player, int block) {
                   player.Set(P::kLowCut, block % 2 ? 300.0 : 20.0);
                   player.Set(P::kBass, block % 3 ? -10.0 : 10.0);
                   player.Set(P::kCrispy, (block % 5) * 1.5);
                   player.Set(P::kPresComp, block % 5 ? 25.0 : -5.0);
                 }});
  all.push_back({"modes switching", 48000, 0.5, VoiceInput, nullptr,
                 [](Player& player, int block) { player.Set(P::kMode, block % 5); }});
  for (int rate : {22050, 44100, 88200, 96000, 192000})
    all.push_back({"voice at " + std::to_string(rate), rate, 0.5, VoiceInput, nullptr, nullptr});
  all.push_back({"mode D at 192000", 192000, 0.5, VoiceInput, [](Player& player) { player.Set(P::kMode, 4); },
                 nullptr});
  all.push_back({"silence", 48000, 0.5, [](std::size_t n, int) { return Signal(n); }, nullptr, nullptr});
  all.push_back({"full-scale noise", 48000, 0.5, [](std::size_t n, int) { return UniformNoise(n, 1.0, 7); },
                 nullptr, nullptr});
  all.push_back({"quiet noise, air up", 44100, 0.5,
                 [](std::size_t n, int) { return UniformNoise(n, 0.001, 9); },
                 [](Player& player) { player.Set(P::kCrispy, 6.0); }, nullptr});
  all.push_back({"subnormal tail", 48000, 2.0, [](std::size_t n, int) { return ClickThenSilence(n); },
                 nullptr, nullptr});
  all.push_back({"subnormal tail at 192000", 192000, 1.0,
                 [](std::size_t n, int) { return ClickThenSilence(n); },
                 [](Player& player) { player.Set(P::kBass, 10.0); }, nullptr});
  return all;
}

}  // namespace golden
