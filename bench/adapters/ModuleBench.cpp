// How fast the Brelvane modules process, measured the way hosts drive them: 512-frame stereo blocks
// at 48 kHz of a speech-like take with the default settings, through the VST2 module's
// processReplacing and processDoubleReplacing and the VST3 module's process in 32 and 64 bits,
// beside the vocal chain alone on the same samples (what each module costs over its engine). When the peer
// modules are installed, the same blocks run in the same session through one peer look-ahead limiter and
// through a peer chain that does the same job (three look-ahead limiters and an eight-band equaliser in
// series), and the last lines give Brelvane's cost relative to them.
#include <benchmark/benchmark.h>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/BrelvaneParams.h"
#include "engine/VocalChain.h"
#include "core/MeterFeed.h"
#include "hosts/vst2/VstHost.h"
#include "hosts/vst3/Vst3Host.h"
#include "tests/adapters/vst2/TestSignal.h"

namespace {

constexpr int kBlock = 512;
constexpr float kRate = 48000.0f;
constexpr int kTakeFrames = 10 * 48000;  // a 10-second take, looped
constexpr int kWarmUpFrames = 48000;     // glides settled and look-ahead buffers made first

const char* const kBrelvanePath = BRELVANE_VST2_PATH;
const char* const kBrelvaneBundle = BRELVANE_VST3_BUNDLE;
const char* const kPeerPath = PEER_LIMITER_PATH;
const char* const kPeerEqualiserPath = PEER_EQUALISER_PATH;

// The same speech-like take the module's tests use: voiced syllables with breathy gaps, the right
// channel a slightly different take of the left.
struct Take {
  std::vector<float> left, right;
  std::vector<double> left64, right64;

  Take() {
    vst2test::Stereo<float> take = vst2test::SpeechLike(kTakeFrames, kRate, 0.5);
    left = std::move(take.left);
    right = std::move(take.right);
    left64.assign(left.begin(), left.end());
    right64.assign(right.begin(), right.end());
  }
};

const Take& TheTake() {
  static const Take take;
  return take;
}

// A host with the module loaded and ready to play, as a DAW prepares an insert.
bool Prepare(brel::VstHost& host, const char* path, std::string& why) {
  if (!host.Load(path)) {
    why = host.LastError();
    return false;
  }
  host.Open();
  host.SetSampleRate(kRate);
  host.SetBlockSize(kBlock);
  host.Resume();
  return true;
}

template <typename Sample>
struct Blocks {
  std::vector<Sample> outL = std::vector<Sample>(kBlock), outR = std::vector<Sample>(kBlock);
  int at = 0;

  // Next block of the take; the input pointers are the take's own, never written by the host.
  template <typename Process>
  void Run(const std::vector<Sample>& left, const std::vector<Sample>& right, Process process) {
    Sample* inputs[2] = {const_cast<Sample*>(left.data()) + at, const_cast<Sample*>(right.data()) + at};
    Sample* outputs[2] = {outL.data(), outR.data()};
    process(inputs, outputs);
    at += kBlock;
    if (at + kBlock > kTakeFrames) at = 0;
  }
};

// This thread's CPU time in nanoseconds: other work on a shared machine does not count against
// the module, as it would in wall-clock time.
double ThreadCpuNs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e9 + now.tv_nsec;
}

// Plain counters (benchmark's rate counters would print them with a "/s" unit): CPU nanoseconds
// per stereo frame, and how many times faster than real time the blocks were processed.
void SetCounters(benchmark::State& state, double cpuNs) {
  const double frames = static_cast<double>(state.iterations()) * kBlock;
  if (!(frames > 0.0) || !(cpuNs > 0.0)) return;
  state.counters["ns_per_frame"] = cpuNs / frames;
  state.counters["realtime_x"] = (frames / kRate) / (cpuNs * 1e-9);
}

// Warms the blocks up (glides settled, look-ahead buffers filled), then times one block per
// iteration.
template <typename Sample, typename Process>
void TimeBlocks(benchmark::State& state, const std::vector<Sample>& left, const std::vector<Sample>& right,
                Process process) {
  Blocks<Sample> blocks;
  for (int i = 0; i < kWarmUpFrames / kBlock; ++i) blocks.Run(left, right, process);
  const double start = ThreadCpuNs();
  for (auto _ : state) {
    blocks.Run(left, right, process);
    benchmark::DoNotOptimize(blocks.outL.data());
    benchmark::ClobberMemory();
  }
  SetCounters(state, ThreadCpuNs() - start);
}

