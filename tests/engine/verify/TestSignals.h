// Deterministic stereo test signals for the agreement runs: speech-like harmonics with a syllable
// envelope, white noise, a square, impulses, silence and a decay into the subnormal range.
#pragma once

#include <cstdint>
#include <vector>

namespace verify {

struct Stereo {
  std::vector<double> left, right;
  long Frames() const { return static_cast<long>(left.size()); }
  void Append(const Stereo& more);
};

// Small xorshift generator: the same numbers on every platform and library.
class Noise {
public:
  explicit Noise(std::uint64_t seed) : mState(seed * 0x9E3779B97F4A7C15ull + 1) {}
  double Uniform();  // [-1, 1)

private:
  std::uint64_t mState;
};

double DbToAmplitude(double db);

Stereo Speech(int rate, double seconds, double peakDb, std::uint64_t seed);
Stereo WhiteNoise(int rate, double seconds, double peakDb, std::uint64_t seed);
Stereo Square(int rate, double seconds, double hz, double amplitude);
Stereo Impulses(int rate, double seconds, int spacing, double amplitude);
Stereo Silence(int rate, double seconds);
// A loud tone decaying by a fixed factor per sample, far into and through the subnormal range.
Stereo DecayToSubnormal(int rate, double seconds);

}  // namespace verify
