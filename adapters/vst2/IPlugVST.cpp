#include "adapters/vst2/IPlugVST.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/FixedText.h"
#include "core/Trace.h"

namespace {

constexpr VstIntPtr kVendorSpecificAnswer = 0xBEEF;
constexpr int kDefaultBlockSize = 1024;
constexpr int kParamStringSize = 32;  // parameter name, label and display: 31 characters
constexpr int kProgramNameSize = 24;  // what hosts reserve for a program name
constexpr int kEffectNameSize = 32;
constexpr int kVendorStringSize = 64;  // vendor and product strings
constexpr int kPinLabelSize = 64;
constexpr int kMidiKeyNameSize = 64;
constexpr VstInt32 kTransportFlags =
    kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid;  // 0x3E00

// Copies text into a host buffer of size bytes, always terminated.
void CopyText(void* destination, const char* text, int size) {
  CopyFixedText(static_cast<char*>(destination), size, text);
}

}  // namespace

IPlugVST::IPlugVST(const IPlugInstanceInfo& instanceInfo, int nParams, const char* channelIOStr, int nPresets,
                   const char* effectName, const char* productName, const char* makerName,
                   std::int32_t versionWord, std::int32_t uniqueId, std::int32_t makerId, bool stateChunks,
                   bool isInstrument, bool doesMidi)
    : IPlugBase(nParams, nPresets, channelIOStr, effectName, productName, makerName, versionWord, uniqueId,
                makerId, ApiId::Vst2, stateChunks, isInstrument, doesMidi),
      mHostCallback(instanceInfo.hostCallback) {
  mEffect.magic = kEffectMagic;
  mEffect.dispatcher = VSTDispatcher;
  mEffect.process = VSTProcess;
  mEffect.setParameter = VSTSetParameter;
  mEffect.getParameter = VSTGetParameter;
  mEffect.numPrograms = NPresets();
  mEffect.numParams = NParams();
  mEffect.numInputs = NInChannels();
  mEffect.numOutputs = NOutChannels();
  mEffect.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  if (LegalIO(1, -1)) mEffect.flags |= effFlagsCanMono;
  mEffect.initialDelay = GetLatency();
  mEffect.ioRatio = 1.0f;
  mEffect.object = this;
  mEffect.uniqueID = GetUniqueId();
  mEffect.version = DecimalVersion();
  mEffect.processReplacing = VSTProcessReplacing;
  mEffect.processDoubleReplacing = VSTProcessDoubleReplacing;

  FillSpeakerArrangement(mInputArrangement, NInChannels());
  FillSpeakerArrangement(mOutputArrangement, NOutChannels());
  SetInputConnections(NInChannels());
  SetOutputConnections(NOutChannels());
  SetMaxBlockSize(kDefaultBlockSize);
}

VstInt32 IPlugVST::DecimalVersion() const {
  return GetVersionMajor() * 10000 + GetVersionMinor() * 100 + GetVersionPatch();
}

void IPlugVST::FillSpeakerArrangement(VstSpeakerArrangement& arrangement, int channels) {
  arrangement = VstSpeakerArrangement{};
  arrangement.numChannels = channels;
  if (channels == 0)
    arrangement.type = kSpeakerArrEmpty;
  else if (channels == 1)
    arrangement.type = kSpeakerArrMono;
  else if (channels == 2)
    arrangement.type = kSpeakerArrStereo;
  else
    arrangement.type = kSpeakerArrUserDefined;
}

IParamDef* IPlugVST::ValidParam(VstInt32 index) const {
  return (index >= 0 && index < NParams()) ? GetParam(index) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Callbacks the host calls.

IPlugVST* IPlugVST::FromEffect(AEffect* effect) {
  return effect ? static_cast<IPlugVST*>(effect->object) : nullptr;
}

VstIntPtr IPlugVST::VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt) {
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return 0;
  if (opcode == effEditIdle || opcode == effIdle) return 0;
  if (opcode == effClose) {
    // The lock lives inside the object: let go of it before the object goes.
    plug->Lock();
    plug->Unlock();
    delete plug;
    return 0;
  }
  ScopedLock lock(*plug);
  return plug->Dispatch(opcode, index, value, ptr, opt);
}

void IPlugVST::VSTProcess(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return;
  ScopedLock lock(*plug);
  plug->ProcessFloatBlock(inputs, outputs, frames, true);
}

