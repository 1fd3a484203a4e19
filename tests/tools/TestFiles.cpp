#include "tests/tools/TestFiles.h"

#include <dirent.h>
#include <sndfile.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace brel::cmd::test {

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/brelvane-test-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (!::mkdtemp(name.data())) throw std::runtime_error("mkdtemp failed");
  mPath = name.data();
}

TempDir::~TempDir() {
  for (const std::string& e : Entries()) ::unlink(File(e).c_str());
  ::rmdir(mPath.c_str());
}

std::vector<std::string> TempDir::Entries() const {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(mPath.c_str())) {
    while (dirent* e = ::readdir(dir)) {
      std::string n = e->d_name;
      if (n != "." && n != "..") names.push_back(n);
    }
    ::closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

void WriteAudio(const std::string& path, const AudioData& audio) {
  SF_INFO info{};
  info.format = audio.format;
  info.channels = audio.channels;
  info.samplerate = audio.sampleRate;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) throw std::runtime_error("cannot write test audio " + path + ": " + sf_strerror(nullptr));
  sf_writef_double(f, audio.samples.data(), audio.Frames());
  sf_close(f);
}

AudioData ReadAudio(const std::string& path) {
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) throw std::runtime_error("cannot read test audio " + path + ": " + sf_strerror(nullptr));
  AudioData a;
  a.format = info.format;
  a.channels = info.channels;
  a.sampleRate = info.samplerate;
  a.samples.resize(static_cast<std::size_t>(info.frames * info.channels));
  sf_readf_double(f, a.samples.data(), info.frames);
  sf_close(f);
  return a;
}

std::vector<float> ReadAudioFloats(const std::string& path) {
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) throw std::runtime_error("cannot read test audio " + path);
  std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
  sf_readf_float(f, samples.data(), info.frames);
  sf_close(f);
  return samples;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

AudioData Sine(int format, int channels, int sampleRate, std::int64_t frames, double peak, double hz) {
  AudioData a;
  a.format = format;
  a.channels = channels;
  a.sampleRate = sampleRate;
  const double pi = std::acos(-1.0);
  for (std::int64_t f = 0; f < frames; ++f) {
    double v = peak * std::sin(2.0 * pi * hz * static_cast<double>(f) / sampleRate);
    for (int c = 0; c < channels; ++c) a.samples.push_back(v);
  }
  return a;
}

}  // namespace brel::cmd::test
