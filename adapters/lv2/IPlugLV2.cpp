// IPlugLV2: construction, the ports, the blocks, and our own requests.

#include "adapters/lv2/IPlugLV2.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/AudioPath.h"

namespace {

std::uint32_t BitsOf(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// A channel count the plug-in's channel list has; the widest otherwise.
int ChannelsFor(const IPlugLV2InstanceInfo& info, const IPlugBase& plug) {
  return plug.LegalIO(info.channels, info.channels) ? info.channels
                                                    : std::min(plug.NInChannels(), plug.NOutChannels());
}

}  // namespace

IPlugLV2::IPlugLV2(const IPlugLV2InstanceInfo& instanceInfo, int nParams, const char* channelIOStr,
                   int nPresets, const char* effectName, const char* productName, const char* makerName,
                   std::int32_t versionWord, std::int32_t uniqueId, std::int32_t makerId, bool stateChunks,
                   bool isInstrument, bool doesMidi)
    : IPlugBase(nParams, nPresets, channelIOStr, effectName, productName, makerName, versionWord, uniqueId,
                makerId, ApiId::Lv2, stateChunks, isInstrument, doesMidi),
      mParamPorts(static_cast<std::size_t>(nParams), nullptr),
      mApplied(static_cast<std::size_t>(nParams), 0) {
  mLayout.params = nParams;
  mLayout.channels = ChannelsFor(instanceInfo, *this);
  mAudioIn.assign(static_cast<std::size_t>(mLayout.channels), nullptr);
  mAudioOut.assign(static_cast<std::size_t>(mLayout.channels), nullptr);
  SetInputConnections(mLayout.channels);
  SetOutputConnections(mLayout.channels);
  // LV2 names no largest block unless asked through options; the core serves longer blocks in
  // slices of this, so any block a host runs is rendered whole.
  SetMaxBlockSize(kMaxSliceFrames);
  SetSampleRateFromHost(instanceInfo.sampleRate);
}

IPlugLV2::~IPlugLV2() = default;

// ---------------------------------------------------------------------------------------------
// Ports and blocks.

// The meters and the default values are there only once the plug-in class has built them,
// after this class's constructor.
void IPlugLV2::Prepare() {
  ScopedLock lock(*this);
  LoadPreset(0);
  mLayout.meters = NMeters();
  mMeterPorts.assign(static_cast<std::size_t>(mLayout.meters), nullptr);
  RememberAppliedValues();
}

void IPlugLV2::ConnectPort(std::uint32_t port, void* data) {
  ScopedLock lock(*this);
  if (mLayout.IsParam(port)) {
    mParamPorts[port] = static_cast<const float*>(data);
  } else if (mLayout.IsMeter(port)) {
    mMeterPorts[port - mLayout.FirstMeter()] = static_cast<float*>(data);
  } else if (port >= mLayout.FirstAudioIn() && port < mLayout.FirstAudioOut()) {
    mAudioIn[port - mLayout.FirstAudioIn()] = static_cast<float*>(data);
  } else if (port >= mLayout.FirstAudioOut() && port < mLayout.Count()) {
    mAudioOut[port - mLayout.FirstAudioOut()] = static_cast<float*>(data);
  }
}

void IPlugLV2::Activate() {
  ScopedLock lock(*this);
  if (mActive) return;
  SetActiveFromHost(true);
  mActive = true;
}

void IPlugLV2::Deactivate() {
  ScopedLock lock(*this);
  if (!mActive) return;
  mActive = false;
  SetActiveFromHost(false);
}

void IPlugLV2::Run(std::uint32_t frames) {
  ScopedLock lock(*this);
  const AudioPathScope audioPath;
  ApplyControlPorts();
  RenderAudio(static_cast<int>(std::min<std::uint32_t>(frames, INT_MAX)));
  WriteMeterPorts();
}

// A port that moved since the value last applied goes through the core (clamped, stepped, a
// value that is no number refused); a port the host left alone changes nothing.
void IPlugLV2::ApplyControlPorts() {
  for (int i = 0; i < mLayout.params; ++i) {
    const float* port = mParamPorts[static_cast<std::size_t>(i)];
    if (!port) continue;
    const std::uint32_t bits = BitsOf(*port);
    if (bits == mApplied[static_cast<std::size_t>(i)]) continue;
    mApplied[static_cast<std::size_t>(i)] = bits;
    SetParamValueFromHost(i, *port);
  }
}

// The audio in 32 bits, as the VST2 module's 32-bit path takes it; an unconnected input is
// silence, an unconnected output is left alone, and an input may share its buffer with an output.
void IPlugLV2::RenderAudio(int frames) {
  if (frames <= 0) return;
  ProcessFloatBlock(mAudioIn.data(), mAudioOut.data(), frames, false);
}

void IPlugLV2::WriteMeterPorts() {
  for (int i = 0; i < mLayout.meters; ++i) {
    float* port = mMeterPorts[static_cast<std::size_t>(i)];
    const MeterFeed* feed = GetMeter(i);
    if (port && feed) *port = static_cast<float>(feed->Level());
  }
}

void IPlugLV2::RememberAppliedValues() {
  for (int i = 0; i < mLayout.params; ++i)
    mApplied[static_cast<std::size_t>(i)] = BitsOf(static_cast<float>(GetParam(i)->GetValue()));
}

// ---------------------------------------------------------------------------------------------
// Our own requests.

bool IPlugLV2::FormatParamValue(std::uint32_t param, double value, char* text, char* label,
                                std::uint32_t size) {
  ScopedLock lock(*this);
  const IParamDef* def =
      param < static_cast<std::uint32_t>(NParams()) ? GetParam(static_cast<int>(param)) : nullptr;
  if (!def || !text || !label || size == 0) return false;
  const int room = static_cast<int>(std::min<std::uint32_t>(size, INT_MAX));
  def->FormatValue(value, false, text, room);
  // A value shown by a display text carries no unit.
  std::snprintf(label, size, "%s", def->DisplayTextFor(value) ? "" : def->GetLabel());
  return true;
}

bool IPlugLV2::ParseParamValue(std::uint32_t param, const char* text, double& value) {
  ScopedLock lock(*this);
  const IParamDef* def =
      param < static_cast<std::uint32_t>(NParams()) ? GetParam(static_cast<int>(param)) : nullptr;
  return def && text && def->ValueFromHostText(text, value);
}

double IPlugLV2::ParamValue(std::uint32_t param) {
  ScopedLock lock(*this);
  const IParamDef* def =
      param < static_cast<std::uint32_t>(NParams()) ? GetParam(static_cast<int>(param)) : nullptr;
  return def ? def->GetValue() : 0.0;
}

std::uint32_t IPlugLV2::SaveChunk(std::uint8_t* out, std::uint32_t capacity) {
  ScopedLock lock(*this);
  StateChunk chunk;
  if (!SaveProgramChunk(chunk) || chunk.GetSize() <= 0) return 0;
  const auto size = static_cast<std::uint32_t>(chunk.GetSize());
  if (!out) return size;
  if (capacity < size) return 0;
  std::memcpy(out, chunk.GetData(), size);
  return size;
}

// The ports keep what the host last wrote; the loaded values stand until the host writes
// others, so they are remembered as the ports would carry them.
bool IPlugLV2::LoadChunk(const std::uint8_t* data, std::uint32_t size) {
  if (!data || size > static_cast<std::uint32_t>(INT_MAX)) return false;
  ScopedLock lock(*this);
  StateChunk chunk;
  if (chunk.AppendBytes(data, static_cast<int>(size)) < 0) return false;
  const bool loaded = LoadStateFromHost(chunk, false) >= 0;
  RememberAppliedValues();
  return loaded;
}

bool IPlugLV2::ReadMeter(std::uint32_t meter, Lv2MeterReading& reading) {
  const MeterFeed* feed =
      meter < static_cast<std::uint32_t>(mLayout.meters) ? GetMeter(static_cast<int>(meter)) : nullptr;
  if (!feed) return false;
  reading.level = feed->Level();
  reading.lamp = feed->Lamp() ? 1 : 0;
  reading.mode = feed->Mode();
  return true;
}
