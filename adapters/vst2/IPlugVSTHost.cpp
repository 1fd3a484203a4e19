// IPlugVST: the plug-in's requests to the host, each an audioMaster call.
#include "adapters/vst2/IPlugVST.h"

namespace {

constexpr VstInt32 kTransportFlags =
    kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid;  // 0x3E00

}  // namespace

VstIntPtr IPlugVST::HostCall(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  return mHostCallback ? mHostCallback(&mEffect, opcode, index, value, ptr, opt) : 0;
}

const VstTimeInfo* IPlugVST::HostTime(VstInt32 wantedFlags) {
  return reinterpret_cast<const VstTimeInfo*>(HostCall(audioMasterGetTime, 0, wantedFlags));
}

void IPlugVST::BeginParamEdit(int paramIndex) { HostCall(audioMasterBeginEdit, paramIndex); }

void IPlugVST::NotifyHostParamChange(int paramIndex, double normalized) {
  HostCall(audioMasterAutomate, paramIndex, 0, nullptr, static_cast<float>(normalized));
}

void IPlugVST::EndParamEdit(int paramIndex) { HostCall(audioMasterEndEdit, paramIndex); }

void IPlugVST::NotifyHostPresetChange() { HostCall(audioMasterUpdateDisplay); }

bool IPlugVST::IsOfflineRender() {
  return HostCall(audioMasterGetCurrentProcessLevel) == kVstProcessLevelOffline;
}

std::int32_t IPlugVST::GetHostSamplePosition() {
  const VstTimeInfo* time = HostTime(0);
  if (!time || !(time->samplePos >= 0.0)) return 0;
  const double position = time->samplePos + 0.5;
  // Beyond what 32 bits hold the position is not representable; say 0 rather than wrap.
  return position < 2147483647.0 ? static_cast<std::int32_t>(position) : 0;
}

double IPlugVST::GetHostTempo() {
  const VstTimeInfo* time = HostTime(kVstTempoValid);
  if (time && (time->flags & kVstTempoValid) && time->tempo >= 0.0) return time->tempo;
  return 0.0;
}

void IPlugVST::GetHostTimeSignature(int& numerator, int& denominator) {
  numerator = 0;
  denominator = 0;
  const VstTimeInfo* time = HostTime(kVstTimeSigValid);
  if (time && (time->flags & kVstTimeSigValid) && time->timeSigNumerator >= 0 &&
      time->timeSigDenominator >= 0) {
    numerator = time->timeSigNumerator;
    denominator = time->timeSigDenominator;
  }
}

void IPlugVST::GetHostTransport(TransportInfo& info) {
  const VstTimeInfo* time = HostTime(kTransportFlags);
  if (!time || !(time->flags & kTransportFlags)) return;
  info.samplePosition = time->samplePos;
  if ((time->flags & kVstPpqPosValid) && time->ppqPos >= 0.0) info.ppqPosition = time->ppqPos;
  if ((time->flags & kVstTempoValid) && time->tempo > 0.0) info.tempo = time->tempo;
  if ((time->flags & kVstBarsValid) && time->barStartPos >= 0.0) {
    info.lastBarPosition = time->barStartPos;
  }
  if ((time->flags & kVstCyclePosValid) && time->cycleStartPos >= 0.0 && time->cycleEndPos >= 0.0) {
    info.cycleStart = time->cycleStartPos;
    info.cycleEnd = time->cycleEndPos;
  }
  if ((time->flags & kVstTimeSigValid) && time->timeSigNumerator > 0 && time->timeSigDenominator > 0) {
    info.numerator = time->timeSigNumerator;
    info.denominator = time->timeSigDenominator;
  }
  info.playing = (time->flags & kVstTransportPlaying) != 0;
  info.looping = (time->flags & kVstTransportCycleActive) != 0;
}

HostId IPlugVST::GetHostId() {
  const HostId known = IPlugBase::GetHostId();
  if (known != HostId::NotAsked) return known;
  char product[256] = {};
  HostCall(audioMasterGetProductString, 0, 0, product);
  product[sizeof(product) - 1] = '\0';  // a host that fills the whole buffer
  std::int32_t hostVersion = 0;
  if (product[0] != '\0') {
    hostVersion = PackHostVersion(static_cast<std::int32_t>(HostCall(audioMasterGetVendorVersion)));
  }
  SetHostIdentity(IdentifyHost(product), hostVersion);
  return IPlugBase::GetHostId();
}

void IPlugVST::ResizeEditor(int width, int height) {
  if (!GetEditor()) return;
  UpdateEditorRect();
  OnEditorResized();
}

// The host sizes its window in the platform's pixels: the editor's window size at its scale.
void IPlugVST::UpdateEditorRect() {
  IEditor* editor = GetEditor();
  if (!editor) return;
  int width = 0, height = 0;
  editor->WindowSize(width, height);
  mEditorRect = ERect{0, 0, static_cast<VstInt16>(height), static_cast<VstInt16>(width)};
}

void IPlugVST::InitForHost() {
  if (mHostInitDone) return;
  mHostInitDone = true;
  const HostId id = GetHostId();
  // These hosts connect the channels above the first stereo pair differently.
  if (id == HostId::Forte || id == HostId::Audition || id == HostId::Orion || id == HostId::SawStudio) {
    for (int i = 2; i < NInChannels(); ++i) SetInputConnected(i, false);
    for (int i = 2; i < NOutChannels(); ++i) SetOutputConnected(i, true);
  }
  mEffect.numInputs = mInputArrangement.numChannels = NInChannels();
  mEffect.numOutputs = mOutputArrangement.numChannels = NOutChannels();
  OnHostKnown();
}

void IPlugVST::AttachEditor(IEditor* editor) {
  if (!editor) return;
  IPlugBase::AttachEditor(editor);
  // An editor that cannot open a window here stays the plug-in's own: the host shows its generic
  // controls instead.
  if (!editor->HasWindowHost()) return;
  mEffect.flags |= effFlagsHasEditor;
  mEditorRect =
      ERect{0, 0, static_cast<VstInt16>(editor->GetHeight()), static_cast<VstInt16>(editor->GetWidth())};
}

void IPlugVST::SetLatencySamples(int samples) {
  IPlugBase::SetLatencySamples(samples);
  mEffect.initialDelay = samples;
}

bool IPlugVST::HostProcessEvents(VstEvent* event) {
  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = event;
  return HostCall(audioMasterProcessEvents, 0, 0, &events) == 1;
}

bool IPlugVST::SendMidiMessage(const MidiMessage& message) {
  VstMidiEvent event{};
  event.type = kVstMidiType;
  event.byteSize = sizeof(VstMidiEvent);
  event.deltaFrames = message.offset;
  event.midiData[0] = static_cast<char>(message.status);
  event.midiData[1] = static_cast<char>(message.data1);
  event.midiData[2] = static_cast<char>(message.data2);
  return HostProcessEvents(reinterpret_cast<VstEvent*>(&event));
}

bool IPlugVST::SendSysExMessage(const SysExMessage& message) {
  VstMidiSysexEvent event{};
  event.type = kVstSysExType;
  event.byteSize = sizeof(VstMidiSysexEvent);
  event.deltaFrames = message.offset;
  event.dumpBytes = message.size;
  event.sysexDump = const_cast<char*>(reinterpret_cast<const char*>(message.data));
  return HostProcessEvents(reinterpret_cast<VstEvent*>(&event));
}
