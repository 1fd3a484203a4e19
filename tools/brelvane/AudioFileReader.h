#pragma once
// Reads an audio file of any format libsndfile knows, as interleaved 32-bit or 64-bit samples
// in -1..1 full scale (integer formats map exactly: a 16-bit sample s reads as s / 32768).
#include <cstdint>
#include <string>

typedef struct sf_private_tag SNDFILE;

namespace brel::cmd {

class AudioFileReader {
public:
  AudioFileReader() = default;
  ~AudioFileReader();
  AudioFileReader(const AudioFileReader&) = delete;
  AudioFileReader& operator=(const AudioFileReader&) = delete;

  // False with a one-line error when the file is missing or not a readable audio file.
  bool open(const std::string& path, std::string& error);
  void close();

  int channels() const { return channels_; }
  int sampleRate() const { return sampleRate_; }
  std::int64_t frames() const { return frames_; }  // as the file's header says
  int format() const { return format_; }           // libsndfile format code

  // Reads up to `frames` frames; returns the number read (0 at the end or on a read error,
  // which `failed` then reports).
  int read(float* interleaved, int frames);
  int read(double* interleaved, int frames);
  bool failed() const { return failed_; }
  std::string lastError() const;

private:
  SNDFILE* file_ = nullptr;
  int channels_ = 0;
  int sampleRate_ = 0;
  std::int64_t frames_ = 0;
  int format_ = 0;
  bool failed_ = false;
};

}  // namespace brel::cmd
