#include "tools/brelvane/RenderLoop.h"

#include <algorithm>
#include <vector>

namespace brel::cmd {

bool ApplySetting(PluginPort& port, const ParamSetting& setting, std::string& error) {
  if (setting.route == ParamSetting::Route::Normalized) {
    port.SetParameter(setting.index, setting.normalized);
    return true;
  }
  if (port.SetParameterText(setting.index, setting.text)) return true;
  error = "the plug-in rejected " + setting.shown;
  return false;
}

bool RenderLoop::Run(ChangeSchedule& schedule, bool doublePrecision, RenderResult& result,
                     std::string& error) {
  return doublePrecision ? RunAs<double>(schedule, result, error) : RunAs<float>(schedule, result, error);
}

bool RenderLoop::ApplyDue(ChangeSchedule& schedule, std::uint64_t position, std::string& error) {
  for (const ScheduledChange* change : schedule.TakeDue(position))
    if (!ApplySetting(mPort, change->setting, error)) return false;
  return true;
}

template <typename T>
bool RenderLoop::RunAs(ChangeSchedule& schedule, RenderResult& result, std::string& error) {
  const std::size_t block = static_cast<std::size_t>(mBlockSize);
  const int inputs = std::max(mPort.InputCount(), mChannels);
  const int outputs = std::max(mPort.OutputCount(), mChannels);
  // Channels the file does not feed read silence; outputs it does not take are discarded.
  std::vector<T> interleavedIn(block * mChannels), interleavedOut(block * mChannels);
  std::vector<std::vector<T>> in(inputs, std::vector<T>(block)), out(outputs, std::vector<T>(block));
  std::vector<T*> inPtrs, outPtrs;
  for (auto& c : in) inPtrs.push_back(c.data());
  for (auto& c : out) outPtrs.push_back(c.data());
  const std::uint64_t total =
      mStreams.reader.Frames() > 0 ? static_cast<std::uint64_t>(mStreams.reader.Frames()) : 0;

  std::uint64_t position = 0;
  for (;;) {
    if (mControl.interrupted && mControl.interrupted()) {
      result.interrupted = true;
      error = "interrupted";
      return false;
    }
    if (!ApplyDue(schedule, position, error)) return false;
    int frames = mStreams.reader.Read(interleavedIn.data(), schedule.SliceLength(position));
    if (frames == 0) break;
    mStreams.inputMeter.Add(interleavedIn.data(), frames);
    for (int f = 0; f < frames; ++f)
      for (int c = 0; c < mChannels; ++c) in[c][f] = interleavedIn[f * mChannels + c];
    if (!mPort.Process(inPtrs.data(), outPtrs.data(), frames)) {
      error = "the plug-in refused to process a block of " + std::to_string(frames) + " frames";
      return false;
    }
    for (int f = 0; f < frames; ++f)
      for (int c = 0; c < mChannels; ++c) interleavedOut[f * mChannels + c] = out[c][f];
    mStreams.outputMeter.Add(interleavedOut.data(), frames);
    if (!mStreams.writer.Write(interleavedOut.data(), frames, error)) return false;
    position += static_cast<std::uint64_t>(frames);
    result.frames = position;
    mControl.progress.Update(position, total, mControl.clock());
  }
  mControl.progress.Finish();
  if (mStreams.reader.Failed()) {
    error =
        "cannot read the input after frame " + std::to_string(position) + ": " + mStreams.reader.LastError();
    return false;
  }
  if (!ApplyDue(schedule, position, error)) return false;
  if (schedule.HasPending()) {
    error = "--at frame " + std::to_string(schedule.FirstPendingFrame()) +
            " lies beyond the end of the input (" + std::to_string(position) + " frames)";
    return false;
  }
  return true;
}

}  // namespace brel::cmd
