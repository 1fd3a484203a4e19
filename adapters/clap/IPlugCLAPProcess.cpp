// IPlugCLAP: the audio ports and their configurations, the tail, and the blocks with their
// events, each applied at its frame.

#include <algorithm>
#include <climits>
#include <cstdio>

#include "adapters/clap/ClapAbi.h"
#include "core/AudioPath.h"

namespace {

constexpr char kInputName[] = "Main Input";
constexpr char kOutputName[] = "Output";
// Both ports carry id 0, each in its own direction: each is the other's in-place pair.
constexpr clap_id kMainPortId = 0;
constexpr std::uint32_t kPortFlags =
    CLAP_AUDIO_PORT_IS_MAIN | CLAP_AUDIO_PORT_SUPPORTS_64BITS | CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE;

const char* PortTypeOf(int channels) {
  if (channels == 1) return CLAP_PORT_MONO;
  if (channels == 2) return CLAP_PORT_STEREO;
  return nullptr;
}

void NameConfig(const ChannelIOConfig& io, char* name, int size) {
  const auto room = static_cast<std::size_t>(size);
  if (io.inputs == 1 && io.outputs == 1) {
    std::snprintf(name, room, "Mono");
  } else if (io.inputs == 2 && io.outputs == 2) {
    std::snprintf(name, room, "Stereo");
  } else {
    std::snprintf(name, room, "%d in, %d out", io.inputs, io.outputs);
  }
}

const clap_audio_buffer_t* FirstBuffer(const clap_audio_buffer_t* buffers, std::uint32_t count) {
  return buffers && count > 0 ? buffers : nullptr;
}

float** ChannelsOf(const clap_audio_buffer_t* buffer, float*) { return buffer ? buffer->data32 : nullptr; }
double** ChannelsOf(const clap_audio_buffer_t* buffer, double*) { return buffer ? buffer->data64 : nullptr; }

template <class Sample>
Sample** SliceOf(std::vector<float*>& floats, std::vector<double*>& doubles) {
  if constexpr (sizeof(Sample) == sizeof(float)) {
    return floats.data();
  } else {
    return doubles.data();
  }
}

}  // namespace

struct ClapProcessAbi {
  static std::uint32_t CLAP_ABI PortCount(const clap_plugin_t* plugin, bool isInput) noexcept {
    return Guarded(plugin, std::uint32_t{0}, [&](IPlugCLAP& plug) { return plug.PortCount(isInput); });
  }
  static bool CLAP_ABI PortGet(const clap_plugin_t* plugin, std::uint32_t index, bool isInput,
                               clap_audio_port_info_t* info) noexcept {
    if (!info) return false;
    return Guarded(plugin, false, [&](IPlugCLAP& plug) { return plug.PortInfo(index, isInput, *info); });
  }
  static std::uint32_t CLAP_ABI ConfigCount(const clap_plugin_t* plugin) noexcept {
    return Guarded(plugin, std::uint32_t{0}, [](IPlugCLAP& plug) { return plug.PortConfigCount(); });
  }
  static bool CLAP_ABI ConfigGet(const clap_plugin_t* plugin, std::uint32_t index,
                                 clap_audio_ports_config_t* config) noexcept {
    if (!config) return false;
    return Guarded(plugin, false, [&](IPlugCLAP& plug) { return plug.PortConfig(index, *config); });
  }
  static bool CLAP_ABI ConfigSelect(const clap_plugin_t* plugin, clap_id id) noexcept {
    return Guarded(plugin, false, [&](IPlugCLAP& plug) { return plug.SelectPortConfig(id); });
  }
  static std::uint32_t CLAP_ABI Tail(const clap_plugin_t* plugin) noexcept {
    return Guarded(plugin, std::uint32_t{0}, [](IPlugCLAP& plug) { return plug.TailFrames(); });
  }
};

const clap_plugin_audio_ports_t kClapAudioPorts = {ClapProcessAbi::PortCount, ClapProcessAbi::PortGet};
const clap_plugin_audio_ports_config_t kClapAudioPortsConfig = {
    ClapProcessAbi::ConfigCount, ClapProcessAbi::ConfigGet, ClapProcessAbi::ConfigSelect};
const clap_plugin_tail_t kClapTail = {ClapProcessAbi::Tail};

// ---------------------------------------------------------------------------------------------
// Ports: the selected configuration of the core's channel list.

std::uint32_t IPlugCLAP::PortCount(bool isInput) {
  ExpectThread(ClapThread::Main, "audio-ports.count");
  ScopedLock lock(*this);
  const ChannelIOConfig* io = GetChannelIOConfig(mPortConfig);
  if (!io) return 0;
  return (isInput ? io->inputs : io->outputs) > 0 ? 1 : 0;
}

bool IPlugCLAP::PortInfo(std::uint32_t index, bool isInput, clap_audio_port_info_t& info) {
  ExpectThread(ClapThread::Main, "audio-ports.get");
  if (index != 0 || PortCount(isInput) == 0) return false;
  ScopedLock lock(*this);
  const ChannelIOConfig& io = *GetChannelIOConfig(mPortConfig);
  const int channels = isInput ? io.inputs : io.outputs;
  info = clap_audio_port_info_t{};
  info.id = kMainPortId;
  std::snprintf(info.name, sizeof info.name, "%s", isInput ? kInputName : kOutputName);
  info.flags = kPortFlags;
  info.channel_count = static_cast<std::uint32_t>(channels);
  info.port_type = PortTypeOf(channels);
  info.in_place_pair = io.inputs > 0 && io.outputs > 0 ? kMainPortId : CLAP_INVALID_ID;
  return true;
}

std::uint32_t IPlugCLAP::PortConfigCount() const {
  ExpectThread(ClapThread::Main, "audio-ports-config.count");
  return static_cast<std::uint32_t>(NChannelIOConfigs());
}

