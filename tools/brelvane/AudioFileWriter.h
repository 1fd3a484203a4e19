#pragma once
// Writes interleaved samples to an audio file through libsndfile. Integer formats are written
// with rounding to the nearest step and clipping at full scale (never wrapping around), and map
// back exactly to what AudioFileReader reads; float formats keep every value as it is.
#include <cstdint>
#include <string>
#include <vector>

typedef struct sf_private_tag SNDFILE;

namespace brel::cmd {

class AudioFileWriter {
public:
  AudioFileWriter() = default;
  ~AudioFileWriter();
  AudioFileWriter(const AudioFileWriter&) = delete;
  AudioFileWriter& operator=(const AudioFileWriter&) = delete;

  // Writes into the open descriptor `fd` (left open on close). `name` names the file in
  // errors; `maxFrames` is the most any one write call passes.
  bool Open(int fd, const std::string& name, int format, int channels, int sampleRate, int maxFrames,
            std::string& error);
  bool Write(const float* interleaved, int frames, std::string& error);
  bool Write(const double* interleaved, int frames, std::string& error);
  // Completes the file's header; false with an error when that fails.
  bool Close(std::string& error);

  // Samples beyond full scale that an integer format had to clip.
  std::uint64_t ClippedSamples() const { return mClipped; }

private:
  template <typename T>
  bool WriteSamples(const T* interleaved, int frames, std::string& error);
  bool CheckWritten(long long written, int frames, std::string& error);

  SNDFILE* mFile = nullptr;
  std::string mName;
  int mChannels = 0;
  int mPcmBits = 0;  // 8, 16, 24 or 32 for integer formats written exactly; 0 otherwise
  std::vector<int> mScratch;
  std::uint64_t mClipped = 0;
};

}  // namespace brel::cmd