// Settings a benchmark gives a module after preparing it; false, with why set, when they cannot be
// made.
using SetUp = bool (*)(brel::VstHost& host, std::string& why);

void ProcessFloat(benchmark::State& state, const char* path, SetUp setUp) {
  brel::VstHost host;
  std::string why;
  if (!Prepare(host, path, why) || (setUp && !setUp(host, why))) {
    state.SkipWithError(why.c_str());
    return;
  }
  const Take& take = TheTake();
  TimeBlocks(state, take.left, take.right,
             [&](float** in, float** out) { host.ProcessReplacing(in, out, kBlock); });
}

void ProcessDouble(benchmark::State& state, const char* path, SetUp setUp) {
  brel::VstHost host;
  std::string why;
  if (!Prepare(host, path, why) || (setUp && !setUp(host, why))) {
    state.SkipWithError(why.c_str());
    return;
  }
  if (!(host.Flags() & effFlagsCanDoubleReplacing)) {
    state.SkipWithError("the module does not offer 64-bit processing");
    return;
  }
  const Take& take = TheTake();
  TimeBlocks(state, take.left64, take.right64,
             [&](double** in, double** out) { host.ProcessDoubleReplacing(in, out, kBlock); });
}

// The VST3 module as a host plays it: one stereo bus in and out, realtime processing, no
// parameter changes queued (an empty queue list is still passed, as hosts do).
template <typename Sample>
void ProcessVst3(benchmark::State& state) {
  brel::Vst3Host host;
  constexpr Steinberg::int32 sampleSize =
      sizeof(Sample) == sizeof(float) ? Steinberg::Vst::kSample32 : Steinberg::Vst::kSample64;
  if (!host.Load(kBrelvaneBundle) || !host.CreatePlugin() || !host.Setup(kRate, kBlock, sampleSize) ||
      !host.SetChannels(2, 2) || !host.Start()) {
    state.SkipWithError(host.LastError().c_str());
    return;
  }
  const Take& take = TheTake();
  const auto& left = [&]() -> const std::vector<Sample>& {
    if constexpr (sizeof(Sample) == sizeof(float))
      return take.left;
    else
      return take.left64;
  }();
  const auto& right = [&]() -> const std::vector<Sample>& {
    if constexpr (sizeof(Sample) == sizeof(float))
      return take.right;
    else
      return take.right64;
  }();
  TimeBlocks(state, left, right, [&](Sample** in, Sample** out) { host.Process(in, 2, out, 2, kBlock); });
}

// The vocal chain the module wraps, on its own: the same samples in 64 bits (what the module's
// processDoubleReplacing hands it), the table's default settings, both meters fed as the module's
// editor has them. The module's figure minus this one is what the adapter costs per frame.
void EngineAlone(benchmark::State& state) {
  struct Engine {
    VocalChain chain;
    MeterFeed presMeter, finalMeter;
  };
  auto engine = std::make_unique<Engine>();
  engine->chain.SetSampleRate(static_cast<int>(kRate));
  engine->chain.SetMeters(&engine->presMeter, &engine->finalMeter);
  for (const ParamSpec& param : kBrelvaneParams)
    engine->chain.OnParamChanged(param.index, param.defaultValue);
  const double power = kBrelvaneParams[VocalChain::kPower].defaultValue;
  const Take& take = TheTake();
  TimeBlocks(state, take.left64, take.right64, [&](double** in, double** out) {
    engine->chain.Process(in, out, kBlock, power, static_cast<int>(kRate));
  });
}

// Whether a peer module is there and really is a plug-in this host can drive; doubles says
// whether it offers 64-bit processing too.
bool PeerAvailable(const char* path, std::string& why, bool& doubles) {
  if (std::FILE* file = std::fopen(path, "rb")) {
    std::fclose(file);
  } else {
    why = std::string("not installed at ") + path + " (scripts/install-deps --bench)";
    return false;
  }
  brel::VstHost probe;
  if (!probe.Load(path)) {
    why = probe.LastError();
    return false;
  }
  doubles = (probe.Flags() & effFlagsCanDoubleReplacing) != 0;
  return true;
}

// --- Setting the peers' parameters ---------------------------------------------------------------
// The peers take only normalised values through setParameter and convert no text
// (effString2Parameter answers 0), so parameters are found by the names effGetParamName gives and
// set by what effGetParamDisplay then shows.

