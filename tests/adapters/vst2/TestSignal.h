#pragma once
// Stereo test audio for the module tests: a deterministic speech-like signal (voiced syllables
// with breathy noise between them), and the comparisons the tests make on whole signals.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vst2test {

template <typename Sample>
struct Stereo {
  std::vector<Sample> left, right;

  Stereo() = default;
  Stereo(int frames, Sample fill) : left(frames, fill), right(frames, fill) {}
  int Frames() const { return static_cast<int>(left.size()); }
};

// Voiced partials under a syllable envelope, fricative-like noise in the gaps, the right channel a
// slightly different take of the left. level is the rough peak. Same arguments, same samples.
inline Stereo<float> SpeechLike(int frames, double rate = 48000.0, double level = 0.5) {
  constexpr double kTwoPi = 6.283185307179586;
  Stereo<float> out(frames, 0.0f);
  std::uint32_t noise = 0x2545F491u;
  double phase = 0.0;
  for (int n = 0; n < frames; ++n) {
    const double t = n / rate;
    const double f0 = 150.0 + 35.0 * std::sin(kTwoPi * 0.8 * t);
    phase += f0 / rate;
    double voiced = 0.0;
    for (int k = 1; k <= 14; ++k) {
      // Two formant-like humps around 700 Hz and 2.2 kHz over a falling spectrum.
      const double f = k * f0;
      const double formant = 1.0 + 2.0 * std::exp(-std::pow((f - 700.0) / 250.0, 2.0)) +
                             1.2 * std::exp(-std::pow((f - 2200.0) / 400.0, 2.0));
      voiced += formant * std::sin(kTwoPi * k * phase) / k;
    }
    const double syllable = std::sin(kTwoPi * 3.3 * t);
    const double envelope = syllable > 0.0 ? syllable * syllable : 0.0;
    noise = noise * 1664525u + 1013904223u;
    const double white = static_cast<double>(noise >> 8) / 16777216.0 - 0.5;
    const double left = level * (0.28 * envelope * voiced + 0.15 * (1.0 - envelope) * white);
    const double right = 0.9 * left + level * 0.02 * white;
    out.left[n] = static_cast<float>(left);
    out.right[n] = static_cast<float>(right);
  }
  return out;
}

// The same samples widened to doubles, so the 64-bit path sees exactly what the 32-bit one sees.
inline Stereo<double> Widened(const Stereo<float>& in) {
  Stereo<double> out;
  out.left.assign(in.left.begin(), in.left.end());
  out.right.assign(in.right.begin(), in.right.end());
  return out;
}

inline Stereo<float> Scaled(const Stereo<float>& in, float gain) {
  Stereo<float> out = in;
  for (float& s : out.left) s *= gain;
  for (float& s : out.right) s *= gain;
  return out;
}

// Where two signals first differ, for failure messages; empty when they are bit-identical.
template <typename Sample>
std::string FirstDifference(const Stereo<Sample>& a, const Stereo<Sample>& b) {
  if (a.Frames() != b.Frames()) return "different lengths";
  for (int n = 0; n < a.Frames(); ++n) {
    if (a.left[n] != b.left[n] || a.right[n] != b.right[n]) {
      char text[160];
      std::snprintf(text, sizeof(text), "frame %d: (%.9g, %.9g) vs (%.9g, %.9g)", n, double(a.left[n]),
                    double(a.right[n]), double(b.left[n]), double(b.right[n]));
      return text;
    }
  }
  return std::string();
}

template <typename Sample>
double Peak(const Stereo<Sample>& s, int from = 0) {
  double peak = 0.0;
  for (int n = from; n < s.Frames(); ++n) {
    peak = std::fmax(peak, std::fabs(double(s.left[n])));
    peak = std::fmax(peak, std::fabs(double(s.right[n])));
  }
  return peak;
}

template <typename Sample>
bool AllFinite(const Stereo<Sample>& s) {
  for (int n = 0; n < s.Frames(); ++n)
    if (!std::isfinite(double(s.left[n])) || !std::isfinite(double(s.right[n]))) return false;
  return true;
}

}  // namespace vst2test
