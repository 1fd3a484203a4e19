#pragma once
// The VST2 host adapter: translates the host's AEffect calls (dispatcher, processing and
// parameter callbacks) into the plug-in core's operations, and the core's requests to the host
// (automation, edit gestures, time info, MIDI) into audioMaster calls. The plug-in class of a
// VST2 module derives from it.

#include "adapters/vst2/VstInterface.h"
#include "core/IPlugBase.h"
#include "core/StateChunk.h"

// What the module entry hands to the plug-in constructor.
struct IPlugInstanceInfo {
  audioMasterCallback hostCallback = nullptr;
};

class IPlugVST : public IPlugBase {
public:
  IPlugVST(const IPlugInstanceInfo& instanceInfo, int nParams, const char* channelIOStr, int nPresets,
           const char* effectName, const char* productName, const char* makerName, std::int32_t versionWord,
           std::int32_t uniqueId, std::int32_t makerId, bool stateChunks = false, bool isInstrument = false,
           bool doesMidi = false);
  ~IPlugVST() override = default;

  // What the host holds: its object field points back to this adapter.
  AEffect* GetAEffect() { return &mEffect; }
  const ERect& GetEditorRect() const { return mEditorRect; }

  // ---- Requests to the host.
  void BeginParamEdit(int paramIndex) override;
  void NotifyHostParamChange(int paramIndex, double normalized) override;
  void EndParamEdit(int paramIndex) override;
  void NotifyHostPresetChange() override;
  bool IsOfflineRender() override;
  std::int32_t GetHostSamplePosition() override;
  double GetHostTempo() override;
  void GetHostTimeSignature(int& numerator, int& denominator) override;
  void GetHostTransport(TransportInfo& info) override;
  HostId GetHostId() override;
  void ResizeEditor(int width, int height) override;
  void InitForHost() override;
  void AttachEditor(IEditor* editor) override;
  void SetLatencySamples(int samples) override;
  bool SendMidiMessage(const MidiMessage& message) override;
  bool SendSysExMessage(const SysExMessage& message) override;

  // The version number hosts see: major * 10000 + minor * 100 + patch of the version word.
  VstInt32 DecimalVersion() const;

private:
  // The callbacks the host calls through the AEffect record.
  static VstIntPtr VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt) noexcept;
  static void VSTProcess(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) noexcept;
  static void VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) noexcept;
  static void VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                        VstInt32 frames) noexcept;
  static void VSTSetParameter(AEffect* effect, VstInt32 index, float value) noexcept;
  static float VSTGetParameter(AEffect* effect, VstInt32 index) noexcept;
  static IPlugVST* FromEffect(AEffect* effect) noexcept;

  // One handler per group of dispatcher opcodes; each runs with the plug-in lock held.
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
  VstIntPtr DispatchPrograms(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr);
  VstIntPtr DispatchParams(VstInt32 opcode, VstInt32 index, void* ptr);
  VstIntPtr DispatchEditor(VstInt32 opcode, void* ptr);
  // The rectangle effEditGetRect hands out, from the editor's window size now.
  void UpdateEditorRect();
  VstIntPtr DispatchIdentity(VstInt32 opcode, void* ptr);
  VstIntPtr GetChunk(VstInt32 index, void* ptr);
  VstIntPtr SetChunk(VstInt32 index, VstIntPtr size, void* ptr);
  VstIntPtr ProcessEvents(const VstEvents* events);
  VstIntPtr String2Parameter(VstInt32 index, const char* text);
  VstIntPtr PinProperties(VstInt32 index, VstPinProperties* pin, bool isInput);
  VstIntPtr SetSpeakerArrangement(const VstSpeakerArrangement* input, const VstSpeakerArrangement* output);
  VstIntPtr GetSpeakerArrangement(VstIntPtr inputOut, void* outputOut);
  VstIntPtr VendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt);
  VstIntPtr CanDo(const char* query);
  VstIntPtr MidiKeyName(::MidiKeyName* key);

  VstIntPtr HostCall(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  const VstTimeInfo* HostTime(VstInt32 wantedFlags);
  bool HostProcessEvents(VstEvent* event);
  void FillSpeakerArrangement(VstSpeakerArrangement& arrangement, int channels);
  IParamDef* ValidParam(VstInt32 index) const;

  audioMasterCallback mHostCallback;
  ERect mEditorRect{};
  VstSpeakerArrangement mInputArrangement{};
  VstSpeakerArrangement mOutputArrangement{};
  bool mHostInitDone = false;
  StateChunk mProgramChunk;
  StateChunk mBankChunk;
  AEffect mEffect{};
};

// Made by the plug-in class of the module: the one object the entry point hands to the host.
IPlugVST* MakePlug(const IPlugInstanceInfo& instanceInfo);
