// IPlugVST3: bus arrangements, the processing setup and the audio blocks with their parameter
// queues.

#include <algorithm>
#include <cmath>
#include <cstring>

#include "adapters/vst3/IPlugVST3.h"
#include "adapters/vst3/Vst3Speakers.h"
#include "adapters/vst3/Vst3Text.h"
#include "core/AudioPath.h"

using namespace Steinberg;

namespace {

float** HostChannels(Vst::AudioBusBuffers& bus, float*) { return bus.channelBuffers32; }
double** HostChannels(Vst::AudioBusBuffers& bus, double*) { return bus.channelBuffers64; }

template <class Sample>
Sample** FirstBusChannels(Vst::AudioBusBuffers* buses, int32 count) {
  return buses && count > 0 ? HostChannels(buses[0], static_cast<Sample*>(nullptr)) : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Buses.

Vst::AudioBus* IPlugVST3::AudioBusAt(Vst::BusList& buses, int index) const {
  if (index < 0 || index >= static_cast<int>(buses.size())) return nullptr;
  return FCast<Vst::AudioBus>(buses.at(static_cast<std::size_t>(index)).get());
}

void IPlugVST3::ReplaceBus(Vst::BusList& buses, const char* name, int channels) {
  const Vst::AudioBus* bus = AudioBusAt(buses, 0);
  if (!bus || ChannelsOf(bus->getArrangement()) == channels) return;
  Vst::String128 wideName;
  WidenText(name, wideName);
  // Made before the old one goes, so that running out of memory leaves the list as it was; the
  // list then only shrinks and regrows within its capacity.
  IPtr<Vst::Bus> replacement(
      new Vst::AudioBus(wideName, Vst::kMain, Vst::BusInfo::kDefaultActive, ArrangementForChannels(channels)),
      false);
  buses.erase(buses.begin());
  buses.push_back(replacement);
}

tresult PLUGIN_API IPlugVST3::setBusArrangements(Vst::SpeakerArrangement* inputs, int32 numIns,
                                                 Vst::SpeakerArrangement* outputs, int32 numOuts) noexcept {
  ScopedLock lock(*this);
  // Until the next block connects them again from the host's buffers.
  SetInputConnections(0);
  SetOutputConnections(0);
  const int nInputs = inputs && numIns > 0 ? ChannelsOf(inputs[0]) : 0;
  const int nOutputs = outputs && numOuts > 0 ? ChannelsOf(outputs[0]) : 0;
  // The plug-in has one input bus: an arrangement of any other number of them is refused, and a
  // refusal leaves the buses the host sees as they were.
  if (numIns != 1 || !LegalIO(nInputs, nOutputs)) return kResultFalse;
  try {
    ReplaceBus(audioInputs, "Input", nInputs);
    ReplaceBus(audioOutputs, "Output", nOutputs);
  } catch (...) {
    return kResultFalse;  // out of memory
  }
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getBusArrangement(Vst::BusDirection dir, int32 index,
                                                Vst::SpeakerArrangement& arrangement) noexcept {
  // The SDK's own answer checks the index against the end of the list only.
  if (index < 0) return kInvalidArgument;
  return SingleComponentEffect::getBusArrangement(dir, index, arrangement);
}

// ---------------------------------------------------------------------------------------------
// Setup.

tresult PLUGIN_API IPlugVST3::canProcessSampleSize(int32 symbolicSampleSize) noexcept {
  return symbolicSampleSize == Vst::kSample32 || symbolicSampleSize == Vst::kSample64 ? kResultOk
                                                                                      : kResultFalse;
}

uint32 PLUGIN_API IPlugVST3::getLatencySamples() noexcept {
  return static_cast<uint32>(std::max(0, GetLatency()));
}

uint32 PLUGIN_API IPlugVST3::getTailSamples() noexcept {
  return static_cast<uint32>(std::max(0, GetTailSize()));
}

int32 PLUGIN_API IPlugVST3::getProcessedDelay() noexcept { return GetProcessedDelay(); }

tresult PLUGIN_API IPlugVST3::setupProcessing(Vst::ProcessSetup& setup) noexcept {
  // A setup is taken whole or not at all: a block of no frames refuses it before the rate could
  // be taken.
  if (canProcessSampleSize(setup.symbolicSampleSize) != kResultOk || setup.maxSamplesPerBlock < 1) {
    return kResultFalse;
  }
  ScopedLock lock(*this);
  // The bypass flag stays as the host or the restored state left it: hosts set up again after
  // loading a song and on every change of rate.
  if (!SetSampleRateFromHost(setup.sampleRate)) return kResultFalse;
  SetBlockSizeFromHost(setup.maxSamplesPerBlock);
  processSetup = setup;
  return kResultOk;
}

// ---------------------------------------------------------------------------------------------
// Blocks.

tresult PLUGIN_API IPlugVST3::process(Vst::ProcessData& data) noexcept {
  ScopedLock lock(*this);
  // Queues, presets and bypass included: the whole call is on the audio path.
  const AudioPathScope audioPath;
  if (data.processContext) mProcessContext = *data.processContext;
  ApplyParameterChanges(data.inputParameterChanges);
  // A block of no samples only brings parameter changes: hosts flush them that way.
  if (data.numSamples <= 0) return kResultOk;
  // Buffers of another sample size than the one set up cannot be read as the set-up one.
  if (data.symbolicSampleSize != processSetup.symbolicSampleSize) return kResultOk;
  ConnectInputs(data);
  ConnectOutputs(data);
  if (processSetup.symbolicSampleSize == Vst::kSample64) {
    Render<double>(data);
  } else {
    Render<float>(data);
  }
  return kResultOk;
}

void IPlugVST3::ApplyParameterChanges(Vst::IParameterChanges* changes) {
  if (!changes) return;
  for (int32 i = 0, n = changes->getParameterCount(); i < n; ++i) {
    Vst::IParamValueQueue* queue = changes->getParameterData(i);
    if (!queue) continue;
    // Automation is applied once per block: the last point is where the block ends up.
    const int32 points = queue->getPointCount();
    int32 offset = 0;
    ParamValue value = 0.0;
    if (points < 1 || queue->getPoint(points - 1, offset, value) != kResultOk) continue;
    const ParamID id = queue->getParameterId();
    if (id == kBypassParamId) {
      mBypassed.store(value > 0.5, std::memory_order_relaxed);
    } else if (id == kPresetParamId) {
      ApplyPresetValue(value);
    } else if (IsCoreParam(id)) {
      SetParamFromHost(static_cast<int>(id), value);
    }
  }
}

void IPlugVST3::ApplyPresetValue(ParamValue value) {
  // The preset being left is not saved: a host's program change only recalls.
  const double index = std::trunc(value * NPresets());
  if (index >= 0.0 && index < NPresets()) LoadPreset(static_cast<int>(index));
}

void IPlugVST3::ConnectInputs(const Vst::ProcessData& data) {
  // Without an input bus from the host every channel reads its own silent scratch.
  SetInputConnections(data.inputs && data.numInputs > 0 ? data.inputs[0].numChannels : 0);
}

void IPlugVST3::ConnectOutputs(const Vst::ProcessData& data) {
  // Only the plug-in's one output bus is fed, and only while the host has it active; the
  // buffers of an inactive bus stay as the host left them.
  const Vst::AudioBus* bus = AudioBusAt(audioOutputs, 0);
  const bool live = data.outputs && data.numOutputs > 0 && bus && bus->isActive();
  SetOutputConnections(live ? data.outputs[0].numChannels : 0);
}

template <class Sample>
void IPlugVST3::Render(Vst::ProcessData& data) {
  Sample** inputs = FirstBusChannels<Sample>(data.inputs, data.numInputs);
  Sample** outputs = FirstBusChannels<Sample>(data.outputs, data.numOutputs);
  if (mBypassed.load(std::memory_order_relaxed)) {
    PassThroughHost(inputs, outputs, data.numSamples);
  } else if constexpr (sizeof(Sample) == sizeof(float)) {
    ProcessFloatBlock(inputs, outputs, data.numSamples, false);
  } else {
    ProcessDoubleBlock(inputs, outputs, data.numSamples);
  }
}

// Bypassed, each output channel the host listens to carries the input channel of the same
// number, or silence where the host fed none: what the core's pass-through gives, taken
// straight from the host's buffers so that no block is too long for it.
template <class Sample>
void IPlugVST3::PassThroughHost(Sample** inputs, Sample** outputs, int nFrames) {
  if (!outputs) return;
  const std::size_t bytes = static_cast<std::size_t>(nFrames) * sizeof(Sample);
  for (int channel = 0; channel < NOutChannels(); ++channel) {
    Sample* out = IsOutputConnected(channel) ? outputs[channel] : nullptr;
    if (!out) continue;
    const Sample* in = inputs && IsInputConnected(channel) ? inputs[channel] : nullptr;
    if (!in) {
      std::memset(out, 0, bytes);
    } else if (in != out) {
      std::memmove(out, in, bytes);
    }
  }
}