int ParamIndex(brel::VstHost& host, const std::string& name) {
  for (VstInt32 i = 0; i < host.NumParams(); ++i)
    if (host.ParamName(i) == name) return i;
  return -1;
}

// The number a parameter's display shows ("-12.00", "1135"); NaN when it shows none.
double Shown(brel::VstHost& host, VstInt32 index) {
  const std::string text = host.ParamDisplay(index);
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  return end != text.c_str() ? value : std::nan("");
}

// A continuous parameter set to a real value (Hz, dB, Q): its display rises with the normalised
// value, so bisection finds it. False, with why set, when the parameter is missing or the value is
// out of its reach.
bool SetValue(brel::VstHost& host, const std::string& name, double value, std::string& why) {
  const int index = ParamIndex(host, name);
  if (index < 0) {
    why = "the peer has no parameter " + name;
    return false;
  }
  float low = 0.0f, high = 1.0f;
  for (int step = 0; step < 32; ++step) {
    const float middle = 0.5f * (low + high);
    host.SetParameter(index, middle);
    (Shown(host, index) < value ? low : high) = middle;
  }
  host.SetParameter(index, high);
  const double shown = Shown(host, index);
  if (!(std::fabs(shown - value) <= 0.02 * std::max(1.0, std::fabs(value)))) {
    why = "the peer's " + name + " does not reach " + std::to_string(value) + " (shows " +
          host.ParamDisplay(index) + ")";
    return false;
  }
  return true;
}

// An entry of a list parameter chosen by its text. The display holds seven characters at most,
// so "Hi-shelf" shows as "Hi-shel".
bool SetChoice(brel::VstHost& host, const std::string& name, const std::string& text, std::string& why) {
  const int index = ParamIndex(host, name);
  if (index < 0) {
    why = "the peer has no parameter " + name;
    return false;
  }
  for (int step = 0; step <= 1000; ++step) {
    host.SetParameter(index, step / 1000.0f);
    const std::string shown = host.ParamDisplay(index);
    if (!shown.empty() && text.compare(0, shown.size(), shown) == 0 &&
        (shown.size() == text.size() || shown.size() >= 7))
      return true;
  }
  why = "the peer's " + name + " offers no \"" + text + "\"";
  return false;
}

// --- The peer chain ------------------------------------------------------------------------------
// What a user of the peer suite puts on a vocal to get the sound Brelvane gives: three stereo
// look-ahead limiters and a parametric equaliser in series, each its own plug-in instance driven
// through the same host calls as Brelvane's module. The peers process 32-bit samples only (no
// effFlagsCanDoubleReplacing), so the chain runs through processReplacing and compares with
// Brelvane's processReplacing.

// Each limiter works at -12 dB on the take (peaks about -6 dB; the default threshold, 0 dB, would
// leave it idle). Its "boost" stays on, as by default: the limiter gains its output back up by
// the threshold, so the next limiter in the series meets peaks over its threshold too.
constexpr double kLimiterThresholdDb = -12.0;

// The suite has no eight-band stereo equaliser, so the sixteen-band one runs with eight bands set
// to a typical vocal curve and the other eight off (an "Off" band is skipped, as an eight-band
// model would not have it).
struct EqBand {
  const char* type;
  double hz, db, q;
};
constexpr EqBand kVocalCurve[] = {
    {"Hi-pass", 80.0, 0.0, 0.7},      // rumble and handling noise
    {"Bell", 200.0, -2.0, 1.0},       // mud
    {"Bell", 350.0, -3.0, 1.4},       // boxiness
    {"Bell", 1000.0, -1.0, 1.0},      // nasal honk
    {"Bell", 3000.0, 3.0, 1.0},       // presence
    {"Bell", 6500.0, -3.0, 4.0},      // sibilance, narrow
    {"Hi-shelf", 10000.0, 2.0, 0.7},  // air
    {"Lo-pass", 18000.0, 0.0, 0.7},   // a gentle top cut
};
constexpr int kEqualiserBands = 16;

bool SetUpLimiter(brel::VstHost& host, std::string& why) {
  return SetValue(host, "th", kLimiterThresholdDb, why);
}

