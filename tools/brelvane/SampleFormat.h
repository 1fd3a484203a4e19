#pragma once
// The sample formats the command writes, and how they map to libsndfile format codes.
#include <optional>
#include <string>

namespace brel::cmd {

enum class SampleFormat { Float, Double, Pcm16, Pcm24 };

std::optional<SampleFormat> SampleFormatFromName(const std::string& name);
const char* SampleFormatName(SampleFormat format);
int SampleFormatSubtype(SampleFormat format);  // SF_FORMAT_FLOAT, SF_FORMAT_PCM_16, ...

}  // namespace brel::cmd
