#pragma once
// Chooses the libsndfile format of the output: the container from OUT's extension, the sample
// format from --format or, by default, the input's own where the container can hold it.
#include <cstdint>
#include <optional>
#include <string>

#include "tools/brelvane/SampleFormat.h"

namespace brel::cmd {

// SF_FORMAT_WAV, SF_FORMAT_AIFF or SF_FORMAT_FLAC for .wav/.wave, .aif/.aiff/.aifc, .flac
// (any case); false with an error for anything else.
bool ContainerForPath(const std::string& path, int& container, std::string& error);

// The full libsndfile format code for OUT, or false with an error when the container cannot
// hold the requested sample format, the channel count or the sample rate.
bool ResolveOutputFormat(const std::string& path, std::optional<SampleFormat> requested, int inputFormat,
                         int channels, int sampleRate, int& format, std::string& error);

// WAV holds at most 4 GiB of audio data: a longer render is written as RF64, WAV's 64-bit
// form, which the same readers open. Other formats are returned unchanged.
int FormatForLength(int format, int channels, std::int64_t frames);

// "WAV pcm24", "FLAC pcm16", "AIFF float", ...
std::string DescribeFormat(int format);

}  // namespace brel::cmd
