// A tiny VST2 plug-in for the host tests: a stereo gain with three parameters, two programs and
// chunks, which calls its host on command and reports what it received.
// Built three times: with both entry points, with only the legacy "main", and with none.
#include "adapters/vst2/VstExport.h"
#include "adapters/vst2/VstInterface.h"
#include "tests/hosts/vst2/ProbeProtocol.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace {

std::atomic<int> gLiveInstances{0};
std::atomic<int> gClosedWhileResumed{0};

// The same layout as VstEvents, with room for three pointers.
struct ThreeEvents {
  VstInt32 numEvents;
  VstIntPtr reserved;
  VstEvent* events[3];
};

class ProbeEffect {
public:
  explicit ProbeEffect(audioMasterCallback host) : mHost(host) {
    std::memset(&mEffect, 0, sizeof(mEffect));
    mEffect.magic = kEffectMagic;
    mEffect.dispatcher = &ProbeEffect::Dispatcher;
    mEffect.process = &ProbeEffect::ProcessAccumulating;
    mEffect.processReplacing = &ProbeEffect::ProcessReplacing;
    mEffect.processDoubleReplacing = &ProbeEffect::ProcessDoubleReplacing;
    mEffect.setParameter = &ProbeEffect::SetParameter;
    mEffect.getParameter = &ProbeEffect::GetParameter;
    mEffect.numPrograms = probe::kNumPrograms;
    mEffect.numParams = probe::kNumParams;
    mEffect.numInputs = 2;
    mEffect.numOutputs = 2;
    mEffect.flags =
        effFlagsHasEditor | effFlagsCanReplacing | effFlagsCanDoubleReplacing | effFlagsProgramChunks;
    mEffect.ioRatio = 1.0f;
    mEffect.object = this;
    mEffect.uniqueID = probe::kUniqueId;
    mEffect.version = probe::kVersion;
    for (int i = 0; i < 2; ++i) {
      std::memset(&mArrangement[i], 0, sizeof(mArrangement[i]));
      mArrangement[i].type = kSpeakerArrStereo;
      mArrangement[i].numChannels = 2;
    }
    mEditorRect = ERect{0, 0, probe::kEditorHeight, probe::kEditorWidth};
    ++gLiveInstances;
  }

  ~ProbeEffect() { --gLiveInstances; }

  AEffect* Effect() { return &mEffect; }
  VstIntPtr CallHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return mHost(&mEffect, opcode, index, value, ptr, opt);
  }

  VstIntPtr entryVersion = 0;
  VstIntPtr entryVendorVersion = 0;