bool SetUpEqualiser(brel::VstHost& host, std::string& why) {
  for (int band = 0; band < kEqualiserBands; ++band) {
    const std::string n = std::to_string(band);
    if (band >= static_cast<int>(std::size(kVocalCurve))) {
      if (!SetChoice(host, "ft_" + n, "Off", why)) return false;
      continue;
    }
    const EqBand& b = kVocalCurve[band];
    if (!SetChoice(host, "ft_" + n, b.type, why) || !SetValue(host, "f_" + n, b.hz, why) ||
        !SetValue(host, "g_" + n, b.db, why) || !SetValue(host, "q_" + n, b.q, why))
      return false;
  }
  return true;
}

class PeerChain {
public:
  static constexpr int kLimiters = 3;

  bool Prepare(std::string& why) {
    for (brel::VstHost& limiter : mLimiters)
      if (!::Prepare(limiter, kPeerPath, why) || !SetUpLimiter(limiter, why)) return false;
    return ::Prepare(mEqualiser, kPeerEqualiserPath, why) && SetUpEqualiser(mEqualiser, why);
  }

  // One block through the four instances, each writing its own buffers for the next to read.
  void Process(float** inputs, float** outputs) {
    float** in = inputs;
    for (int i = 0; i < kLimiters; ++i) {
      float* out[2] = {mStage[i][0].data(), mStage[i][1].data()};
      mLimiters[i].ProcessReplacing(in, out, kBlock);
      mStageOut[i][0] = out[0];
      mStageOut[i][1] = out[1];
      in = mStageOut[i];
    }
    mEqualiser.ProcessReplacing(in, outputs, kBlock);
  }

  // Runs a second of the take and checks that every limiter holds the peaks at least 2 dB below
  // where the plain gain of its boost would have put them: each one reduces gain, none merely
  // passes the signal through.
  bool Limits(std::string& why) {
    const Take& take = TheTake();
    const double boost = std::pow(10.0, -kLimiterThresholdDb / 20.0);
    double peakIn[kLimiters] = {}, peakOut[kLimiters] = {};
    Blocks<float> blocks;
    for (int i = 0; i < kWarmUpFrames / kBlock; ++i) {
      const int at = blocks.at;
      blocks.Run(take.left, take.right, [&](float** in, float** out) { Process(in, out); });
      for (int l = 0; l < kLimiters; ++l) {
        const float* source[2] = {l == 0 ? take.left.data() + at : mStage[l - 1][0].data(),
                                  l == 0 ? take.right.data() + at : mStage[l - 1][1].data()};
        for (int c = 0; c < 2; ++c)
          for (int f = 0; f < kBlock; ++f) {
            peakIn[l] = std::max(peakIn[l], static_cast<double>(std::fabs(source[c][f])));
            peakOut[l] = std::max(peakOut[l], static_cast<double>(std::fabs(mStage[l][c][f])));
          }
      }
    }
    for (int l = 0; l < kLimiters; ++l) {
      mPeakReductionDb[l] = 20.0 * std::log10(peakIn[l] * boost / peakOut[l]);
      if (!(mPeakReductionDb[l] > 2.0)) {
        why = "peer limiter " + std::to_string(l + 1) + " does not limit (peak in " +
              std::to_string(peakIn[l]) + ", out " + std::to_string(peakOut[l]) + ")";
        return false;
      }
    }
    return true;
  }

  // How far each limiter held the take's peaks below where its boost alone would have put them.
  void PrintLimiting() const {
    std::printf("peer chain: its limiters take %.1f, %.1f and %.1f dB off the peaks\n", mPeakReductionDb[0],
                mPeakReductionDb[1], mPeakReductionDb[2]);
  }

private:
  brel::VstHost mLimiters[kLimiters];
  brel::VstHost mEqualiser;
  std::vector<float> mStage[kLimiters][2] = {{std::vector<float>(kBlock), std::vector<float>(kBlock)},
                                             {std::vector<float>(kBlock), std::vector<float>(kBlock)},
                                             {std::vector<float>(kBlock), std::vector<float>(kBlock)}};
  float* mStageOut[kLimiters][2] = {};
  double mPeakReductionDb[kLimiters] = {};
};

// One peer limiter, set as in the chain.
void ProcessPeerLimiter(benchmark::State& state) {
  std::string why;
  bool doubles = false;
  if (!PeerAvailable(kPeerPath, why, doubles)) {
    state.SkipWithError(("peer limiter skipped: " + why).c_str());
    return;
  }
  ProcessFloat(state, kPeerPath, SetUpLimiter);
}

