#include "tools/brelvane/RenderSummary.h"

#include <cmath>
#include <cstdio>

namespace brel::cmd {

std::string FormatLevel(double value) {
  if (std::isnan(value)) return "n/a";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", value);
  return buf;
}

std::string FormatRealtimeFactor(double audioSeconds, double renderSeconds) {
  if (!(renderSeconds > 0.0)) return "n/a";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1fx", audioSeconds / renderSeconds);
  return buf;
}

void PrintSummary(const RenderSummary& s, std::ostream& out) {
  double seconds = s.sampleRate > 0 ? static_cast<double>(s.frames) / s.sampleRate : 0.0;
  char line[256];
  std::snprintf(line, sizeof line, "duration      %.3f s (%llu frames, %s)\n", seconds,
                static_cast<unsigned long long>(s.frames), s.channels == 1 ? "mono" : "stereo");
  out << line;
  out << "sample rate   " << s.sampleRate << " Hz\n";
  const char* const names[] = {"input", "output"};
  const SignalLevels* levels[] = {&s.input, &s.output};
  const std::string* formats[] = {&s.inputFormat, &s.outputFormat};
  for (int i = 0; i < 2; ++i) {
    std::snprintf(line, sizeof line, "%-12s  peak %7s dBFS   loudness %7s LUFS   (%s)\n", names[i],
                  FormatLevel(levels[i]->peakDbfs).c_str(), FormatLevel(levels[i]->loudnessLufs).c_str(),
                  formats[i]->c_str());
    out << line;
  }
  if (s.delayFrames >= 0) {
    const double ms = s.sampleRate > 0 ? 1000.0 * s.delayFrames / s.sampleRate : 0.0;
    const char* how = s.delayFrames == 0   ? (s.powerOn ? "nothing to compensate" : "none: \"Power\" is off")
                      : s.delayCompensated ? "compensated (--align)"
                                           : "not compensated (--align would)";
    std::snprintf(line, sizeof line, "delay         %d samples (%.2f ms), %s\n", s.delayFrames, ms, how);
    out << line;
  } else {
    out << "delay         unknown (the plug-in does not tell it), not compensated\n";
  }
  std::snprintf(line, sizeof line, "realtime      %s (rendered in %.3f s)\n",
                FormatRealtimeFactor(seconds, s.renderSeconds).c_str(), s.renderSeconds);
  out << line;
}

}  // namespace brel::cmd