void IPlugVST::VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return;
  ScopedLock lock(*plug);
  plug->ProcessFloatBlock(inputs, outputs, frames, false);
}

void IPlugVST::VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                         VstInt32 frames) {
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return;
  ScopedLock lock(*plug);
  plug->ProcessDoubleBlock(inputs, outputs, frames);
}

void IPlugVST::VSTSetParameter(AEffect* effect, VstInt32 index, float value) {
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return;
  ScopedLock lock(*plug);
  IParamDef* param = plug->ValidParam(index);
  if (!param) return;
  // NaN or an infinity from the host is not a value: -inf would be stored as it is (nothing
  // clamps at the bottom), shown as "-inf" and saved with the state.
  if (!std::isfinite(value)) return;
  if (IEditor* editor = plug->GetEditor()) editor->ApplyParameterFromPlug(index, value, true);
  param->SetFromNormalized(value);
  plug->OnParamChanged(index);
}

float IPlugVST::VSTGetParameter(AEffect* effect, VstInt32 index) {
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return 0.0f;
  ScopedLock lock(*plug);
  IParamDef* param = plug->ValidParam(index);
  return param ? static_cast<float>(param->GetNormalizedValue()) : 0.0f;
}

// ---------------------------------------------------------------------------------------------
// The dispatcher, with the plug-in lock held.

VstIntPtr IPlugVST::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  switch (opcode) {
    case effOpen:
      InitForHost();
      NotifyAllParamsChanged();
      return 0;
    case effSetProgram:
    case effGetProgram:
    case effSetProgramName:
    case effGetProgramName:
    case effGetProgramNameIndexed: return DispatchPrograms(opcode, index, value, ptr);
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName: return DispatchParams(opcode, index, ptr);
    case effSetSampleRate: SetSampleRateFromHost(opt); return 0;
    case effSetBlockSize:
      // A block size below one frame, or one that does not fit an int, is not a size.
      if (value >= 1 && value <= 0x7FFFFFFF) {
        SetMaxBlockSize(static_cast<int>(value));
        OnReset();
      }
      return 0;
    case effMainsChanged:
      OnActiveChanged(value != 0);
      if (value == 0) OnReset();
      return 0;
    case effEditGetRect:
    case effEditOpen:
    case effEditClose: return DispatchEditor(opcode, ptr);
    case effIdentify: return VstFourCC('N', 'v', 'E', 'f');
    case effGetChunk: return GetChunk(index, ptr);
    case effSetChunk: return SetChunk(index, value, ptr);
    case effProcessEvents: return ProcessEvents(static_cast<const VstEvents*>(ptr));
    case effCanBeAutomated: return 1;
    case effString2Parameter: return String2Parameter(index, static_cast<const char*>(ptr));
    case effGetInputProperties: return PinProperties(index, static_cast<VstPinProperties*>(ptr), true);
    case effGetOutputProperties: return PinProperties(index, static_cast<VstPinProperties*>(ptr), false);
    case effGetPlugCategory: return IsInstrument() ? kPlugCategSynth : kPlugCategEffect;
    case effSetSpeakerArrangement:
      return SetSpeakerArrangement(reinterpret_cast<const VstSpeakerArrangement*>(value),
                                   static_cast<const VstSpeakerArrangement*>(ptr));
    case effGetEffectName:
    case effGetVendorString:
    case effGetProductString:
    case effGetVendorVersion:
    case effGetVstVersion: return DispatchIdentity(opcode, ptr);
    case effVendorSpecific: return VendorSpecific(index, value, ptr, opt);
    case effCanDo: return CanDo(static_cast<const char*>(ptr));
    case effGetTailSize: return GetTailSize();
    case effGetMidiKeyName: return MidiKeyName(static_cast<::MidiKeyName*>(ptr));
    case effGetSpeakerArrangement: return GetSpeakerArrangement(value, ptr);
    default: return 0;
  }
}

VstIntPtr IPlugVST::DispatchPrograms(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr) {
  switch (opcode) {
    case effSetProgram:
      // The preset being left keeps the values it had when the host moved away from it.
      if (!DoesStateChunks()) ModifyCurrentPreset();
      if (value >= 0 && value < NPresets()) LoadPreset(static_cast<int>(value));
      return 0;
    case effGetProgram: return GetCurrentPresetIndex();
    case effSetProgramName:
      if (ptr) {
        ModifyCurrentPreset(static_cast<const char*>(ptr));
        OnPresetsChanged();
      }
      return 0;
    case effGetProgramName:
      if (ptr) CopyText(ptr, PresetName(GetCurrentPresetIndex()), kProgramNameSize);
      return 0;
    case effGetProgramNameIndexed:
      if (!ptr) return 0;
      CopyText(ptr, PresetName(index), kProgramNameSize);
      return static_cast<const char*>(ptr)[0] != '\0' ? 1 : 0;
    default: return 0;
  }
}

