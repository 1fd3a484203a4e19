#include "tools/brelvane/AudioFileWriter.h"

#include <sndfile.h>

#include <cmath>

namespace brel::cmd {
namespace {

int pcmBitsOf(int subtype) {
  switch (subtype) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8: return 8;
    case SF_FORMAT_PCM_16: return 16;
    case SF_FORMAT_PCM_24: return 24;
    case SF_FORMAT_PCM_32: return 32;
  }
  return 0;
}

// One sample as a left-aligned 32-bit integer holding a `bits`-bit value: libsndfile keeps
// the top `bits` bits, so the file gets round(x * 2^(bits-1)), clipped to the format's range.
template <typename T>
int toLeftAligned(T x, int bits, std::uint64_t& clipped) {
  const double scale = std::ldexp(1.0, bits - 1);
  double q = std::nearbyint(static_cast<double>(x) * scale);
  if (q > scale - 1.0) {
    q = scale - 1.0;
    ++clipped;
  } else if (q < -scale) {
    q = -scale;
    ++clipped;
  } else if (std::isnan(q)) {
    q = 0.0;
  }
  return static_cast<int>(static_cast<std::int64_t>(q) * (std::int64_t{1} << (32 - bits)));
}

}  // namespace

AudioFileWriter::~AudioFileWriter() {
  std::string ignored;
  close(ignored);
}

bool AudioFileWriter::open(int fd, const std::string& name, int format, int channels, int sampleRate,
                           int maxFrames, std::string& error) {
  name_ = name;
  channels_ = channels;
  clipped_ = 0;
  pcmBits_ = pcmBitsOf(format & SF_FORMAT_SUBMASK);
  SF_INFO info{};
  info.format = format;
  info.channels = channels;
  info.samplerate = sampleRate;
  file_ = sf_open_fd(fd, SFM_WRITE, &info, SF_FALSE);
  if (!file_) {
    error = "cannot write '" + name + "': " + sf_strerror(nullptr);
    return false;
  }
  if (pcmBits_ == 0) sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  if (pcmBits_ != 0) scratch_.assign(static_cast<std::size_t>(maxFrames) * channels, 0);
  return true;
}

bool AudioFileWriter::checkWritten(long long written, int frames, std::string& error) {
  if (written == frames) return true;
  error = "cannot write '" + name_ + "': " + sf_strerror(file_);
  return false;
}

template <typename T>
bool AudioFileWriter::writeSamples(const T* interleaved, int frames, std::string& error) {
  std::size_t count = static_cast<std::size_t>(frames) * channels_;
  if (count > scratch_.size()) {
    error = "internal error: a write of " + std::to_string(frames) + " frames exceeds the block";
    return false;
  }
  for (std::size_t i = 0; i < count; ++i) scratch_[i] = toLeftAligned(interleaved[i], pcmBits_, clipped_);
  return checkWritten(sf_writef_int(file_, scratch_.data(), frames), frames, error);
}

bool AudioFileWriter::write(const float* interleaved, int frames, std::string& error) {
  if (!file_) return false;
  if (pcmBits_ != 0) return writeSamples(interleaved, frames, error);
  return checkWritten(sf_writef_float(file_, interleaved, frames), frames, error);
}

bool AudioFileWriter::write(const double* interleaved, int frames, std::string& error) {
  if (!file_) return false;
  if (pcmBits_ != 0) return writeSamples(interleaved, frames, error);
  return checkWritten(sf_writef_double(file_, interleaved, frames), frames, error);
}

bool AudioFileWriter::close(std::string& error) {
  if (!file_) return true;
  sf_write_sync(file_);
  int rc = sf_close(file_);
  file_ = nullptr;
  if (rc != 0) {
    error = "cannot finish '" + name_ + "': " + sf_error_number(rc);
    return false;
  }
  return true;
}

}  // namespace brel::cmd
