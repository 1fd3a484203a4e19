// IPlugBase: channel connections, binding host buffers to the channels' sample pointers, and
// scratch buffers sized by the maximum block size.

#include <algorithm>
#include <climits>
#include <cstring>

#include "core/AudioPath.h"
#include "core/IPlugBase.h"

namespace {

template <class Channel>
void ZeroScratch(Channel& channel) {
  if (channel.Scratch())
    std::memset(channel.Scratch(), 0, static_cast<std::size_t>(channel.scratch.GetSize()));
}

template <class Channel>
int ResizeScratch(Channel& channel, int frames) {
  double* old = channel.Scratch();
  channel.scratch.Resize(frames * static_cast<int>(sizeof(double)), true);
  ZeroScratch(channel);
  // A slot left on the old block must follow it, or the plug-in would read freed memory.
  if (!channel.connected || *channel.slot == old) *channel.slot = channel.Scratch();
  return channel.ScratchFrames();
}

int Clamp(int frames, int limit) { return std::max(0, std::min(frames, limit)); }

}  // namespace

void IPlugBase::SetMaxBlockSize(int frames) {
  if (frames < 0) return;
  // Longer host blocks are served in slices of this size, so a host announcing a huge block
  // costs no more memory than this.
  frames = std::min(frames, kMaxSliceFrames);
  if (frames == mMaxBlockSize) return;
  int achieved = frames;
  for (int i = 0; i < NInChannels(); ++i) achieved = std::min(achieved, ResizeScratch(*InChannel(i), frames));
  for (int i = 0; i < NOutChannels(); ++i)
    achieved = std::min(achieved, ResizeScratch(*OutChannel(i), frames));
  // Should memory run short, the announced size is what every scratch buffer really holds.
  mMaxBlockSize = achieved;
}

bool IPlugBase::IsInputConnected(int channel) const {
  const InputChannel* in = InChannel(channel);
  return in && in->connected;
}

bool IPlugBase::IsOutputConnected(int channel) const {
  const OutputChannel* out = OutChannel(channel);
  return out && out->connected;
}

const char* IPlugBase::GetInputLabel(int channel) const {
  const InputChannel* in = InChannel(channel);
  return in ? in->label.Get() : "";
}

const char* IPlugBase::GetOutputLabel(int channel) const {
  const OutputChannel* out = OutChannel(channel);
  return out ? out->label.Get() : "";
}

void IPlugBase::SetInputLabel(int channel, const char* label) {
  if (InputChannel* in = InChannel(channel)) in->label.Set(label);
}

void IPlugBase::SetOutputLabel(int channel, const char* label) {
  if (OutputChannel* out = OutChannel(channel)) out->label.Set(label);
}

void IPlugBase::SetInputConnected(int channel, bool connected) {
  InputChannel* in = InChannel(channel);
  if (!in) return;
  const bool wasConnected = in->connected;
  in->connected = connected;
  if (connected) return;
  // Unfed, the plug-in reads the channel's own scratch. A channel that was fed until now still
  // holds the last block converted into it; replaying that block on every call would be heard
  // (a stereo-linked process reacts to it), so a newly unfed channel reads silence.
  if (wasConnected && in->Scratch()) {
    std::fill(in->Scratch(), in->Scratch() + in->ScratchFrames(), 0.0);
  }
  *in->slot = in->Scratch();
}

void IPlugBase::SetOutputConnected(int channel, bool connected) {
  OutputChannel* out = OutChannel(channel);
  if (!out) return;
  out->connected = connected;
  if (!connected) {
    // What the plug-in writes to an output nobody listens to lands in the scratch.
    *out->slot = out->Scratch();
    out->hostFloatOutput = nullptr;
  }
}

void IPlugBase::SetInputConnections(int count) {
  for (int i = 0; i < NInChannels(); ++i) SetInputConnected(i, i < count);
}

void IPlugBase::SetOutputConnections(int count) {
  for (int i = 0; i < NOutChannels(); ++i) SetOutputConnected(i, i < count);
}

void IPlugBase::BindOutputToScratch(int channel, float* hostOutput) {
  OutputChannel* out = OutChannel(channel);
  if (!out) return;
  *out->slot = out->Scratch();
  out->hostFloatOutput = hostOutput;
}

void IPlugBase::BindOutputDirect(int channel, double* hostOutput) {
  OutputChannel* out = OutChannel(channel);
  if (!out) return;
  *out->slot = hostOutput ? hostOutput : out->Scratch();
  out->hostFloatOutput = nullptr;
}

void IPlugBase::BindInputsFromFloat(float** hostInputs, int nFrames) {
  BindInputsFromFloatAt(hostInputs, 0, nFrames);
}
void IPlugBase::BindInputsDirect(double** hostInputs) { BindInputsDirectAt(hostInputs, 0); }
void IPlugBase::BindOutputsToScratch(float** hostOutputs) { BindOutputsToScratchAt(hostOutputs, 0); }
void IPlugBase::BindOutputsDirect(double** hostOutputs) { BindOutputsDirectAt(hostOutputs, 0); }

