#pragma once
// The report printed after a render: what went in, what came out, and how fast.
#include <cstdint>
#include <ostream>
#include <string>

namespace brel::cmd {

struct SignalLevels {
  double peakDbfs = 0.0;      // -inf for silence
  double loudnessLufs = 0.0;  // -inf for silence, NaN when not measurable
};

struct RenderSummary {
  std::uint64_t frames = 0;
  int sampleRate = 0;
  int channels = 0;
  std::string inputFormat;  // "WAV pcm24"
  std::string outputFormat;
  SignalLevels input;
  SignalLevels output;
  double renderSeconds = 0.0;
  int delayFrames = -1;  // the processed signal's delay against the input; -1 when not told
  bool delayCompensated = false;
  bool powerOn = true;  // says why a delay of 0 is none
};

void PrintSummary(const RenderSummary& summary, std::ostream& out);

// "-3.21", "-inf" or "n/a".
std::string FormatLevel(double value);
// Audio seconds per wall-clock second, "81.2x"; "n/a" when the render took no measurable time.
std::string FormatRealtimeFactor(double audioSeconds, double renderSeconds);

}  // namespace brel::cmd
