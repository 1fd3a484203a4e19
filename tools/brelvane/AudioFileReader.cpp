#include "tools/brelvane/AudioFileReader.h"

#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace brel::cmd {

AudioFileReader::~AudioFileReader() { close(); }

bool AudioFileReader::open(const std::string& path, std::string& error) {
  close();
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
  file_ = sf_open(path.c_str(), SFM_READ, &info);
  if (!file_) {
    error = "cannot read '" + path + "' as audio: " + sf_strerror(nullptr);
    return false;
  }
  channels_ = info.channels;
  sampleRate_ = info.samplerate;
  frames_ = info.frames;
  format_ = info.format;
  failed_ = false;
  return true;
}

void AudioFileReader::close() {
  if (file_) sf_close(file_);
  file_ = nullptr;
}

int AudioFileReader::read(float* interleaved, int frames) {
  if (!file_ || frames <= 0) return 0;
  sf_count_t n = sf_readf_float(file_, interleaved, frames);
  if (n <= 0 && sf_error(file_) != SF_ERR_NO_ERROR) failed_ = true;
  return n > 0 ? static_cast<int>(n) : 0;
}

int AudioFileReader::read(double* interleaved, int frames) {
  if (!file_ || frames <= 0) return 0;
  sf_count_t n = sf_readf_double(file_, interleaved, frames);
  if (n <= 0 && sf_error(file_) != SF_ERR_NO_ERROR) failed_ = true;
  return n > 0 ? static_cast<int>(n) : 0;
}

std::string AudioFileReader::lastError() const { return file_ ? sf_strerror(file_) : ""; }

}  // namespace brel::cmd