VstIntPtr IPlugVST::DispatchParams(VstInt32 opcode, VstInt32 index, void* ptr) {
  IParamDef* param = ValidParam(index);
  if (!param || !ptr) return 0;
  auto* out = static_cast<char*>(ptr);
  switch (opcode) {
    case effGetParamLabel: CopyText(out, param->LabelForDisplay(), kParamStringSize); break;
    case effGetParamDisplay: param->FormatValue(param->GetValue(), false, out, kParamStringSize, true); break;
    case effGetParamName: CopyText(out, param->GetName(), kParamStringSize); break;
    default: break;
  }
  return 0;
}

VstIntPtr IPlugVST::DispatchEditor(VstInt32 opcode, void* ptr) {
  IEditor* editor = GetEditor();
  if (!editor) return 0;
  switch (opcode) {
    case effEditGetRect:
      if (!ptr) return 0;
      *static_cast<ERect**>(ptr) = &mEditorRect;
      return 1;
    case effEditOpen:
      if (!editor->OpenEditorWindow(ptr)) return 0;
      OnEditorOpened();
      return 1;
    case effEditClose:
      OnEditorClosed();
      editor->CloseEditorWindow();
      return 1;
    default: return 0;
  }
}

VstIntPtr IPlugVST::DispatchIdentity(VstInt32 opcode, void* ptr) {
  switch (opcode) {
    case effGetEffectName:
      if (!ptr) return 0;
      CopyText(ptr, GetEffectName(), kEffectNameSize);
      return 1;
    case effGetVendorString:
      if (!ptr) return 0;
      CopyText(ptr, GetMakerName(), kVendorStringSize);
      return 1;
    case effGetProductString:
      if (!ptr) return 0;
      CopyText(ptr, GetProductName(), kVendorStringSize);
      return 1;
    case effGetVendorVersion: return DecimalVersion();
    case effGetVstVersion: return kVstVersion;
    default: return 0;
  }
}

void IPlugVST::SetSampleRateFromHost(float rate) {
  // A rate that is not a positive finite number is no rate: the previous one stays.
  if (!std::isfinite(rate) || rate <= 0.0f) return;
  SetSampleRate(static_cast<double>(rate));
  OnReset();
}

VstIntPtr IPlugVST::GetChunk(VstInt32 index, void* ptr) {
  if (!ptr) return 0;
  StateChunk& chunk = index != 0 ? mProgramChunk : mBankChunk;
  const bool saved = index != 0 ? SaveProgramChunk(chunk) : SaveBankChunk(chunk);
  if (!saved || chunk.GetSize() <= 0) return 0;
  *static_cast<void**>(ptr) = chunk.GetData();
  return chunk.GetSize();
}

VstIntPtr IPlugVST::SetChunk(VstInt32 index, VstIntPtr size, void* ptr) {
  // A negative size, or one no chunk can hold, is refused before anything changes.
  if (!ptr || size < 0 || size > 0x7FFFFFFF) return 0;
  const bool isBank = index == 0;
  StateChunk& chunk = isBank ? mBankChunk : mProgramChunk;
  const int bytes = static_cast<int>(size);
  if (chunk.Resize(bytes) != bytes) return 0;
  if (bytes > 0) std::memcpy(chunk.GetData(), ptr, static_cast<std::size_t>(bytes));
  if (LoadChunk(chunk, isBank) < 0) return 0;
  RefreshEditorParams();
  return 1;
}

VstIntPtr IPlugVST::ProcessEvents(const VstEvents* events) {
  if (!events) return 0;
  for (VstInt32 i = 0; i < events->numEvents; ++i) {
    const VstEvent* event = events->events[i];
    if (!event) continue;
    if (event->type == kVstMidiType) {
      const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
      MidiMessage message;
      message.offset = midi->deltaFrames;
      message.status = static_cast<std::uint8_t>(midi->midiData[0]);
      message.data1 = static_cast<std::uint8_t>(midi->midiData[1]);
      message.data2 = static_cast<std::uint8_t>(midi->midiData[2]);
      OnMidiMessage(message);
    } else if (event->type == kVstSysExType) {
      const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
      SysExMessage message;
      message.offset = sysex->deltaFrames;
      message.size = sysex->dumpBytes;
      message.data = reinterpret_cast<const std::uint8_t*>(sysex->sysexDump);
      OnSysExMessage(message);
    }
  }
  return 1;
}