private:
  static ProbeEffect* From(AEffect* effect) {
    return effect != nullptr ? static_cast<ProbeEffect*>(effect->object) : nullptr;
  }

  static VstIntPtr Dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt) {
    ProbeEffect* self = From(effect);
    if (self == nullptr) return 0;
    if (opcode == effClose) {
      if (self->mResumed) ++gClosedWhileResumed;
      delete self;
      return 0;
    }
    return self->Handle(opcode, index, value, ptr, opt);
  }

  VstIntPtr Handle(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    switch (opcode) {
      case effOpen: mOpened = true; return 0;
      case effSetProgram:
        if (value >= 0 && value < probe::kNumPrograms) mProgram = static_cast<int>(value);
        return 0;
      case effGetProgram: return mProgram;
      case effSetProgramName:
        if (ptr != nullptr)
          std::snprintf(mProgramNames[mProgram], kVstMaxProgNameLen, "%s", static_cast<char*>(ptr));
        return 0;
      case effGetProgramName: return CopyText(mProgramNames[mProgram], ptr);
      case effGetProgramNameIndexed:
        if (index < 0 || index >= probe::kNumPrograms) return 0;
        return CopyText(mProgramNames[index], ptr);
      case effGetParamName: return ValidParam(index) ? CopyText(ParamName(index), ptr) : 0;
      case effGetParamLabel: return ValidParam(index) ? CopyText(index == 0 ? "dB" : "%", ptr) : 0;
      case effGetParamDisplay: return ParamDisplay(index, ptr);
      case effSetSampleRate: mSampleRate = opt; return 0;
      case effSetBlockSize: mBlockSize = static_cast<int>(value); return 0;
      case effMainsChanged: mResumed = value != 0; return 0;
      case effEditGetRect:
        if (ptr == nullptr) return 0;
        *static_cast<ERect**>(ptr) = &mEditorRect;
        return 1;
      case effGetChunk: return GetChunk(index, ptr);
      case effSetChunk: return SetChunk(index, value, ptr);
      case effProcessEvents: return ReceiveEvents(static_cast<VstEvents*>(ptr));
      case effCanBeAutomated: return ValidParam(index) ? 1 : 0;
      case effString2Parameter: return String2Parameter(index, static_cast<const char*>(ptr));
      case effGetInputProperties: return PinProperties(index, mEffect.numInputs, "Probe In", ptr);
      case effGetOutputProperties: return PinProperties(index, mEffect.numOutputs, "Probe Out", ptr);
      case effGetPlugCategory: return kPlugCategEffect;
      case effSetSpeakerArrangement:
        return SetArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                              static_cast<VstSpeakerArrangement*>(ptr));
      case effGetEffectName: return CopyText("Probe Effect", ptr);
      case effGetVendorString: return CopyText("Brelvane Tests", ptr);
      case effGetProductString: return CopyText("Probe", ptr);
      case effGetVendorVersion: return probe::kVendorVersion;
      case effVendorSpecific: return Command(index, value, ptr, opt);
      case effCanDo:
        if (ptr == nullptr) return 0;
        if (std::strcmp(static_cast<char*>(ptr), "probeYes") == 0) return 1;
        return std::strcmp(static_cast<char*>(ptr), "probeNo") == 0 ? -1 : 0;
      case effGetTailSize: return probe::kTailSize;
      case effGetVstVersion: return kVstVersion;
      case effGetSpeakerArrangement:
        if (value != 0) *reinterpret_cast<VstSpeakerArrangement**>(value) = &mArrangement[0];
        if (ptr != nullptr) *static_cast<VstSpeakerArrangement**>(ptr) = &mArrangement[1];
        return 1;
      default: return 0;
    }
  }

  static bool ValidParam(VstInt32 index) { return index >= 0 && index < probe::kNumParams; }

  static const char* ParamName(VstInt32 index) {
    static const char* const names[probe::kNumParams] = {"Gain", "Pan", probe::kLongParamName};
    return names[index];
  }

  static VstIntPtr CopyText(const char* text, void* ptr) {
    if (ptr == nullptr) return 0;
    std::strcpy(static_cast<char*>(ptr), text);
    return 1;
  }

  VstIntPtr ParamDisplay(VstInt32 index, void* ptr) {
    if (!ValidParam(index) || ptr == nullptr) return 0;
    std::snprintf(static_cast<char*>(ptr), kVstMaxParamStrLen, "%.3f", mParams[index]);
    return 1;
  }

  VstIntPtr String2Parameter(VstInt32 index, const char* text) {
    if (!ValidParam(index)) return 0;
    if (text == nullptr) return 1;
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (end == text || *end != '\0') return 0;
    mParams[index] = v < 0.0 ? 0.0f : v > 1.0 ? 1.0f : static_cast<float>(v);
    return 1;
  }

  VstIntPtr GetChunk(VstInt32 index, void* ptr) {
    if (ptr == nullptr) return 0;
    std::vector<unsigned char>& chunk = index != 0 ? mProgramChunk : mBankChunk;
    if (chunk.empty() && index != 0) {
      const char* text = probe::kDefaultProgramChunk;
      chunk.assign(text, text + std::strlen(text));
    } else if (chunk.empty()) {
      for (int i = 0; i < probe::kDefaultBankChunkSize; ++i)
        chunk.push_back(static_cast<unsigned char>((i * 7) & 0xFF));
    }
    *static_cast<void**>(ptr) = chunk.data();
    return static_cast<VstIntPtr>(chunk.size());
  }

  VstIntPtr SetChunk(VstInt32 index, VstIntPtr size, void* ptr) {
    if (ptr == nullptr || size <= 0) return 0;
    const unsigned char* bytes = static_cast<const unsigned char*>(ptr);
    if (bytes[0] == probe::kRejectedChunkByte) return 0;
    (index != 0 ? mProgramChunk : mBankChunk).assign(bytes, bytes + size);
    return 1;
  }

  VstIntPtr ReceiveEvents(VstEvents* events) {
    if (events == nullptr) return 0;
    for (VstInt32 i = 0; i < events->numEvents; ++i) {
      const VstEvent* event = events->events[i];
      if (event == nullptr) continue;
      const int status =
          event->type == kVstMidiType
              ? static_cast<unsigned char>(reinterpret_cast<const VstMidiEvent*>(event)->midiData[0])
              : -1;
      mReceivedStatus.push_back(status);
    }
    return 1;
  }

  static VstIntPtr PinProperties(VstInt32 index, VstInt32 count, const char* prefix, void* ptr) {
    if (ptr == nullptr || index < 0 || index >= count) return 0;
    VstPinProperties* pin = static_cast<VstPinProperties*>(ptr);
    std::snprintf(pin->label, sizeof(pin->label), "%s %d", prefix, index + 1);
    pin->flags = kVstPinIsActive | (index % 2 == 0 && index + 1 < count ? kVstPinIsStereo : 0);
    pin->arrangementType = count == 1 ? kSpeakerArrMono : kSpeakerArrStereo;
    return 1;
  }

  VstIntPtr SetArrangement(const VstSpeakerArrangement* in, const VstSpeakerArrangement* out) {
    const auto valid = [](const VstSpeakerArrangement* a) {
      return a == nullptr || (a->numChannels >= 1 && a->numChannels <= 2);
    };
    if (!valid(in) || !valid(out)) return 0;
    if (in != nullptr) mEffect.numInputs = in->numChannels;
    if (out != nullptr) mEffect.numOutputs = out->numChannels;
    return 1;
  }

  VstIntPtr Command(VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    switch (index) {
      case probe::kEditGesture: {
        const VstInt32 param = static_cast<VstInt32>(value);
        CallHost(audioMasterBeginEdit, param);
        CallHost(audioMasterAutomate, param, 0, nullptr, opt);
        CallHost(audioMasterEndEdit, param);
        return 1;
      }
      case probe::kUpdateDisplay: return CallHost(audioMasterUpdateDisplay);
      case probe::kReadTime: {
        const VstIntPtr answer = CallHost(audioMasterGetTime, 0, value);
        if (answer == 0) return 0;
        if (ptr != nullptr)
          std::memcpy(ptr, reinterpret_cast<const VstTimeInfo*>(answer), sizeof(VstTimeInfo));
        return 1;
      }
      case probe::kSendEvents: return SendEvents();
      case probe::kRelay: {
        if (ptr == nullptr) return 0;
        const probe::Relay& r = *static_cast<const probe::Relay*>(ptr);
        return CallHost(r.opcode, r.index, r.value, r.ptr, r.opt);
      }
      case probe::kEntryVersion: return entryVersion;
      case probe::kEntryVendorVersion: return entryVendorVersion;
      case probe::kReceivedEvents: return static_cast<VstIntPtr>(mReceivedStatus.size());
      case probe::kReceivedEventStatus:
        if (value < 0 || value >= static_cast<VstIntPtr>(mReceivedStatus.size())) return -1;
        return mReceivedStatus[static_cast<size_t>(value)];
      case probe::kProcessCalls: return mProcessCalls;
      case probe::kSampleRate: return static_cast<VstIntPtr>(mSampleRate);
      case probe::kBlockSize: return mBlockSize;
      case probe::kResumed: return mResumed ? 1 : 0;
      case probe::kOpened: return mOpened ? 1 : 0;
      default: return 0;
    }
  }

  // Sends two notes and a sysex dump, then spoils its own copies: a host must have copied them.
  VstIntPtr SendEvents() {
    VstMidiEvent on;
    std::memset(&on, 0, sizeof(on));
    on.type = kVstMidiType;
    on.byteSize = sizeof(VstMidiEvent);
    on.deltaFrames = 5;
    on.flags = kVstMidiEventIsRealtime;
    on.noteLength = 100;
    on.noteOffset = 3;
    on.midiData[0] = static_cast<char>(0x90);
    on.midiData[1] = 60;
    on.midiData[2] = 100;
    on.detune = -12;
    on.noteOffVelocity = 64;
    VstMidiEvent off = on;
    off.deltaFrames = 9;
    off.flags = 0;
    off.midiData[0] = static_cast<char>(0x80);
    off.midiData[2] = 0;
    char dump[5] = {static_cast<char>(0xF0), 0x7D, 0x01, 0x02, static_cast<char>(0xF7)};
    VstMidiSysexEvent sysex;
    std::memset(&sysex, 0, sizeof(sysex));
    sysex.type = kVstSysExType;
    sysex.byteSize = sizeof(VstMidiSysexEvent);
    sysex.deltaFrames = 11;
    sysex.dumpBytes = sizeof(dump);
    sysex.sysexDump = dump;

    ThreeEvents events;
    std::memset(&events, 0, sizeof(events));
    events.numEvents = 3;
    events.events[0] = reinterpret_cast<VstEvent*>(&on);
    events.events[1] = reinterpret_cast<VstEvent*>(&off);
    events.events[2] = reinterpret_cast<VstEvent*>(&sysex);
    const VstIntPtr answer = CallHost(audioMasterProcessEvents, 0, 0, &events);
    std::memset(&on, 0xEE, sizeof(on));
    std::memset(&off, 0xEE, sizeof(off));
    std::memset(dump, 0xEE, sizeof(dump));
    return answer;
  }

  float Gain() const { return 2.0f * mParams[0]; }

  template <typename Sample>
  void Run(Sample** inputs, Sample** outputs, VstInt32 frames, bool accumulate) {
    ++mProcessCalls;
    const Sample gain = static_cast<Sample>(Gain());
    for (VstInt32 c = 0; c < mEffect.numOutputs; ++c) {
      const VstInt32 source = c < mEffect.numInputs ? c : mEffect.numInputs - 1;
      for (VstInt32 i = 0; i < frames; ++i) {
        const Sample x = source >= 0 ? inputs[source][i] * gain : Sample(0);
        outputs[c][i] = accumulate ? outputs[c][i] + x : x;
      }
    }
  }

  static void ProcessReplacing(AEffect* e, float** in, float** out, VstInt32 frames) {
    if (ProbeEffect* self = From(e)) self->Run(in, out, frames, false);
  }
  static void ProcessAccumulating(AEffect* e, float** in, float** out, VstInt32 frames) {
    if (ProbeEffect* self = From(e)) self->Run(in, out, frames, true);
  }
  static void ProcessDoubleReplacing(AEffect* e, double** in, double** out, VstInt32 frames) {
    if (ProbeEffect* self = From(e)) self->Run(in, out, frames, false);
  }
  static void SetParameter(AEffect* e, VstInt32 index, float value) {
    ProbeEffect* self = From(e);
    if (self != nullptr && ValidParam(index)) self->mParams[index] = value;
  }
  static float GetParameter(AEffect* e, VstInt32 index) {
    ProbeEffect* self = From(e);
    return self != nullptr && ValidParam(index) ? self->mParams[index] : 0.0f;
  }

  AEffect mEffect;
  audioMasterCallback mHost;
  float mParams[probe::kNumParams] = {0.5f, 0.5f, 1.0f};
  char mProgramNames[probe::kNumPrograms][kVstMaxProgNameLen] = {"Init", "Second"};
  int mProgram = 0;
  float mSampleRate = 0.0f;
  int mBlockSize = 0;
  bool mResumed = false;
  bool mOpened = false;
  int mProcessCalls = 0;
  ERect mEditorRect;
  VstSpeakerArrangement mArrangement[2];
  std::vector<unsigned char> mProgramChunk;
  std::vector<unsigned char> mBankChunk;
  std::vector<int> mReceivedStatus;
};