void ProcessPeerChain(benchmark::State& state) {
  std::string why;
  bool doubles = false;
  if (!PeerAvailable(kPeerPath, why, doubles) || !PeerAvailable(kPeerEqualiserPath, why, doubles)) {
    state.SkipWithError(("peer chain skipped: " + why).c_str());
    return;
  }
  auto chain = std::make_unique<PeerChain>();
  if (!chain->Prepare(why) || !chain->Limits(why)) {
    state.SkipWithError(("peer chain skipped: " + why).c_str());
    return;
  }
  static bool shown = false;  // once per run, not once per repetition
  if (!shown) chain->PrintLimiting();
  shown = true;
  const Take& take = TheTake();
  TimeBlocks(state, take.left, take.right, [&](float** in, float** out) { chain->Process(in, out); });
}

// Passes every run on to the console and keeps each benchmark's ns per frame: the median of its
// repetitions when there are several, else its one run.
class MedianKeeper : public benchmark::ConsoleReporter {
public:
  // Colours only on a terminal, so a saved report stays plain text.
  MedianKeeper() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const auto counter = run.counters.find("ns_per_frame");
      if (run.error_occurred || counter == run.counters.end()) continue;
      const std::string& name = run.run_name.function_name;
      if (run.run_type == Run::RT_Iteration)
        mLast[name] = counter->second.value;
      else if (run.aggregate_name == "median")
        mMedian[name] = counter->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatio(const std::string& ours, const std::string& theirs) const {
    const double a = NsPerFrame(ours), b = NsPerFrame(theirs);
    if (!(a > 0.0) || !(b > 0.0)) return;
    std::printf("%s / %s: %.2f (%.1f vs %.1f ns per frame)\n", ours.c_str(), theirs.c_str(), a / b, a, b);
  }

  // What one benchmark costs over another, e.g. the adapter over the engine it wraps.
  void PrintDifference(const std::string& whole, const std::string& part) const {
    const double a = NsPerFrame(whole), b = NsPerFrame(part);
    if (!(a > 0.0) || !(b > 0.0)) return;
    std::printf("%s - %s: %.1f ns per frame (%.1f vs %.1f)\n", whole.c_str(), part.c_str(), a - b, a, b);
  }

private:
  double NsPerFrame(const std::string& name) const {
    const auto median = mMedian.find(name);
    if (median != mMedian.end()) return median->second;
    const auto last = mLast.find(name);
    return last != mLast.end() ? last->second : 0.0;
  }

  std::map<std::string, double> mMedian, mLast;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  const SetUp defaults = nullptr;
  benchmark::RegisterBenchmark("Engine/alone", EngineAlone);
  benchmark::RegisterBenchmark("Brelvane/processReplacing", ProcessFloat, kBrelvanePath, defaults);
  benchmark::RegisterBenchmark("Brelvane/processDoubleReplacing", ProcessDouble, kBrelvanePath, defaults);
  benchmark::RegisterBenchmark("BrelvaneVST3/process32", ProcessVst3<float>);
  benchmark::RegisterBenchmark("BrelvaneVST3/process64", ProcessVst3<double>);
  // A missing peer leaves its benchmarks in the report, skipped with the reason.
  std::string why;
  bool peerDoubles = false;
  if (PeerAvailable(kPeerPath, why, peerDoubles) && !peerDoubles)
    std::printf("peer look-ahead limiter offers no 64-bit processing: only its 32-bit path runs\n");
  benchmark::RegisterBenchmark("PeerLimiter/processReplacing", ProcessPeerLimiter);
  if (peerDoubles)
    benchmark::RegisterBenchmark("PeerLimiter/processDoubleReplacing", ProcessDouble, kPeerPath,
                                 SetUpLimiter);
  benchmark::RegisterBenchmark("PeerChain/processReplacing", ProcessPeerChain);

  MedianKeeper reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintDifference("Brelvane/processReplacing", "Engine/alone");
  reporter.PrintDifference("Brelvane/processDoubleReplacing", "Engine/alone");
  reporter.PrintDifference("BrelvaneVST3/process32", "Engine/alone");
  reporter.PrintDifference("BrelvaneVST3/process64", "Engine/alone");
  reporter.PrintRatio("Brelvane/processReplacing", "PeerLimiter/processReplacing");
  reporter.PrintRatio("Brelvane/processDoubleReplacing", "PeerLimiter/processDoubleReplacing");
  reporter.PrintRatio("Brelvane/processReplacing", "PeerChain/processReplacing");
  benchmark::Shutdown();
  return 0;
}
