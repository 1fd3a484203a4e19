#include "tools/brelvane/LevelMeter.h"

#include <ebur128.h>

#include <cmath>
#include <limits>

namespace brel::cmd {

struct LevelMeter::Loudness {
  ebur128_state* state = nullptr;
  ~Loudness() {
    if (state) ebur128_destroy(&state);
  }
};

LevelMeter::LevelMeter(int channels, int sampleRate)
    : mLoudness(std::make_unique<Loudness>()), mChannels(channels) {
  if (channels > 0 && sampleRate > 0)
    mLoudness->state =
        ebur128_init(static_cast<unsigned>(channels), static_cast<unsigned long>(sampleRate), EBUR128_MODE_I);
}

LevelMeter::~LevelMeter() = default;

void LevelMeter::Add(const float* interleaved, int frames) {
  if (frames <= 0) return;
  std::size_t count = static_cast<std::size_t>(frames) * mChannels;
  for (std::size_t i = 0; i < count; ++i)
    mPeak = std::fmax(mPeak, std::fabs(static_cast<double>(interleaved[i])));
  if (mLoudness->state)
    ebur128_add_frames_float(mLoudness->state, interleaved, static_cast<std::size_t>(frames));
  mFrames += static_cast<std::uint64_t>(frames);
}

void LevelMeter::Add(const double* interleaved, int frames) {
  if (frames <= 0) return;
  std::size_t count = static_cast<std::size_t>(frames) * mChannels;
  for (std::size_t i = 0; i < count; ++i) mPeak = std::fmax(mPeak, std::fabs(interleaved[i]));
  if (mLoudness->state)
    ebur128_add_frames_double(mLoudness->state, interleaved, static_cast<std::size_t>(frames));
  mFrames += static_cast<std::uint64_t>(frames);
}

double LevelMeter::PeakDbfs() const {
  if (mPeak <= 0.0) return -std::numeric_limits<double>::infinity();
  return 20.0 * std::log10(mPeak);
}

double LevelMeter::LoudnessLufs() const {
  if (!mLoudness->state) return std::numeric_limits<double>::quiet_NaN();
  double lufs = 0.0;
  if (ebur128_loudness_global(mLoudness->state, &lufs) != EBUR128_SUCCESS)
    return std::numeric_limits<double>::quiet_NaN();
  return lufs;
}

}  // namespace brel::cmd