[[maybe_unused]] AEffect* CreateProbe(audioMasterCallback host) {
  if (host == nullptr) return nullptr;
  // Like many plug-ins, ask for the host's version before there is an effect to pass.
  const VstIntPtr version = host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f);
  if (version == 0) return nullptr;
  char product[256] = {};
  host(nullptr, audioMasterGetProductString, 0, 0, product, 0.0f);
  if (std::strcmp(product, probe::kRefuseProduct) == 0) return nullptr;
  if (std::strcmp(product, probe::kBadMagicProduct) == 0) {
    static AEffect impostor;
    std::memset(&impostor, 0, sizeof(impostor));
    impostor.magic = probe::kBadMagic;
    return &impostor;
  }
  ProbeEffect* effect = new (std::nothrow) ProbeEffect(host);
  if (effect == nullptr) return nullptr;
  effect->entryVersion = version;
  // A call with the effect the host has not been given yet.
  effect->entryVendorVersion = effect->CallHost(audioMasterGetVendorVersion);
  return effect->Effect();
}

}  // namespace

BREL_VST_EXPORT int ProbeLiveInstances();
BREL_VST_EXPORT int ProbeClosedWhileResumed();
int ProbeLiveInstances() { return gLiveInstances; }
int ProbeClosedWhileResumed() { return gClosedWhileResumed; }

#if PROBE_EXPORT_PLUGIN_MAIN
BREL_VST_EXPORT AEffect* VSTPluginMain(audioMasterCallback host);
AEffect* VSTPluginMain(audioMasterCallback host) { return CreateProbe(host); }
#endif

#if PROBE_EXPORT_LEGACY_MAIN
BREL_VST_EXPORT AEffect* ProbeLegacyMain(audioMasterCallback host) BREL_VST_MAIN_SYMBOL;
AEffect* ProbeLegacyMain(audioMasterCallback host) { return CreateProbe(host); }
#endif
