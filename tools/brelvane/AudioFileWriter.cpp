#include "tools/brelvane/AudioFileWriter.h"

#include <sndfile.h>

#include <cmath>

namespace brel::cmd {
namespace {

int PcmBitsOf(int subtype) {
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
int ToLeftAligned(T x, int bits, std::uint64_t& clipped) {
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
  Close(ignored);
}

bool AudioFileWriter::Open(int fd, const std::string& name, int format, int channels, int sampleRate,
                           int maxFrames, std::string& error) {
  mName = name;
  mChannels = channels;
  mClipped = 0;
  mPcmBits = PcmBitsOf(format & SF_FORMAT_SUBMASK);
  SF_INFO info{};
  info.format = format;
  info.channels = channels;
  info.samplerate = sampleRate;
  mFile = sf_open_fd(fd, SFM_WRITE, &info, SF_FALSE);
  if (!mFile) {
    error = "cannot write '" + name + "': " + sf_strerror(nullptr);
    return false;
  }
  if (mPcmBits == 0) sf_command(mFile, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  if (mPcmBits != 0) mScratch.assign(static_cast<std::size_t>(maxFrames) * channels, 0);
  return true;
}

bool AudioFileWriter::CheckWritten(long long written, int frames, std::string& error) {
  if (written == frames) return true;
  error = "cannot write '" + mName + "': " + sf_strerror(mFile);
  return false;
}

template <typename T>
bool AudioFileWriter::WriteSamples(const T* interleaved, int frames, std::string& error) {
  std::size_t count = static_cast<std::size_t>(frames) * mChannels;
  if (count > mScratch.size()) {
    error = "internal error: a write of " + std::to_string(frames) + " frames exceeds the block";
    return false;
  }
  for (std::size_t i = 0; i < count; ++i) mScratch[i] = ToLeftAligned(interleaved[i], mPcmBits, mClipped);
  return CheckWritten(sf_writef_int(mFile, mScratch.data(), frames), frames, error);
}

bool AudioFileWriter::Write(const float* interleaved, int frames, std::string& error) {
  if (!mFile) return false;
  if (mPcmBits != 0) return WriteSamples(interleaved, frames, error);
  return CheckWritten(sf_writef_float(mFile, interleaved, frames), frames, error);
}

bool AudioFileWriter::Write(const double* interleaved, int frames, std::string& error) {
  if (!mFile) return false;
  if (mPcmBits != 0) return WriteSamples(interleaved, frames, error);
  return CheckWritten(sf_writef_double(mFile, interleaved, frames), frames, error);
}

bool AudioFileWriter::Close(std::string& error) {
  if (!mFile) return true;
  sf_write_sync(mFile);
  int rc = sf_close(mFile);
  mFile = nullptr;
  if (rc != 0) {
    error = "cannot finish '" + mName + "': " + sf_error_number(rc);
    return false;
  }
  return true;
}

}  // namespace brel::cmd
