#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>
#include <fcntl.h>

#include <cmath>

#include "tests/tools/TestFiles.h"
#include "tools/brelvane/AudioFileReader.h"
#include "tools/brelvane/AudioFileWriter.h"
#include "tools/brelvane/OutputFormat.h"

namespace brel::cmd {
namespace {

using test::AudioData;
using test::TempDir;

// Writes `samples` with the writer under test into a new file.
std::uint64_t WriteWithWriter(const std::string& path, int format, int channels,
                              const std::vector<float>& samples) {
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
  AudioFileWriter writer;
  std::string error;
  int frames = static_cast<int>(samples.size()) / channels;
  EXPECT_TRUE(writer.Open(fd, path, format, channels, 48000, frames, error)) << error;
  EXPECT_TRUE(writer.Write(samples.data(), frames, error)) << error;
  EXPECT_TRUE(writer.Close(error)) << error;
  ::close(fd);
  return writer.ClippedSamples();
}

std::vector<float> ReadWithReader(const std::string& path, int expectedChannels) {
  AudioFileReader reader;
  std::string error;
  EXPECT_TRUE(reader.Open(path, error)) << error;
  EXPECT_EQ(reader.Channels(), expectedChannels);
  std::vector<float> all, block(64 * expectedChannels);
  while (int n = reader.Read(block.data(), 64))
    all.insert(all.end(), block.begin(), block.begin() + n * expectedChannels);
  EXPECT_FALSE(reader.Failed());
  return all;
}

// Samples on the grid of a `bits`-bit format, including both ends of full scale.
std::vector<float> GridSamples(int bits) {
  double step = std::ldexp(1.0, 1 - bits);
  std::vector<float> v = {-1.0f,
                          static_cast<float>(1.0 - step),
                          0.0f,
                          static_cast<float>(step),
                          static_cast<float>(-step),
                          0.5f,
                          -0.25f,
                          static_cast<float>(12345 * step)};
  return v;
}

TEST(AudioFiles, IntegerFormatsRoundTripExactlyInEveryContainer) {
  TempDir dir;
  const int containers[] = {SF_FORMAT_WAV, SF_FORMAT_AIFF, SF_FORMAT_FLAC};
  const char* names[] = {"a.wav", "a.aiff", "a.flac"};
  for (int c = 0; c < 3; ++c)
    for (int bits : {16, 24}) {
      int format = containers[c] | (bits == 16 ? SF_FORMAT_PCM_16 : SF_FORMAT_PCM_24);
      std::vector<float> samples = GridSamples(bits);
      std::string path = dir.File(std::to_string(bits) + names[c]);
      EXPECT_EQ(WriteWithWriter(path, format, 2, samples), 0u);
      EXPECT_EQ(ReadWithReader(path, 2), samples) << path;
      EXPECT_EQ(test::ReadAudio(path).format, format) << path;
    }
}

TEST(AudioFiles, FloatFormatsKeepEveryValueIncludingOverFullScale) {
  TempDir dir;
  std::vector<float> samples = {1.5f, -3.25f, 1e-30f, 0.1f, -0.0f, 7.0f};
  for (const char* name : {"f.wav", "f.aiff"}) {
    std::string path = dir.File(name);
    int format = (name[2] == 'w' ? SF_FORMAT_WAV : SF_FORMAT_AIFF) | SF_FORMAT_FLOAT;
    EXPECT_EQ(WriteWithWriter(path, format, 1, samples), 0u);
    EXPECT_EQ(ReadWithReader(path, 1), samples) << name;
  }
}

TEST(AudioFiles, DoublesAreWrittenBitForBit) {
  TempDir dir;
  std::string path = dir.File("d.wav");
  std::vector<double> samples = {0.1, 1.0 / 3.0, -2.5, 1e-300, 0.30000000000000004, -0.7};
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
  AudioFileWriter writer;
  std::string error;
  ASSERT_TRUE(writer.Open(fd, path, SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 2, 96000, 3, error)) << error;
  ASSERT_TRUE(writer.Write(samples.data(), 3, error)) << error;
  ASSERT_TRUE(writer.Close(error)) << error;
  ::close(fd);
  AudioData back = test::ReadAudio(path);
  EXPECT_EQ(back.samples, samples);
  EXPECT_EQ(back.sampleRate, 96000);
  EXPECT_EQ(back.format, SF_FORMAT_WAV | SF_FORMAT_DOUBLE) << "small files stay plain WAV";
}

TEST(AudioFiles, IntegerFormatsClipAtFullScaleInsteadOfWrapping) {
  TempDir dir;
  std::string path = dir.File("clip.wav");
  EXPECT_EQ(WriteWithWriter(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, {1.5f, -1.5f, 1.0f, -1.0f, 0.5f}), 3u);
  std::vector<float> back = ReadWithReader(path, 1);
  float top = 32767.0f / 32768.0f;
  EXPECT_EQ(back, (std::vector<float>{top, -1.0f, top, -1.0f, 0.5f}));
}

TEST(AudioFiles, IntegerFormatsRoundToTheNearestStep) {
  TempDir dir;
  std::string path = dir.File("round.wav");
  double step = 1.0 / 32768.0;
  WriteWithWriter(
      path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1,
      {static_cast<float>(0.6 * step), static_cast<float>(-0.6 * step), static_cast<float>(2.4 * step)});
  std::vector<float> back = ReadWithReader(path, 1);
  EXPECT_EQ(back, (std::vector<float>{static_cast<float>(step), static_cast<float>(-step),
                                      static_cast<float>(2 * step)}));
}

TEST(AudioFiles, TheReaderReportsWhatItCannotRead) {
  TempDir dir;
  AudioFileReader reader;
  std::string error;
  EXPECT_FALSE(reader.Open(dir.File("missing.wav"), error));
  EXPECT_EQ(error, "cannot read '" + dir.File("missing.wav") + "': No such file or directory");
  test::WriteText(dir.File("text.wav"), "not audio at all, just words");
  EXPECT_FALSE(reader.Open(dir.File("text.wav"), error));
  EXPECT_NE(error.find("cannot read '" + dir.File("text.wav") + "' as audio"), std::string::npos);
  EXPECT_FALSE(reader.Open(dir.Path(), error));
  EXPECT_NE(error.find("is a directory"), std::string::npos);
}

TEST(OutputFormat, TheContainerFollowsTheExtensionInAnyCase) {
  int container = 0;
  std::string error;
  const std::pair<const char*, int> cases[] = {{"x.wav", SF_FORMAT_WAV},    {"X.WAV", SF_FORMAT_WAV},
                                               {"a/b.wave", SF_FORMAT_WAV}, {"x.aif", SF_FORMAT_AIFF},
                                               {"x.AIFF", SF_FORMAT_AIFF},  {"x.aifc", SF_FORMAT_AIFF},
                                               {"x.flac", SF_FORMAT_FLAC}};
  for (const auto& c : cases) {
    ASSERT_TRUE(ContainerForPath(c.first, container, error)) << c.first;
    EXPECT_EQ(container, c.second) << c.first;
  }
  for (const char* bad : {"x.mp3", "x", "dir.wav/x", "x.ogg", ".wav.txt"}) {
    EXPECT_FALSE(ContainerForPath(bad, container, error)) << bad;
    EXPECT_NE(error.find("unsupported output format"), std::string::npos);
  }
}

TEST(OutputFormat, TheSampleFormatIsTheRequestedOneOrTheInputsOwn) {
  int format = 0;
  std::string error;
  ASSERT_TRUE(ResolveOutputFormat("o.wav", SampleFormat::Pcm16, SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 2, 44100,
                                  format, error));
  EXPECT_EQ(format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  ASSERT_TRUE(ResolveOutputFormat("o.aiff", std::nullopt, SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 2, 44100, format,
                                  error));
  EXPECT_EQ(format, SF_FORMAT_AIFF | SF_FORMAT_PCM_24);
  ASSERT_TRUE(
      ResolveOutputFormat("o.wav", std::nullopt, SF_FORMAT_WAV | SF_FORMAT_ULAW, 1, 8000, format, error));
  EXPECT_EQ(format, SF_FORMAT_WAV | SF_FORMAT_ULAW);
  ASSERT_TRUE(ResolveOutputFormat("o.wav", SampleFormat::Double, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000,
                                  format, error));
  EXPECT_EQ(format, SF_FORMAT_WAV | SF_FORMAT_DOUBLE);
}

TEST(OutputFormat, FallsBackToFloatThenToPcm24WhereTheInputsFormatDoesNotFit) {
  int format = 0;
  std::string error;
  ASSERT_TRUE(
      ResolveOutputFormat("o.wav", std::nullopt, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 48000, format, error));
  EXPECT_EQ(format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  ASSERT_TRUE(
      ResolveOutputFormat("o.flac", std::nullopt, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 48000, format, error));
  EXPECT_EQ(format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
}

TEST(OutputFormat, RefusesWhatTheContainerCannotHold) {
  int format = 0;
  std::string error;
  EXPECT_FALSE(ResolveOutputFormat("o.flac", SampleFormat::Float, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 48000,
                                   format, error));
  EXPECT_EQ(error, "FLAC cannot hold float samples ('o.flac'); use --format pcm16 or pcm24");
  EXPECT_FALSE(ResolveOutputFormat("o.mp3", SampleFormat::Float, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 48000,
                                   format, error));
}

TEST(OutputFormat, WavLongerThanFourGibibytesBecomesRf64) {
  const int wav24 = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
  EXPECT_EQ(FormatForLength(wav24, 2, 48000LL * 3600), wav24);
  EXPECT_EQ(FormatForLength(wav24, 2, 715000000LL), wav24);
  EXPECT_EQ(FormatForLength(wav24, 2, 716000000LL), SF_FORMAT_RF64 | SF_FORMAT_PCM_24);
  EXPECT_EQ(FormatForLength(SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 1, 537000000LL),
            SF_FORMAT_RF64 | SF_FORMAT_DOUBLE);
  EXPECT_EQ(FormatForLength(SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 2, 716000000LL),
            SF_FORMAT_AIFF | SF_FORMAT_PCM_24);
  EXPECT_EQ(DescribeFormat(SF_FORMAT_RF64 | SF_FORMAT_PCM_24), "WAV pcm24");
}

TEST(OutputFormat, DescribesFormatsForTheSummary) {
  EXPECT_EQ(DescribeFormat(SF_FORMAT_WAV | SF_FORMAT_PCM_24), "WAV pcm24");
  EXPECT_EQ(DescribeFormat(SF_FORMAT_FLAC | SF_FORMAT_PCM_16), "FLAC pcm16");
  EXPECT_EQ(DescribeFormat(SF_FORMAT_AIFF | SF_FORMAT_DOUBLE), "AIFF double");
  EXPECT_EQ(DescribeFormat(SF_FORMAT_WAV | SF_FORMAT_FLOAT), "WAV float");
}

}  // namespace
}  // namespace brel::cmd
