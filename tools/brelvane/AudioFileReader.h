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
  bool Open(const std::string& path, std::string& error);
  void Close();

  int Channels() const { return mChannels; }
  int SampleRate() const { return mSampleRate; }
  std::int64_t Frames() const { return mFrames; }  // what the file holds, as the library counts it
  // The frame count a WAV or AIFF header declares, which a cut-off file does not hold; -1 when the
  // header gives none (other containers, or a WAV written as a stream).
  std::int64_t DeclaredFrames() const { return mDeclaredFrames; }
  int Format() const { return mFormat; }  // libsndfile format code

  // Reads up to `frames` frames; returns the number read (0 at the end or on a read error,
  // which `failed` then reports).
  int Read(float* interleaved, int frames);
  int Read(double* interleaved, int frames);
  bool Failed() const { return mFailed; }
  std::string LastError() const;

private:
  SNDFILE* mFile = nullptr;
  int mChannels = 0;
  int mSampleRate = 0;
  std::int64_t mFrames = 0;
  std::int64_t mDeclaredFrames = -1;
  int mFormat = 0;
  bool mFailed = false;
};

}  // namespace brel::cmd