// Host pointers are handed out to the connected channels only, in channel order. A missing host
// buffer reads as silence (inputs) or is not delivered (outputs).
void IPlugBase::BindInputsFromFloatAt(float** hostInputs, int offset, int nFrames) {
  int next = 0;
  for (int i = 0; i < NInChannels(); ++i) {
    InputChannel& in = *InChannel(i);
    if (!in.connected) continue;
    const float* source = hostInputs ? hostInputs[next] : nullptr;
    ++next;
    double* scratch = in.Scratch();
    const int n = Clamp(nFrames, in.ScratchFrames());
    if (source) {
      source += offset;
      for (int j = 0; j < n; ++j) scratch[j] = source[j];
    } else if (n > 0) {
      std::memset(scratch, 0, static_cast<std::size_t>(n) * sizeof(double));
    }
    *in.slot = scratch;
  }
}

void IPlugBase::BindInputsDirectAt(double** hostInputs, int offset) {
  int next = 0;
  for (int i = 0; i < NInChannels(); ++i) {
    InputChannel& in = *InChannel(i);
    if (!in.connected) continue;
    double* source = hostInputs ? hostInputs[next] : nullptr;
    ++next;
    if (source) {
      *in.slot = source + offset;
    } else {
      ZeroScratch(in);
      *in.slot = in.Scratch();
    }
  }
}

void IPlugBase::BindOutputsToScratchAt(float** hostOutputs, int offset) {
  int next = 0;
  for (int i = 0; i < NOutChannels(); ++i) {
    OutputChannel& out = *OutChannel(i);
    if (!out.connected) continue;
    float* destination = hostOutputs ? hostOutputs[next] : nullptr;
    ++next;
    *out.slot = out.Scratch();
    out.hostFloatOutput = destination ? destination + offset : nullptr;
  }
}

void IPlugBase::BindOutputsDirectAt(double** hostOutputs, int offset) {
  int next = 0;
  for (int i = 0; i < NOutChannels(); ++i) {
    OutputChannel& out = *OutChannel(i);
    if (!out.connected) continue;
    double* destination = hostOutputs ? hostOutputs[next] : nullptr;
    ++next;
    *out.slot = destination ? destination + offset : out.Scratch();
    out.hostFloatOutput = nullptr;
  }
}

void IPlugBase::WriteOutputsToFloat(int nFrames, bool accumulate) {
  for (int i = 0; i < NOutChannels(); ++i) {
    OutputChannel& out = *OutChannel(i);
    if (!out.connected || !out.hostFloatOutput) continue;
    const double* scratch = out.Scratch();
    float* destination = out.hostFloatOutput;
    const int n = Clamp(nFrames, out.ScratchFrames());
    if (accumulate) {
      for (int j = 0; j < n; ++j) destination[j] += static_cast<float>(scratch[j]);
    } else {
      for (int j = 0; j < n; ++j) destination[j] = static_cast<float>(scratch[j]);
    }
  }
}

void IPlugBase::ProcessFloatBlock(float** hostInputs, float** hostOutputs, int nFrames, bool accumulate) {
  const AudioPathScope audioPath;
  if (nFrames <= 0) return;
  if (mMaxBlockSize <= 0) {
    // No scratch to work in: the block passes as silence rather than as stale or wild memory.
    if (!accumulate) ZeroConnectedHostOutputs(hostOutputs, nFrames);
    return;
  }
  for (int offset = 0, n = 0; offset < nFrames; offset += n) {
    n = std::min(mMaxBlockSize, nFrames - offset);
    BindInputsFromFloatAt(hostInputs, offset, n);
    BindOutputsToScratchAt(hostOutputs, offset);
    ProcessDouble(GetInputPointers(), GetOutputPointers(), n);
    WriteOutputsToFloat(n, accumulate);
  }
}

void IPlugBase::ProcessDoubleBlock(double** hostInputs, double** hostOutputs, int nFrames) {
  const AudioPathScope audioPath;
  if (nFrames <= 0) return;
  if (mMaxBlockSize <= 0) {
    ZeroConnectedHostOutputs(hostOutputs, nFrames);
    return;
  }
  for (int offset = 0, n = 0; offset < nFrames; offset += n) {
    n = std::min(mMaxBlockSize, nFrames - offset);
    BindInputsDirectAt(hostInputs, offset);
    BindOutputsDirectAt(hostOutputs, offset);
    ProcessDouble(GetInputPointers(), GetOutputPointers(), n);
  }
}

// The host passes one buffer per connected output channel, in channel order.
template <class Sample>
void IPlugBase::ZeroConnectedHostOutputs(Sample** hostOutputs, int nFrames) {
  for (int i = 0, next = 0; i < NOutChannels() && hostOutputs; ++i) {
    if (!OutChannel(i)->connected) continue;
    if (Sample* out = hostOutputs[next++])
      std::memset(out, 0, static_cast<std::size_t>(nFrames) * sizeof(Sample));
  }
}
