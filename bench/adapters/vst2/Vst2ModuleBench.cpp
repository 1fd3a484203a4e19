// How fast the Brelvane VST2 module processes, measured the way a host drives it: 512-frame stereo
// blocks at 48 kHz of a speech-like take with the default settings, through processReplacing and
// processDoubleReplacing. When a peer look-ahead limiter module is installed, the same blocks run
// through it in the same session, and the last lines give Brelvane's cost relative to it.
#include <benchmark/benchmark.h>

#include <time.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "hosts/vst2/VstHost.h"
#include "tests/adapters/vst2/TestSignal.h"

namespace {

constexpr int kBlock = 512;
constexpr float kRate = 48000.0f;
constexpr int kTakeFrames = 10 * 48000;  // a 10-second take, looped
constexpr int kWarmUpFrames = 48000;     // glides settled and look-ahead buffers made first

const char* const kBrelvanePath = BRELVANE_VST2_PATH;
const char* const kPeerPath = PEER_LIMITER_PATH;

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

void ProcessFloat(benchmark::State& state, const char* path) {
  brel::VstHost host;
  std::string why;
  if (!Prepare(host, path, why)) {
    state.SkipWithError(why.c_str());
    return;
  }
  const Take& take = TheTake();
  Blocks<float> blocks;
  auto process = [&](float** in, float** out) { host.ProcessReplacing(in, out, kBlock); };
  for (int i = 0; i < kWarmUpFrames / kBlock; ++i) blocks.Run(take.left, take.right, process);
  const double start = ThreadCpuNs();
  for (auto _ : state) {
    blocks.Run(take.left, take.right, process);
    benchmark::DoNotOptimize(blocks.outL.data());
    benchmark::ClobberMemory();
  }
  SetCounters(state, ThreadCpuNs() - start);
}

void ProcessDouble(benchmark::State& state, const char* path) {
  brel::VstHost host;
  std::string why;
  if (!Prepare(host, path, why)) {
    state.SkipWithError(why.c_str());
    return;
  }
  if (!(host.Flags() & effFlagsCanDoubleReplacing)) {
    state.SkipWithError("the module does not offer 64-bit processing");
    return;
  }
  const Take& take = TheTake();
  Blocks<double> blocks;
  auto process = [&](double** in, double** out) { host.ProcessDoubleReplacing(in, out, kBlock); };
  for (int i = 0; i < kWarmUpFrames / kBlock; ++i) blocks.Run(take.left64, take.right64, process);
  const double start = ThreadCpuNs();
  for (auto _ : state) {
    blocks.Run(take.left64, take.right64, process);
    benchmark::DoNotOptimize(blocks.outL.data());
    benchmark::ClobberMemory();
  }
  SetCounters(state, ThreadCpuNs() - start);
}

// Whether the peer module is there and really is a plug-in this host can drive; doubles says
// whether it offers 64-bit processing too.
bool PeerAvailable(std::string& why, bool& doubles) {
  if (std::FILE* file = std::fopen(kPeerPath, "rb")) {
    std::fclose(file);
  } else {
    why = std::string("not installed at ") + kPeerPath + " (scripts/install-deps --bench)";
    return false;
  }
  brel::VstHost probe;
  if (!probe.Load(kPeerPath)) {
    why = probe.LastError();
    return false;
  }
  doubles = (probe.Flags() & effFlagsCanDoubleReplacing) != 0;
  return true;
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

  benchmark::RegisterBenchmark("Brelvane/processReplacing", ProcessFloat, kBrelvanePath);
  benchmark::RegisterBenchmark("Brelvane/processDoubleReplacing", ProcessDouble, kBrelvanePath);
  std::string why;
  bool peerDoubles = false;
  const bool peer = PeerAvailable(why, peerDoubles);
  if (peer) {
    benchmark::RegisterBenchmark("PeerLimiter/processReplacing", ProcessFloat, kPeerPath);
    if (peerDoubles)
      benchmark::RegisterBenchmark("PeerLimiter/processDoubleReplacing", ProcessDouble, kPeerPath);
    else
      std::printf("peer look-ahead limiter offers no 64-bit processing: only its 32-bit path runs\n");
  } else {
    std::printf("peer look-ahead limiter skipped: %s\n", why.c_str());
  }

  MedianKeeper reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (peer) {
    reporter.PrintRatio("Brelvane/processReplacing", "PeerLimiter/processReplacing");
    reporter.PrintRatio("Brelvane/processDoubleReplacing", "PeerLimiter/processDoubleReplacing");
  }
  benchmark::Shutdown();
  return 0;
}
