#include "tools/brelvane/RenderLoop.h"

#include <algorithm>
#include <vector>

namespace brel::cmd {

bool applySetting(PluginPort& port, const ParamSetting& setting, std::string& error) {
  if (setting.route == ParamSetting::Route::Normalized) {
    port.setParameter(setting.index, setting.normalized);
    return true;
  }
  if (port.setParameterText(setting.index, setting.text)) return true;
  error = "the plug-in rejected " + setting.shown;
  return false;
}

bool RenderLoop::run(ChangeSchedule& schedule, bool doublePrecision, RenderResult& result,
                     std::string& error) {
  return doublePrecision ? runAs<double>(schedule, result, error) : runAs<float>(schedule, result, error);
}

bool RenderLoop::applyDue(ChangeSchedule& schedule, std::uint64_t position, std::string& error) {
  for (const ScheduledChange* change : schedule.takeDue(position))
    if (!applySetting(port_, change->setting, error)) return false;
  return true;
}

template <typename T>
bool RenderLoop::runAs(ChangeSchedule& schedule, RenderResult& result, std::string& error) {
  const std::size_t block = static_cast<std::size_t>(blockSize_);
  const int inputs = std::max(port_.inputCount(), channels_);
  const int outputs = std::max(port_.outputCount(), channels_);
  // Channels the file does not feed read silence; outputs it does not take are discarded.
  std::vector<T> interleavedIn(block * channels_), interleavedOut(block * channels_);
  std::vector<std::vector<T>> in(inputs, std::vector<T>(block)), out(outputs, std::vector<T>(block));
  std::vector<T*> inPtrs, outPtrs;
  for (auto& c : in) inPtrs.push_back(c.data());
  for (auto& c : out) outPtrs.push_back(c.data());
  const std::uint64_t total =
      streams_.reader.frames() > 0 ? static_cast<std::uint64_t>(streams_.reader.frames()) : 0;

  std::uint64_t position = 0;
  for (;;) {
    if (control_.interrupted && control_.interrupted()) {
      result.interrupted = true;
      error = "interrupted";
      return false;
    }
    if (!applyDue(schedule, position, error)) return false;
    int frames = streams_.reader.read(interleavedIn.data(), schedule.sliceLength(position));
    if (frames == 0) break;
    streams_.inputMeter.add(interleavedIn.data(), frames);
    for (int f = 0; f < frames; ++f)
      for (int c = 0; c < channels_; ++c) in[c][f] = interleavedIn[f * channels_ + c];
    if (!port_.process(inPtrs.data(), outPtrs.data(), frames)) {
      error = "the plug-in refused to process a block of " + std::to_string(frames) + " frames";
      return false;
    }
    for (int f = 0; f < frames; ++f)
      for (int c = 0; c < channels_; ++c) interleavedOut[f * channels_ + c] = out[c][f];
    streams_.outputMeter.add(interleavedOut.data(), frames);
    if (!streams_.writer.write(interleavedOut.data(), frames, error)) return false;
    position += static_cast<std::uint64_t>(frames);
    result.frames = position;
    control_.progress.update(position, total, control_.clock());
  }
  control_.progress.finish();
  if (streams_.reader.failed()) {
    error =
        "cannot read the input after frame " + std::to_string(position) + ": " + streams_.reader.lastError();
    return false;
  }
  if (!applyDue(schedule, position, error)) return false;
  if (schedule.hasPending()) {
    error = "--at frame " + std::to_string(schedule.firstPendingFrame()) +
            " lies beyond the end of the input (" + std::to_string(position) + " frames)";
    return false;
  }
  return true;
}

}  // namespace brel::cmd
