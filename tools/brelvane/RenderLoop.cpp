#include "tools/brelvane/RenderLoop.h"

#include <algorithm>
#include <vector>

namespace brel::cmd {

template <typename T>
class RenderLoop::Pass {
public:
  Pass(RenderLoop& loop, ChangeSchedule& schedule, RenderResult& result, std::string& error);
  bool Run(const RenderTiming& timing);

private:
  bool StreamInput();
  bool CheckInputEnd();
  template <typename Step>
  bool InBlocks(std::uint64_t frames, Step step);
  bool Process(int frames);
  bool ProcessSilence(int frames);
  void Deinterleave(int frames);
  bool Emit(int frames);

  RenderLoop& mLoop;
  ChangeSchedule& mSchedule;
  RenderResult& mResult;
  std::string& mError;
  const std::size_t mBlock;
  // Channels the file does not feed read silence; outputs it does not take are discarded.
  std::vector<T> mInterleavedIn, mInterleavedOut;
  std::vector<std::vector<T>> mIn, mOut;
  std::vector<T*> mInPtrs, mOutPtrs;
  std::uint64_t mToSkip = 0;  // output still to be cut off the front
  std::uint64_t mPosition = 0;
};

template <typename T>
RenderLoop::Pass<T>::Pass(RenderLoop& loop, ChangeSchedule& schedule, RenderResult& result,
                          std::string& error)
    : mLoop(loop),
      mSchedule(schedule),
      mResult(result),
      mError(error),
      mBlock(static_cast<std::size_t>(loop.mBlockSize)),
      mInterleavedIn(mBlock * loop.mChannels),
      mInterleavedOut(mBlock * loop.mChannels),
      mIn(std::max(loop.mPort.InputCount(), loop.mChannels), std::vector<T>(mBlock)),
      mOut(std::max(loop.mPort.OutputCount(), loop.mChannels), std::vector<T>(mBlock)) {
  for (auto& c : mIn) mInPtrs.push_back(c.data());
  for (auto& c : mOut) mOutPtrs.push_back(c.data());
}

template <typename T>
bool RenderLoop::Pass<T>::Run(const RenderTiming& timing) {
  if (!InBlocks(timing.prerollFrames, [this](int n) { return ProcessSilence(n); })) return false;
  // The delay is the one the input meets, so it is known once the changes due before it are made.
  if (!mLoop.ApplyDue(mSchedule, 0, mError)) return false;
  const std::uint64_t align =
      static_cast<std::uint64_t>(std::max(timing.alignFrames ? timing.alignFrames() : 0, 0));
  mToSkip = align;
  if (!StreamInput() || !CheckInputEnd()) return false;
  // The delayed end of the input, pushed out by silence; the output ends as long as the input.
  return InBlocks(mPosition > 0 ? align : 0, [this](int n) { return ProcessSilence(n) && Emit(n); });
}

template <typename T>
bool RenderLoop::Pass<T>::StreamInput() {
  const std::int64_t frames = mLoop.mStreams.reader.Frames();
  const std::uint64_t total = frames > 0 ? static_cast<std::uint64_t>(frames) : 0;
  for (;;) {
    if (mLoop.Interrupted(mResult, mError) || !mLoop.ApplyDue(mSchedule, mPosition, mError)) return false;
    const int n = mLoop.mStreams.reader.Read(mInterleavedIn.data(), mSchedule.SliceLength(mPosition));
    if (n == 0) break;
    mLoop.mStreams.inputMeter.Add(mInterleavedIn.data(), n);
    Deinterleave(n);
    if (!Process(n) || !Emit(n)) return false;
    mPosition += static_cast<std::uint64_t>(n);
    mResult.frames = mPosition;
    mLoop.mControl.progress.Update(mPosition, total, mLoop.mControl.clock());
  }
  mLoop.mControl.progress.Finish();
  return true;
}

// A read that failed ends the input early; changes still pending lie beyond its end.
template <typename T>
bool RenderLoop::Pass<T>::CheckInputEnd() {
  if (mLoop.mStreams.reader.Failed()) {
    mError = "cannot read the input after frame " + std::to_string(mPosition) + ": " +
             mLoop.mStreams.reader.LastError();
    return false;
  }
  if (!mLoop.ApplyDue(mSchedule, mPosition, mError)) return false;
  if (!mSchedule.HasPending()) return true;
  mError = "--at frame " + std::to_string(mSchedule.FirstPendingFrame()) +
           " lies beyond the end of the input (" + std::to_string(mPosition) + " frames)";
  return false;
}

// `frames` in steps of at most a block, each `step(n)`, stopping when interrupted.
template <typename T>
template <typename Step>
bool RenderLoop::Pass<T>::InBlocks(std::uint64_t frames, Step step) {
  for (std::uint64_t left = frames; left > 0;) {
    if (mLoop.Interrupted(mResult, mError)) return false;
    const int n = static_cast<int>(std::min<std::uint64_t>(mBlock, left));
    if (!step(n)) return false;
    left -= static_cast<std::uint64_t>(n);
  }
  return true;
}

template <typename T>
bool RenderLoop::Pass<T>::Process(int frames) {
  if (mLoop.mPort.Process(mInPtrs.data(), mOutPtrs.data(), frames)) return true;
  mError = "the plug-in refused to process a block of " + std::to_string(frames) + " frames";
  return false;
}

// Silence in; the output stays in the buffers for Emit, or is dropped.
template <typename T>
bool RenderLoop::Pass<T>::ProcessSilence(int frames) {
  for (auto& c : mIn) std::fill_n(c.begin(), frames, T(0));
  return Process(frames);
}

template <typename T>
void RenderLoop::Pass<T>::Deinterleave(int frames) {
  const int channels = mLoop.mChannels;
  for (int f = 0; f < frames; ++f)
    for (int c = 0; c < channels; ++c) mIn[c][f] = mInterleavedIn[f * channels + c];
}

// Writes the block just processed, less what is still to be cut off the front.
template <typename T>
bool RenderLoop::Pass<T>::Emit(int frames) {
  const int first = static_cast<int>(std::min<std::uint64_t>(mToSkip, static_cast<std::uint64_t>(frames)));
  mToSkip -= static_cast<std::uint64_t>(first);
  const int n = frames - first;
  const int channels = mLoop.mChannels;
  for (int f = 0; f < n; ++f)
    for (int c = 0; c < channels; ++c) mInterleavedOut[f * channels + c] = mOut[c][first + f];
  mLoop.mStreams.outputMeter.Add(mInterleavedOut.data(), n);
  return n == 0 || mLoop.mStreams.writer.Write(mInterleavedOut.data(), n, mError);
}

bool RenderLoop::Run(ChangeSchedule& schedule, bool doublePrecision, const RenderTiming& timing,
                     RenderResult& result, std::string& error) {
  return doublePrecision ? Pass<double>(*this, schedule, result, error).Run(timing)
                         : Pass<float>(*this, schedule, result, error).Run(timing);
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

}  // namespace brel::cmd
