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
    : loudness_(std::make_unique<Loudness>()), channels_(channels) {
  if (channels > 0 && sampleRate > 0)
    loudness_->state =
        ebur128_init(static_cast<unsigned>(channels), static_cast<unsigned long>(sampleRate), EBUR128_MODE_I);
}

LevelMeter::~LevelMeter() = default;

void LevelMeter::add(const float* interleaved, int frames) {
  if (frames <= 0) return;
  std::size_t count = static_cast<std::size_t>(frames) * channels_;
  for (std::size_t i = 0; i < count; ++i)
    peak_ = std::fmax(peak_, std::fabs(static_cast<double>(interleaved[i])));
  if (loudness_->state)
    ebur128_add_frames_float(loudness_->state, interleaved, static_cast<std::size_t>(frames));
  frames_ += static_cast<std::uint64_t>(frames);
}

void LevelMeter::add(const double* interleaved, int frames) {
  if (frames <= 0) return;
  std::size_t count = static_cast<std::size_t>(frames) * channels_;
  for (std::size_t i = 0; i < count; ++i) peak_ = std::fmax(peak_, std::fabs(interleaved[i]));
  if (loudness_->state)
    ebur128_add_frames_double(loudness_->state, interleaved, static_cast<std::size_t>(frames));
  frames_ += static_cast<std::uint64_t>(frames);
}

double LevelMeter::peakDbfs() const {
  if (peak_ <= 0.0) return -std::numeric_limits<double>::infinity();
  return 20.0 * std::log10(peak_);
}

double LevelMeter::loudnessLufs() const {
  if (!loudness_->state) return std::numeric_limits<double>::quiet_NaN();
  double lufs = 0.0;
  if (ebur128_loudness_global(loudness_->state, &lufs) != EBUR128_SUCCESS)
    return std::numeric_limits<double>::quiet_NaN();
  return lufs;
}

}  // namespace brel::cmd
