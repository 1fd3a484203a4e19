// Test rig: a vocal chain with both meters, every parameter reported at its default, and helpers
// to run stereo buffers through it in blocks.
#pragma once

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "engine/BrelvaneParams.h"
#include "engine/VocalChain.h"
#include "core/MeterFeed.h"

struct Stereo {
  std::vector<double> l, r;
  explicit Stereo(size_t n = 0) : l(n), r(n) {}
  size_t Size() const { return l.size(); }
};

struct ChainRig {
  VocalChain chain;
  MeterFeed presMeter, finalMeter;
  double power = 1.0;
  int hostRate;

  explicit ChainRig(int rate = 44100) : hostRate(rate) {
    chain.SetSampleRate(rate);
    chain.SetMeters(&presMeter, &finalMeter);
    for (int i = 0; i < VocalChain::kNumParams; ++i) chain.OnParamChanged(i, kBrelvaneParams[i].defaultValue);
  }

  void Set(int index, double value) {
    chain.OnParamChanged(index, value);
    if (index == VocalChain::kPower) power = value;
  }

  // Processes the buffers in place, block frames at a time.
  void Run(Stereo& s, int block = 512) {
    for (size_t at = 0; at < s.Size(); at += block) {
      const int frames = static_cast<int>(std::min<size_t>(block, s.Size() - at));
      double* io[2] = {s.l.data() + at, s.r.data() + at};
      chain.Process(io, io, frames, power, hostRate);
    }
  }

  // Runs the chain on silence long enough for every smoother and limiter gain to settle.
  void Settle(double seconds = 3.0) {
    Stereo quiet(static_cast<size_t>(seconds * hostRate));
    Run(quiet);
  }
};

// A voice-like test signal: a gliding harmonic tone with a syllable envelope, plus a little noise.
inline Stereo Voice(size_t n, int rate, double level, unsigned seed = 1) {
  Stereo s(n);
  std::mt19937 rng(seed);
  std::normal_distribution<double> noise(0.0, 0.02);
  double phase = 0;
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double f0 = 160 + 40 * std::sin(2 * 3.141592653589793 * 0.7 * t);
    phase += 2 * 3.141592653589793 * f0 / rate;
    double v = 0;
    for (int h = 1; h <= 12; ++h) v += std::sin(h * phase) / h;
    const double syllable = 0.5 - 0.5 * std::cos(2 * 3.141592653589793 * 3.0 * t);
    const double x = level * (syllable * v * 0.5 + noise(rng));
    s.l[i] = x;
    s.r[i] = 0.8 * x + 0.2 * level * noise(rng);
  }
  return s;
}

inline Stereo Noise(size_t n, double level, unsigned seed) {
  Stereo s(n);
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> u(-level, level);
  for (size_t i = 0; i < n; ++i) s.l[i] = u(rng), s.r[i] = u(rng);
  return s;
}

inline double Peak(const std::vector<double>& v, size_t from = 0) {
  double p = 0;
  for (size_t i = from; i < v.size(); ++i) p = std::max(p, std::fabs(v[i]));
  return p;
}

inline bool AllFinite(const Stereo& s, size_t from = 0) {
  for (size_t i = from; i < s.Size(); ++i) {
    if (!std::isfinite(s.l[i]) || !std::isfinite(s.r[i])) return false;
  }
  return true;
}
