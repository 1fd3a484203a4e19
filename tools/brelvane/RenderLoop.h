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

// Hands one resolved setting to the plug-in; false with an error when the plug-in rejects it.
bool applySetting(PluginPort& port, const ParamSetting& setting, std::string& error);

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

struct RenderResult {
  std::uint64_t frames = 0;
  bool interrupted = false;
};

class RenderLoop {
public:
  RenderLoop(PluginPort& port, RenderStreams streams, RenderControl control, int channels, int blockSize)
      : port_(port),
        streams_(streams),
        control_(std::move(control)),
        channels_(channels),
        blockSize_(blockSize) {}

  // Processes the whole input (64-bit when `doublePrecision`), then applies the changes due
  // at its end. False with an error on any failure; a change beyond the end is one.
  bool run(ChangeSchedule& schedule, bool doublePrecision, RenderResult& result, std::string& error);

private:
  template <typename T>
  bool runAs(ChangeSchedule& schedule, RenderResult& result, std::string& error);
  bool applyDue(ChangeSchedule& schedule, std::uint64_t position, std::string& error);

  PluginPort& port_;
  RenderStreams streams_;
  RenderControl control_;
  int channels_;
  int blockSize_;
};

}  // namespace brel::cmd
