// Nanoseconds per stereo frame of the vocal chain at 48 kHz in 512-frame blocks, and how many
// seconds of audio it renders per second of CPU time.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "engine/VocalChain.h"
#include "core/MeterFeed.h"

namespace {

constexpr int kRate = 48000;
constexpr int kBlock = 512;
constexpr double kDefaults[VocalChain::kNumParams] = {12.5, 100, 53.5, 0, 0, 0, 0, 1, 1, 1, 0};
constexpr double kPi = 3.141592653589793;

// Ten seconds of a voice-like signal: a gliding harmonic tone in syllables, with breath noise.
std::vector<double> Speech(double level) {
  std::vector<double> s(kRate * 10);
  std::mt19937 rng(1);
  std::normal_distribution<double> noise(0.0, 0.02);
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    phase += 2 * kPi * (150 + 50 * std::sin(2 * kPi * 0.5 * t)) / kRate;
    double v = 0;
    for (int h = 1; h <= 10; ++h) v += std::sin(h * phase) / h;
    const double syllable = std::max(0.0, std::sin(2 * kPi * 2.5 * t));
    s[i] = level * (syllable * v * 0.4 + noise(rng));
  }
  return s;
}

// A burst of sound that then decays exponentially toward the subnormal range and below.
std::vector<double> DecayingTail() {
  std::vector<double> s(kRate * 10);
  std::mt19937 rng(2);
  std::uniform_real_distribution<double> u(-1, 1);
  double level = 0.5;
  for (size_t i = 0; i < s.size(); ++i) {
    s[i] = level * u(rng);
    level *= 0.9985;  // about −300 dB per 50 ms: deep into the subnormal range within a second
  }
  return s;
}

// A tone whose level falls a little on every sample while its magnitude rises and falls with its
// phase: each limiter's window peak leaves the window on most calls.
std::vector<double> SmoothDecay(int rate) {
  std::vector<double> s(static_cast<size_t>(rate) * 2);
  double level = 0.9;
  for (size_t i = 0; i < s.size(); ++i) {
    s[i] = level * std::sin(2 * kPi * 40.0 * static_cast<double>(i) / rate);
    level *= 0.99999;
  }
  return s;
}

struct Rig {
  VocalChain chain;
  MeterFeed pres, fin;
  int rate;
  std::vector<double> outL = std::vector<double>(kBlock), outR = std::vector<double>(kBlock);
  explicit Rig(int sampleRate = kRate) : rate(sampleRate) {
    chain.SetSampleRate(rate);
    chain.SetMeters(&pres, &fin);
    for (int i = 0; i < VocalChain::kNumParams; ++i) chain.OnParamChanged(i, kDefaults[i]);
  }
  void Block(const std::vector<double>& in, size_t& at) {
    if (at + kBlock > in.size()) at = 0;
    const double* ip[2] = {in.data() + at, in.data() + at};
    double* op[2] = {outL.data(), outR.data()};
    chain.Process(ip, op, kBlock, 1.0, rate);
    at += kBlock;
  }
};

void Report(benchmark::State& state, int rate) {
  const double frames = static_cast<double>(state.iterations()) * kBlock;
  state.SetItemsProcessed(static_cast<int64_t>(frames));
  // CPU seconds per frame (shown with an SI prefix, e.g. "120n" = 120 ns).
  state.counters["s_per_frame"] =
      benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["realtime_x"] = benchmark::Counter(frames / rate, benchmark::Counter::kIsRate);
}

void Run(benchmark::State& state, Rig& rig, const std::vector<double>& in, void (*between)(Rig&, long)) {
  size_t at = 0;
  long n = 0;
  for (auto _ : state) {
    if (between) between(rig, n++);
    rig.Block(in, at);
    benchmark::DoNotOptimize(rig.outL.data());
    benchmark::ClobberMemory();
  }
  Report(state, rig.rate);
}

void BM_DefaultSettings(benchmark::State& state) {
  static const std::vector<double> speech = Speech(0.3);
  Rig rig;
  Run(state, rig, speech, nullptr);
}

// LowCut and Tighten move every block, so both frequencies are always gliding and the six
// band filters recompute their coefficients on every sample.
void BM_GlidingFrequencies(benchmark::State& state) {
  static const std::vector<double> speech = Speech(0.3);
  Rig rig;
  Run(state, rig, speech, [](Rig& r, long n) {
    const bool up = n % 2 == 0;
    r.chain.OnParamChanged(VocalChain::kLowCut, up ? 280 : 30);
    r.chain.OnParamChanged(VocalChain::kTighten, up ? 90 : 10);
  });
}

void BM_ModeD(benchmark::State& state) {
  static const std::vector<double> speech = Speech(0.3);
  Rig rig;
  rig.chain.OnParamChanged(VocalChain::kMode, 4);
  rig.chain.OnParamChanged(VocalChain::kFLimit, 1);
  Run(state, rig, speech, nullptr);
}

void BM_DecayIntoSubnormals(benchmark::State& state) {
  static const std::vector<double> tail = DecayingTail();
  Rig rig;
  Run(state, rig, tail, nullptr);
}

// "Crispy" up: the air saturation, tanh among it, runs on every sample.
void BM_AirUp(benchmark::State& state) {
  static const std::vector<double> speech = Speech(0.3);
  Rig rig;
  rig.chain.OnParamChanged(VocalChain::kCrispy, 6);
  Run(state, rig, speech, nullptr);
}

// The worst cases for the limiters' peak hold next to ordinary input, at the highest common rate.
void BM_SpeechAt192k(benchmark::State& state) {
  static const std::vector<double> speech = Speech(0.3);
  Rig rig(192000);
  Run(state, rig, speech, nullptr);
}

void BM_SmoothDecayAt192k(benchmark::State& state) {
  static const std::vector<double> decay = SmoothDecay(192000);
  Rig rig(192000);
  Run(state, rig, decay, nullptr);
}

// tanh alone over the air drive's range: the chain's own beside the C library's.
template <double (*F)(double)>
void BM_Tanh(benchmark::State& state) {
  std::vector<double> x(4096);
  for (std::size_t i = 0; i < x.size(); ++i)
    x[i] = -20.0 + 40.0 * static_cast<double>(i * 2654435761u % 4096) / 4096;
  for (auto _ : state)
    for (double v : x) benchmark::DoNotOptimize(F(v));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * x.size()));
}
double LibraryTanh(double x) { return std::tanh(x); }

}  // namespace

BENCHMARK(BM_DefaultSettings);
BENCHMARK(BM_GlidingFrequencies);
BENCHMARK(BM_ModeD);
BENCHMARK(BM_DecayIntoSubnormals);
BENCHMARK(BM_AirUp);
BENCHMARK(BM_SpeechAt192k);
BENCHMARK(BM_SmoothDecayAt192k);
BENCHMARK(BM_Tanh<dsp::Tanh>)->Name("BM_Tanh/portable");
BENCHMARK(BM_Tanh<LibraryTanh>)->Name("BM_Tanh/clibrary");
