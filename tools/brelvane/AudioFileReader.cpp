#include "tools/brelvane/AudioFileReader.h"

#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

namespace brel::cmd {
namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
}
std::uint32_t Be32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

// The frames a WAV's data chunk or an AIFF's COMM chunk declares, from the file's first bytes
// (the header of either lies there); -1 when there is no such declaration.
std::int64_t DeclaredFramesIn(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> h(65536);
  in.read(reinterpret_cast<char*>(h.data()), static_cast<std::streamsize>(h.size()));
  h.resize(static_cast<std::size_t>(in.gcount()));
  if (h.size() < 12) return -1;
  const bool wav = std::memcmp(h.data(), "RIFF", 4) == 0 && std::memcmp(h.data() + 8, "WAVE", 4) == 0;
  const bool aiff = std::memcmp(h.data(), "FORM", 4) == 0 &&
                    (std::memcmp(h.data() + 8, "AIFF", 4) == 0 || std::memcmp(h.data() + 8, "AIFC", 4) == 0);
  if (!wav && !aiff) return -1;
  std::uint32_t blockAlign = 0;
  for (std::size_t pos = 12; pos + 8 <= h.size();) {
    const std::uint8_t* id = h.data() + pos;
    const std::uint32_t size = wav ? Le32(id + 4) : Be32(id + 4);
    if (wav && std::memcmp(id, "fmt ", 4) == 0 && pos + 22 <= h.size()) blockAlign = id[20] | id[21] << 8;
    if (wav && std::memcmp(id, "data", 4) == 0) {
      // 0 and all ones are what a writer that could not go back to the header leaves there.
      if (blockAlign == 0 || size == 0 || size == 0xFFFFFFFFu) return -1;
      return size / blockAlign;
    }
    if (aiff && std::memcmp(id, "COMM", 4) == 0 && pos + 14 <= h.size()) return Be32(id + 10);
    pos += 8 + size + (size & 1);
  }
  return -1;
}

}  // namespace

AudioFileReader::~AudioFileReader() { Close(); }

bool AudioFileReader::Open(const std::string& path, std::string& error) {
  Close();
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    error = "cannot read '" + path + "': " + std::strerror(errno);
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    error = "cannot read '" + path + "': it is a directory";
    return false;
  }
  if (::access(path.c_str(), R_OK) != 0) {
    error = "cannot read '" + path + "': " + std::strerror(errno);
    return false;
  }
  SF_INFO info{};
  mFile = sf_open(path.c_str(), SFM_READ, &info);
  if (!mFile) {
    error = "cannot read '" + path + "' as audio: " + sf_strerror(nullptr);
    return false;
  }
  mChannels = info.channels;
  mSampleRate = info.samplerate;
  mFrames = info.frames;
  mFormat = info.format;
  mDeclaredFrames = DeclaredFramesIn(path);
  mFailed = false;
  return true;
}

void AudioFileReader::Close() {
  if (mFile) sf_close(mFile);
  mFile = nullptr;
}

int AudioFileReader::Read(float* interleaved, int frames) {
  if (!mFile || frames <= 0) return 0;
  sf_count_t n = sf_readf_float(mFile, interleaved, frames);
  if (n <= 0 && sf_error(mFile) != SF_ERR_NO_ERROR) mFailed = true;
  return n > 0 ? static_cast<int>(n) : 0;
}

int AudioFileReader::Read(double* interleaved, int frames) {
  if (!mFile || frames <= 0) return 0;
  sf_count_t n = sf_readf_double(mFile, interleaved, frames);
  if (n <= 0 && sf_error(mFile) != SF_ERR_NO_ERROR) mFailed = true;
  return n > 0 ? static_cast<int>(n) : 0;
}

std::string AudioFileReader::LastError() const { return mFile ? sf_strerror(mFile) : ""; }

}  // namespace brel::cmd
