#include "tools/brelvane/AudioFileReader.h"

#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace brel::cmd {

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