VstIntPtr IPlugVST::String2Parameter(VstInt32 index, const char* text) {
  IParamDef* param = ValidParam(index);
  if (!param) return 0;
  if (!text) return 1;  // the host asks whether text input is accepted at all
  double value = 0.0;
  if (!param->ValueFromText(text, value)) return 0;
  // "nan" parses as a number but is no value any parameter can hold.
  if (std::isnan(value)) return 0;
  if (IEditor* editor = GetEditor()) editor->ApplyParameterFromPlug(index, value, false);
  param->SetValue(value);
  OnParamChanged(index);
  return 1;
}

VstIntPtr IPlugVST::PinProperties(VstInt32 index, VstPinProperties* pin, bool isInput) {
  const int count = isInput ? NInChannels() : NOutChannels();
  if (!pin || index < 0 || index >= count) return 0;
  pin->flags = kVstPinIsActive;
  if (index % 2 == 0 && index + 1 < count) pin->flags |= kVstPinIsStereo;
  const char* label = isInput ? GetInputLabel(index) : GetOutputLabel(index);
  if (label && label[0] != '\0') {
    CopyText(pin->label, label, kPinLabelSize);
  } else {
    std::snprintf(pin->label, kPinLabelSize, isInput ? "Input %d" : "Output %d", index + 1);
  }
  return 1;
}

VstIntPtr IPlugVST::SetSpeakerArrangement(const VstSpeakerArrangement* input,
                                          const VstSpeakerArrangement* output) {
  if (input) SetInputConnections(input->numChannels);
  if (output) SetOutputConnections(output->numChannels);
  return 1;
}

VstIntPtr IPlugVST::GetSpeakerArrangement(VstIntPtr inputOut, void* outputOut) {
  if (inputOut) *reinterpret_cast<VstSpeakerArrangement**>(inputOut) = &mInputArrangement;
  if (outputOut) *static_cast<VstSpeakerArrangement**>(outputOut) = &mOutputArrangement;
  return 1;
}

VstIntPtr IPlugVST::VendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  // Index 7: display text of a parameter for a normalized value, without changing it.
  if (index == 7 && ptr) {
    if (IParamDef* param = ValidParam(static_cast<VstInt32>(value));
        param && value == static_cast<VstInt32>(value)) {
      param->FormatValue(opt, true, static_cast<char*>(ptr), kParamStringSize, true);
    }
    return kVendorSpecificAnswer;
  }
  // Index 8: whether a parameter is stepped rather than continuous.
  if (index == 8 && value >= 0 && value < NParams()) {
    return GetParam(static_cast<int>(value))->GetType() != ParamType::Double ? kVendorSpecificAnswer : 0;
  }
  return 0;
}

VstIntPtr IPlugVST::CanDo(const char* query) {
  if (!query) return 0;
  BREL_TRACE_POINT("IPlugVST::VSTDispatcher", "VSTCanDo(%s)", query);
  if (std::strcmp(query, "receiveVstTimeInfo") == 0) return 1;
  if (DoesMidi() &&
      (std::strcmp(query, "sendVstEvents") == 0 || std::strcmp(query, "sendVstMidiEvent") == 0 ||
       std::strcmp(query, "receiveVstEvents") == 0 || std::strcmp(query, "receiveVstMidiEvent") == 0)) {
    return 1;
  }
  return 0;
}

VstIntPtr IPlugVST::MidiKeyName(::MidiKeyName* key) {
  if (!key) return 0;
  key->keyName[0] = '\0';
  char name[kMidiKeyNameSize] = {};
  if (!GetMidiNoteName(key->thisKeyNumber, name)) return 0;
  CopyText(key->keyName, name, kMidiKeyNameSize);
  return 1;
}

// ---------------------------------------------------------------------------------------------
// Requests to the host.

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
  IEditor* editor = GetEditor();
  if (!editor) return;
  mEditorRect =
      ERect{0, 0, static_cast<VstInt16>(editor->GetHeight()), static_cast<VstInt16>(editor->GetWidth())};
  OnEditorResized();
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
