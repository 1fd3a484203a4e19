#include "tools/brelvane/SampleFormat.h"

#include <sndfile.h>

namespace brel::cmd {

std::optional<SampleFormat> SampleFormatFromName(const std::string& name) {
  if (name == "float") return SampleFormat::Float;
  if (name == "double") return SampleFormat::Double;
  if (name == "pcm16") return SampleFormat::Pcm16;
  if (name == "pcm24") return SampleFormat::Pcm24;
  return std::nullopt;
}

const char* SampleFormatName(SampleFormat format) {
  switch (format) {
    case SampleFormat::Float: return "float";
    case SampleFormat::Double: return "double";
    case SampleFormat::Pcm16: return "pcm16";
    case SampleFormat::Pcm24: return "pcm24";
  }
  return "float";
}

int SampleFormatSubtype(SampleFormat format) {
  switch (format) {
    case SampleFormat::Float: return SF_FORMAT_FLOAT;
    case SampleFormat::Double: return SF_FORMAT_DOUBLE;
    case SampleFormat::Pcm16: return SF_FORMAT_PCM_16;
    case SampleFormat::Pcm24: return SF_FORMAT_PCM_24;
  }
  return SF_FORMAT_FLOAT;
}

}  // namespace brel::cmd
