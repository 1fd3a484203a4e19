#pragma once
// Streams the input through the plug-in into the output, block by block, cutting blocks where
// --at changes fall and measuring both signals on the way.
#include <cstdint>
#include <functional>
#include <string>

#include "tools/brelvane/AudioFileReader.h"
#include "tools/brelvane/AudioFileWriter.h"
#include "tools/brelvane/ChangeSchedule.h"
#include "tools/brelvane/LevelMeter.h"
#include "tools/brelvane/PluginPort.h"
#include "tools/brelvane/ProgressBar.h"

namespace brel::cmd {

struct RenderStreams {
  AudioFileReader& reader;
  AudioFileWriter& writer;
  LevelMeter& inputMeter;
  LevelMeter& outputMeter;
};

struct RenderControl {
  ProgressBar& progress;
  std::function<double()> clock;
  std::function<bool()> interrupted;
};

// What surrounds the input in the plug-in's stream: silence run first and dropped (so the input
// meets a plug-in that has settled, as in a host that was already playing), and the delay cut off
// the front of the output and made up with silence at the end (so the output lines up with the input).
struct RenderTiming {
  std::uint64_t prerollFrames = 0;
  // Asked once the changes due at the input's first frame are applied: the frames to cut.
  std::function<int()> alignFrames;
};

struct RenderResult {
  std::uint64_t frames = 0;
  bool interrupted = false;
};

class RenderLoop {
public:
  RenderLoop(PluginPort& port, RenderStreams streams, RenderControl control, int channels, int blockSize)
      : mPort(port),
        mStreams(streams),
        mControl(std::move(control)),
        mChannels(channels),
        mBlockSize(blockSize) {}

  // Processes the whole input (64-bit when `doublePrecision`), then applies the changes due
  // at its end. False with an error on any failure; a change beyond the end is one.
  bool Run(ChangeSchedule& schedule, bool doublePrecision, const RenderTiming& timing, RenderResult& result,
           std::string& error);

private:
  // One run in one sample type: its buffers, and where the input and the output stand.
  template <typename T>
  class Pass;

  bool Interrupted(RenderResult& result, std::string& error);
  bool ApplyDue(ChangeSchedule& schedule, std::uint64_t position, std::string& error);

  PluginPort& mPort;
  RenderStreams mStreams;
  RenderControl mControl;
  int mChannels;
  int mBlockSize;
};

}  // namespace brel::cmd
