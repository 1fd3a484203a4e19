#include "tools/brelvane/OutputFormat.h"

#include <sndfile.h>

#include "tools/brelvane/ParamTable.h"

namespace brel::cmd {
namespace {

std::string ExtensionOf(const std::string& path) {
  std::string::size_type slash = path.find_last_of('/');
  std::string::size_type dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  return path.substr(dot);
}

bool Accepts(int format, int channels, int sampleRate) {
  SF_INFO info{};
  info.format = format;
  info.channels = channels;
  info.samplerate = sampleRate;
  return sf_format_check(&info) != 0;
}

const char* ContainerName(int container) {
  switch (container) {
    case SF_FORMAT_WAV: return "WAV";
    case SF_FORMAT_RF64: return "WAV";
    case SF_FORMAT_WAVEX: return "WAV";
    case SF_FORMAT_AIFF: return "AIFF";
    case SF_FORMAT_FLAC: return "FLAC";
  }
  return "audio";
}

int BytesPerSample(int subtype) {
  switch (subtype) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW: return 1;
    case SF_FORMAT_PCM_16: return 2;
    case SF_FORMAT_PCM_24: return 3;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT: return 4;
  }
  return 8;  // the widest, for anything else
}

const char* SubtypeName(int subtype) {
  switch (subtype) {
    case SF_FORMAT_PCM_S8: return "pcm8";
    case SF_FORMAT_PCM_U8: return "pcm8 (unsigned)";
    case SF_FORMAT_PCM_16: return "pcm16";
    case SF_FORMAT_PCM_24: return "pcm24";
    case SF_FORMAT_PCM_32: return "pcm32";
    case SF_FORMAT_FLOAT: return "float";
    case SF_FORMAT_DOUBLE: return "double";
    case SF_FORMAT_ULAW: return "u-law";
    case SF_FORMAT_ALAW: return "A-law";
  }
  return "encoded";
}

}  // namespace

bool ContainerForPath(const std::string& path, int& container, std::string& error) {
  std::string ext = ExtensionOf(path);
  if (EqualsIgnoringCase(ext, ".wav") || EqualsIgnoringCase(ext, ".wave")) {
    container = SF_FORMAT_WAV;
  } else if (EqualsIgnoringCase(ext, ".aif") || EqualsIgnoringCase(ext, ".aiff") ||
             EqualsIgnoringCase(ext, ".aifc")) {
    container = SF_FORMAT_AIFF;
  } else if (EqualsIgnoringCase(ext, ".flac")) {
    container = SF_FORMAT_FLAC;
  } else {
    error = "unsupported output format for '" + path + "': use a .wav, .aiff or .flac file name";
    return false;
  }
  return true;
}

bool ResolveOutputFormat(const std::string& path, std::optional<SampleFormat> requested, int inputFormat,
                         int channels, int sampleRate, int& format, std::string& error) {
  int container = 0;
  if (!ContainerForPath(path, container, error)) return false;
  if (requested) {
    format = container | SampleFormatSubtype(*requested);
    if (!Accepts(format, channels, sampleRate)) {
      if (Accepts(format, 1, 44100)) {
        error = std::string(ContainerName(container)) + " cannot hold " + std::to_string(channels) +
                " channels at " + std::to_string(sampleRate) + " Hz ('" + path + "')";
        return false;
      }
      error = std::string(ContainerName(container)) + " cannot hold " + SampleFormatName(*requested) +
              " samples ('" + path + "')";
      if (container == SF_FORMAT_FLAC) error += "; use --format pcm16 or pcm24";
      return false;
    }
    return true;
  }
  // The input's own sample format where the container holds it, else float, else the
  // finest integer format (FLAC holds no floats).
  const int candidates[] = {inputFormat & SF_FORMAT_SUBMASK, SF_FORMAT_FLOAT, SF_FORMAT_PCM_24};
  for (int subtype : candidates) {
    format = container | subtype;
    if (Accepts(format, channels, sampleRate)) return true;
  }
  error = std::string(ContainerName(container)) + " cannot hold " + std::to_string(channels) +
          " channels at " + std::to_string(sampleRate) + " Hz ('" + path + "')";
  return false;
}

int FormatForLength(int format, int channels, std::int64_t frames) {
  if ((format & SF_FORMAT_TYPEMASK) != SF_FORMAT_WAV || frames <= 0) return format;
  const double limit = 4294967295.0 - 4096.0;  // the 32-bit sizes, less room for the header
  double bytes = static_cast<double>(frames) * channels * BytesPerSample(format & SF_FORMAT_SUBMASK);
  return bytes > limit ? ((format & ~SF_FORMAT_TYPEMASK) | SF_FORMAT_RF64) : format;
}

std::string DescribeFormat(int format) {
  return std::string(ContainerName(format & SF_FORMAT_TYPEMASK)) + " " +
         SubtypeName(format & SF_FORMAT_SUBMASK);
}

}  // namespace brel::cmd