bool IPlugCLAP::PortConfig(std::uint32_t index, clap_audio_ports_config_t& config) const {
  ExpectThread(ClapThread::Main, "audio-ports-config.get");
  const ChannelIOConfig* io =
      index < PortConfigCount() ? GetChannelIOConfig(static_cast<int>(index)) : nullptr;
  if (!io) return false;
  config = clap_audio_ports_config_t{};
  config.id = index;
  NameConfig(*io, config.name, sizeof config.name);
  config.input_port_count = io->inputs > 0 ? 1 : 0;
  config.output_port_count = io->outputs > 0 ? 1 : 0;
  config.has_main_input = io->inputs > 0;
  config.main_input_channel_count = static_cast<std::uint32_t>(std::max(io->inputs, 0));
  config.main_input_port_type = PortTypeOf(io->inputs);
  config.has_main_output = io->outputs > 0;
  config.main_output_channel_count = static_cast<std::uint32_t>(std::max(io->outputs, 0));
  config.main_output_port_type = PortTypeOf(io->outputs);
  return true;
}

// The ports change only while the plug-in is inactive.
bool IPlugCLAP::SelectPortConfig(clap_id id) {
  ExpectThread(ClapThread::Main, "audio-ports-config.select");
  ScopedLock lock(*this);
  if (mActive || id >= PortConfigCount()) return false;
  mPortConfig = static_cast<int>(id);
  return true;
}

std::uint32_t IPlugCLAP::TailFrames() {
  ScopedLock lock(*this);
  return static_cast<std::uint32_t>(std::max(0, GetTailSize()));
}

// ---------------------------------------------------------------------------------------------
// Blocks.

// Before activation or outside start/stop processing a block is refused untouched.
clap_process_status IPlugCLAP::Process(const clap_process_t& process) {
  ExpectThread(ClapThread::Audio, "process");
  ScopedLock lock(*this);
  const AudioPathScope audioPath;
  if (!mActive || !mProcessing) return CLAP_PROCESS_ERROR;
  SendEditorGestures(process.out_events);
  ConnectPorts(process);
  const int frames = static_cast<int>(std::min<std::uint32_t>(process.frames_count, INT_MAX));
  const clap_audio_buffer_t* out = FirstBuffer(process.audio_outputs, process.audio_outputs_count);
  if (out && out->data64) {
    RenderWithEvents<double>(process, frames);
  } else {
    RenderWithEvents<float>(process, frames);
  }
  // Every output is computed, never declared constant.
  for (std::uint32_t i = 0; process.audio_outputs && i < process.audio_outputs_count; ++i)
    process.audio_outputs[i].constant_mask = 0;
  return CLAP_PROCESS_CONTINUE;
}

// A host buffer of more channels than the configuration has feeds only those; fewer leave the
// rest of the plug-in's channels unconnected.
void IPlugCLAP::ConnectPorts(const clap_process_t& process) {
  const ChannelIOConfig* io = GetChannelIOConfig(mPortConfig);
  const clap_audio_buffer_t* in = FirstBuffer(process.audio_inputs, process.audio_inputs_count);
  const clap_audio_buffer_t* out = FirstBuffer(process.audio_outputs, process.audio_outputs_count);
  const auto connected = [](const clap_audio_buffer_t* buffer, int configured) {
    return buffer ? static_cast<int>(std::min<std::uint32_t>(buffer->channel_count, std::max(configured, 0)))
                  : 0;
  };
  SetInputConnections(io ? connected(in, io->inputs) : 0);
  SetOutputConnections(io ? connected(out, io->outputs) : 0);
}

// The block is rendered up to each event's frame, then the event applies. Events out of order
// apply where the block has got to, and times past its end at its end: neither stalls nor
// reaches beyond the buffers.
template <class Sample>
void IPlugCLAP::RenderWithEvents(const clap_process_t& process, int frames) {
  Sample** inputs = ChannelsOf(FirstBuffer(process.audio_inputs, process.audio_inputs_count),
                               static_cast<Sample*>(nullptr));
  Sample** outputs = ChannelsOf(FirstBuffer(process.audio_outputs, process.audio_outputs_count),
                                static_cast<Sample*>(nullptr));
  const clap_input_events_t* events = process.in_events;
  const std::uint32_t count = events && events->size && events->get ? events->size(events) : 0;
  int done = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const clap_event_header_t* event = events->get(events, i);
    if (!event) continue;
    const int at = static_cast<int>(std::clamp<std::int64_t>(event->time, done, frames));
    RenderSlice(inputs, outputs, done, at - done);
    done = at;
    ApplyInputEvent(*event);
  }
  RenderSlice(inputs, outputs, done, frames - done);
}

template <class Sample>
void IPlugCLAP::RenderSlice(Sample** inputs, Sample** outputs, int offset, int frames) {
  if (frames <= 0) return;
  Sample** in = SliceOf<Sample>(mFloatIn, mDoubleIn);
  Sample** out = SliceOf<Sample>(mFloatOut, mDoubleOut);
  // The core reads one host pointer per connected channel, in channel order.
  for (int c = 0; c < NInChannels(); ++c)
    in[c] = inputs && IsInputConnected(c) && inputs[c] ? inputs[c] + offset : nullptr;
  for (int c = 0; c < NOutChannels(); ++c)
    out[c] = outputs && IsOutputConnected(c) && outputs[c] ? outputs[c] + offset : nullptr;
  if constexpr (sizeof(Sample) == sizeof(float)) {
    ProcessFloatBlock(inputs ? in : nullptr, outputs ? out : nullptr, frames, false);
  } else {
    ProcessDoubleBlock(inputs ? in : nullptr, outputs ? out : nullptr, frames);
  }
}
