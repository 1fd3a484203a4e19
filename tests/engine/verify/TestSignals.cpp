#include "tests/engine/verify/TestSignals.h"

#include <cmath>

namespace verify {

namespace {

constexpr double kTwoPi = 6.283185307179586;

long FrameCount(int rate, double seconds) { return static_cast<long>(rate * seconds); }

Stereo Sized(int rate, double seconds) {
  Stereo s;
  s.left.assign(static_cast<size_t>(FrameCount(rate, seconds)), 0.0);
  s.right.assign(s.left.size(), 0.0);
  return s;
}

// Syllables of about 180 ms with short pauses between them, plus a slow phrase swell.
double SyllableEnvelope(double t) {
  const double syllable = std::fmod(t, 0.23);
  if (syllable > 0.18) return 0.0;
  const double shape = std::sin(3.141592653589793 * syllable / 0.18);
  return shape * shape * (0.55 + 0.45 * std::sin(kTwoPi * 0.4 * t));
}

// Harmonics of a gliding fundamental, weighted by two moving formant bumps (the weights are
// refreshed every 64 samples, which is plenty for a test voice).
class Voice {
public:
  explicit Voice(int rate) : mRate(rate) {}

  double Next(long i) {
    const double t = static_cast<double>(i) / mRate;
    const double f0 = 140.0 + 40.0 * std::sin(kTwoPi * 0.7 * t) + 3.0 * std::sin(kTwoPi * 5.5 * t);
    mPhase += kTwoPi * f0 / mRate;
    if (i % 64 == 0) Weigh(t, f0);
    double sum = 0.0;
    for (int h = 1; h <= mHarmonics; ++h) sum += mWeight[h] * std::sin(h * mPhase);
    return sum;
  }

private:
  void Weigh(double t, double f0) {
    const double formant1 = 600.0 + 250.0 * std::sin(kTwoPi * 1.3 * t);
    const double formant2 = 2200.0 + 500.0 * std::sin(kTwoPi * 0.9 * t);
    mHarmonics = 0;
    for (int h = 1; h <= kMaxHarmonics && h * f0 < 0.45 * mRate; ++h) {
      const double d1 = (h * f0 - formant1) / 300.0;
      const double d2 = (h * f0 - formant2) / 600.0;
      mWeight[h] = std::exp(-d1 * d1) + 0.5 * std::exp(-d2 * d2) + 0.3 / h;
      mHarmonics = h;
    }
  }

  static constexpr int kMaxHarmonics = 40;
  int mRate;
  double mPhase = 0.0;
  int mHarmonics = 0;
  double mWeight[kMaxHarmonics + 1] = {};
};

}  // namespace

void Stereo::Append(const Stereo& more) {
  left.insert(left.end(), more.left.begin(), more.left.end());
  right.insert(right.end(), more.right.begin(), more.right.end());
}

double Noise::Uniform() {
  mState ^= mState << 13;
  mState ^= mState >> 7;
  mState ^= mState << 17;
  return static_cast<double>(mState >> 11) * (2.0 / 9007199254740992.0) - 1.0;
}

double DbToAmplitude(double db) { return std::pow(10.0, db / 20.0); }

Stereo Speech(int rate, double seconds, double peakDb, std::uint64_t seed) {
  Stereo s = Sized(rate, seconds);
  Noise breath(seed);
  Voice voice(rate);
  const double scale = DbToAmplitude(peakDb) / 6.0;
  for (long i = 0; i < s.Frames(); ++i) {
    const double t = static_cast<double>(i) / rate;
    const double env = SyllableEnvelope(t);
    // Fricative hiss on the tail of each syllable gives the air band something to work on.
    const double hiss = std::fmod(t, 0.23) > 0.14 ? 0.4 : 0.03;
    const double v = env * (voice.Next(i) + hiss * breath.Uniform());
    s.left[i] = scale * v;
    s.right[i] = scale * (0.8 * v + 0.05 * breath.Uniform() * env);
  }
  return s;
}

Stereo WhiteNoise(int rate, double seconds, double peakDb, std::uint64_t seed) {
  Stereo s = Sized(rate, seconds);
  Noise noise(seed);
  const double a = DbToAmplitude(peakDb);
  for (long i = 0; i < s.Frames(); ++i) {
    s.left[i] = a * noise.Uniform();
    s.right[i] = a * noise.Uniform();
  }
  return s;
}

Stereo Square(int rate, double seconds, double hz, double amplitude) {
  Stereo s = Sized(rate, seconds);
  const long half = static_cast<long>(rate / hz / 2.0);
  for (long i = 0; i < s.Frames(); ++i) {
    const double v = (i / half) % 2 == 0 ? amplitude : -amplitude;
    s.left[i] = v;
    s.right[i] = -v;
  }
  return s;
}

Stereo Impulses(int rate, double seconds, int spacing, double amplitude) {
  Stereo s = Sized(rate, seconds);
  for (long i = 0; i < s.Frames(); i += spacing) {
    s.left[i] = amplitude;
    if (i + spacing / 3 < s.Frames()) s.right[i + spacing / 3] = -amplitude;
  }
  return s;
}

Stereo Silence(int rate, double seconds) { return Sized(rate, seconds); }

Stereo DecayToSubnormal(int rate, double seconds) {
  Stereo s = Sized(rate, seconds);
  const double factor = std::pow(2.0, -1100.0 / static_cast<double>(s.Frames()));
  double a = 1.0;
  for (long i = 0; i < s.Frames(); ++i) {
    const double tone = std::sin(kTwoPi * 220.0 * i / rate);
    s.left[i] = a * tone;
    s.right[i] = a * (i % 2 == 0 ? 1.0 : -0.5);
    a *= factor;
  }
  return s;
}

}  // namespace verify
