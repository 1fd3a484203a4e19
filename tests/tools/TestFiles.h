#pragma once
// Scratch directories and audio files for the command's tests.
#include <cstdint>
#include <string>
#include <vector>

namespace brel::cmd::test {

// A fresh directory under the system's temporary folder, removed with its contents.
class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return mPath; }
  std::string File(const std::string& name) const { return mPath + "/" + name; }
  std::vector<std::string> Entries() const;  // names, sorted

private:
  std::string mPath;
};

struct AudioData {
  int format = 0;
  int channels = 0;
  int sampleRate = 0;
  std::vector<double> samples;  // interleaved
  std::int64_t Frames() const { return channels ? static_cast<std::int64_t>(samples.size()) / channels : 0; }
};

// Writes through libsndfile directly (not through the code under test).
void WriteAudio(const std::string& path, const AudioData& audio);
AudioData ReadAudio(const std::string& path);                 // as doubles
std::vector<float> ReadAudioFloats(const std::string& path);  // as floats

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);

// `frames` frames of a sine with the given peak, the same in every channel.
AudioData Sine(int format, int channels, int sampleRate, std::int64_t frames, double peak, double hz);

}  // namespace brel::cmd::test
