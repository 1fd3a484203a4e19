#pragma once
// Measures a signal as it streams past: sample peak and integrated loudness (EBU R 128, through
// libebur128), for the render summary.
#include <cstdint>
#include <memory>

namespace brel::cmd {

class LevelMeter {
public:
  LevelMeter(int channels, int sampleRate);
  ~LevelMeter();
  LevelMeter(const LevelMeter&) = delete;
  LevelMeter& operator=(const LevelMeter&) = delete;

  void Add(const float* interleaved, int frames);
  void Add(const double* interleaved, int frames);

  double Peak() const { return mPeak; }  // largest magnitude, linear
  double PeakDbfs() const;               // -inf for silence
  // Integrated loudness in LUFS; -inf for silence or audio shorter than one 400 ms block,
  // NaN when it cannot be measured at this sample rate.
  double LoudnessLufs() const;
  std::uint64_t Frames() const { return mFrames; }

private:
  struct Loudness;  // the libebur128 state
  std::unique_ptr<Loudness> mLoudness;
  int mChannels;
  double mPeak = 0.0;
  std::uint64_t mFrames = 0;
};

}  // namespace brel::cmd
