// IPlugVST: the dispatcher's opcodes, each handled with the plug-in lock held.
#include <cstdio>
#include <cstring>

#include "adapters/vst2/IPlugVST.h"
#include "adapters/vst2/VstVendorOpcodes.h"
#include "core/FixedText.h"
#include "core/FourCC.h"
#include "core/Trace.h"

namespace {

constexpr int kParamStringSize = 32;  // parameter name, label and display: 31 characters
constexpr int kProgramNameSize = 24;  // what hosts reserve for a program name
constexpr int kEffectNameSize = 32;
constexpr int kVendorStringSize = 64;  // vendor and product strings
constexpr int kPinLabelSize = 64;
constexpr int kMidiKeyNameSize = 64;

// Copies text into a host buffer of size bytes, always terminated.
void CopyText(void* destination, const char* text, int size) {
  CopyFixedText(static_cast<char*>(destination), size, text);
}

}  // namespace

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
    case effSetBlockSize: SetBlockSizeFromHost(value); return 0;
    case effMainsChanged: SetActiveFromHost(value != 0); return 0;
    case effEditGetRect:
    case effEditOpen:
    case effEditClose: return DispatchEditor(opcode, ptr);
    case effIdentify: return FourCC('N', 'v', 'E', 'f');
    case effGetChunk: return GetChunk(index, ptr);
    case effSetChunk: return SetChunk(index, value, ptr);
    case effProcessEvents: return ProcessEvents(static_cast<const VstEvents*>(ptr));
    case effCanBeAutomated: {
      // A parameter declared as not automatable says so; an index without a parameter has always
      // been answered 1, and hosts may rely on that.
      const IParamDef* param = ValidParam(index);
      return !param || param->GetCanAutomate() ? 1 : 0;
    }
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
      SelectPresetFromHost(value >= 0 && value < NPresets() ? static_cast<int>(value) : -1);
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
  if (!editor || !editor->HasWindowHost()) return 0;
  switch (opcode) {
    case effEditGetRect:
      if (!ptr) return 0;
      UpdateEditorRect();  // the scale may have changed since the host last asked
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
  return LoadStateFromHost(chunk, isBank) >= 0 ? 1 : 0;
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
  return SetParamFromHostText(index, text) ? 1 : 0;
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
  // Only a declared channel configuration is taken; anything else would leave the host's output
  // buffers unwritten or feed the chain channels it never asked for.
  if ((input && input->numChannels < 1) || (output && output->numChannels < 1)) return 0;
  if (!LegalIO(input ? input->numChannels : -1, output ? output->numChannels : -1)) return 0;
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
  if (index == kVendorFormatNormalized && ptr) {
    if (IParamDef* param = ValidParam(static_cast<VstInt32>(value));
        param && value == static_cast<VstInt32>(value)) {
      param->FormatValue(opt, true, static_cast<char*>(ptr), kParamStringSize, true);
    }
    return kVendorAnswer;
  }
  if (index == kVendorIsStepped && value >= 0 && value < NParams()) {
    return GetParam(static_cast<int>(value))->GetType() != ParamType::Double ? kVendorAnswer : 0;
  }
  if (index == kVendorProcessedDelay && ptr) {
    const VstInt32 delay = GetProcessedDelay();
    if (delay < 0) return 0;
    std::memcpy(ptr, &delay, sizeof delay);  // the host's buffer need not be aligned
    return kVendorAnswer;
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
