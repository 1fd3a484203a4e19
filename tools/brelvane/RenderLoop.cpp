#include "tools/brelvane/RenderLoop.h"

#include <algorithm>
#include <vector>

namespace brel::cmd {

bool RenderLoop::Run(ChangeSchedule& schedule, bool doublePrecision, const RenderTiming& timing,
                     RenderResult& result, std::string& error) {
  return doublePrecision ? RunAs<double>(schedule, timing, result, error)
                         : RunAs<float>(schedule, timing, result, error);
}

bool RenderLoop::Interrupted(RenderResult& result, std::string& error) {
  if (!mControl.interrupted || !mControl.interrupted()) return false;
  result.interrupted = true;
  error = "interrupted";
  return true;
}

bool RenderLoop::ApplyDue(ChangeSchedule& schedule, std::uint64_t position, std::string& error) {
  for (const ScheduledChange* change : schedule.TakeDue(position))
    if (!ApplySetting(mPort, change->setting, error)) return false;
  return true;
}

template <typename T>
bool RenderLoop::RunAs(ChangeSchedule& schedule, const RenderTiming& timing, RenderResult& result,
                       std::string& error) {
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

  const auto process = [&](int frames) {
    if (mPort.Process(inPtrs.data(), outPtrs.data(), frames)) return true;
    error = "the plug-in refused to process a block of " + std::to_string(frames) + " frames";
    return false;
  };
  // Silence in, output dropped: `frames` at most one block.
  const auto processSilence = [&](int frames) {
    for (auto& c : in) std::fill_n(c.begin(), frames, T(0));
    return process(frames);
  };
  // Writes the block just processed, less what is still to be cut off the front.
  std::uint64_t toSkip = 0;
  const auto emit = [&](int frames) {
    const int first = static_cast<int>(std::min<std::uint64_t>(toSkip, static_cast<std::uint64_t>(frames)));
    toSkip -= static_cast<std::uint64_t>(first);
    const int n = frames - first;
    for (int f = 0; f < n; ++f)
      for (int c = 0; c < mChannels; ++c) interleavedOut[f * mChannels + c] = out[c][first + f];
    mStreams.outputMeter.Add(interleavedOut.data(), n);
    return n == 0 || mStreams.writer.Write(interleavedOut.data(), n, error);
  };

  for (std::uint64_t done = 0; done < timing.prerollFrames;) {
    if (Interrupted(result, error)) return false;
    const int n = static_cast<int>(std::min<std::uint64_t>(block, timing.prerollFrames - done));
    if (!processSilence(n)) return false;
    done += static_cast<std::uint64_t>(n);
  }

  // The delay is the one the input meets, so it is known once the changes due before it are made.
  if (!ApplyDue(schedule, 0, error)) return false;
  const std::uint64_t align =
      static_cast<std::uint64_t>(std::max(timing.alignFrames ? timing.alignFrames() : 0, 0));
  toSkip = align;
  std::uint64_t position = 0;
  for (;;) {
    if (Interrupted(result, error)) return false;
    if (!ApplyDue(schedule, position, error)) return false;
    int frames = mStreams.reader.Read(interleavedIn.data(), schedule.SliceLength(position));
    if (frames == 0) break;
    mStreams.inputMeter.Add(interleavedIn.data(), frames);
    for (int f = 0; f < frames; ++f)
      for (int c = 0; c < mChannels; ++c) in[c][f] = interleavedIn[f * mChannels + c];
    if (!process(frames) || !emit(frames)) return false;
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
  // The delayed end of the input, pushed out by silence; the output ends as long as the input.
  for (std::uint64_t left = position > 0 ? align : 0; left > 0;) {
    if (Interrupted(result, error)) return false;
    const int n = static_cast<int>(std::min<std::uint64_t>(block, left));
    if (!processSilence(n) || !emit(n)) return false;
    left -= static_cast<std::uint64_t>(n);
  }
  return true;
}

}  // namespace brel::cmd
