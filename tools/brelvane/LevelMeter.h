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

  void add(const float* interleaved, int frames);
  void add(const double* interleaved, int frames);

  double peak() const { return peak_; }  // largest magnitude, linear
  double peakDbfs() const;               // -inf for silence
  // Integrated loudness in LUFS; -inf for silence or audio shorter than one 400 ms block,
  // NaN when it cannot be measured at this sample rate.
  double loudnessLufs() const;
  std::uint64_t frames() const { return frames_; }

private:
  struct Loudness;  // the libebur128 state
  std::unique_ptr<Loudness> loudness_;
  int channels_;
  double peak_ = 0.0;
  std::uint64_t frames_ = 0;
};

}  // namespace brel::cmd
