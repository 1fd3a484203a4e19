#pragma once
// The VST 3 host adapter: one object that is at once the audio processor, the edit controller,
// the unit-info provider and the vendor interface (Vst3VendorInterface.h) of the plug-in core,
// built on the SDK's single-component effect.
// It translates the host's calls (buses, setup, activation, audio blocks and their parameter
// queues, bypass and preset parameters, state streams, parameter texts, views) into the core's
// operations, and the core's requests (edit gestures, latency, resize, context menu, transport)
// into calls on the host's objects. The plug-in class of a VST3 module derives from it.

#include "adapters/vst3/Vst3Sdk.h"

#include <atomic>
#include <vector>

#include "adapters/vst3/Vst3VendorInterface.h"
#include "core/IPlugBase.h"

class IPlugVST3View;

// What the factory hands to the plug-in constructor: nothing, the host arrives with initialize.
struct IPlugVST3InstanceInfo {};

class IPlugVST3 : public IPlugBase,
                  public Steinberg::Vst::SingleComponentEffect,
                  public IVendorProcessedDelay {
public:
  static constexpr Steinberg::Vst::ParamID kPresetParamId = 0x70727374;  // 'prst'
  static constexpr Steinberg::Vst::ParamID kBypassParamId = 0x62706173;  // 'bpas'

  IPlugVST3(const IPlugVST3InstanceInfo& instanceInfo, int nParams, const char* channelIOStr, int nPresets,
            const char* effectName, const char* productName, const char* makerName, std::int32_t versionWord,
            std::int32_t uniqueId, std::int32_t makerId, bool stateChunks = false, bool isInstrument = false,
            bool doesMidi = false);
  ~IPlugVST3() override;

  using tresult = Steinberg::tresult;
  using TBool = Steinberg::TBool;
  using ParamID = Steinberg::Vst::ParamID;
  using ParamValue = Steinberg::Vst::ParamValue;

  // ---- IPluginBase
  tresult PLUGIN_API initialize(Steinberg::FUnknown* context) noexcept override;
  tresult PLUGIN_API terminate() noexcept override;

  // ---- IComponent. The state calls serve the same stream as the controller's.
  tresult PLUGIN_API getBusInfo(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                Steinberg::int32 index, Steinberg::Vst::BusInfo& bus) noexcept override;
  tresult PLUGIN_API activateBus(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                 Steinberg::int32 index, TBool state) noexcept override;
  tresult PLUGIN_API setActive(TBool state) noexcept override;
  tresult PLUGIN_API setState(Steinberg::IBStream* state) noexcept override;
  tresult PLUGIN_API getState(Steinberg::IBStream* state) noexcept override;

  // ---- IAudioProcessor
  tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs, Steinberg::int32 numIns,
                                        Steinberg::Vst::SpeakerArrangement* outputs,
                                        Steinberg::int32 numOuts) noexcept override;
  tresult PLUGIN_API getBusArrangement(Steinberg::Vst::BusDirection dir, Steinberg::int32 index,
                                       Steinberg::Vst::SpeakerArrangement& arrangement) noexcept override;
  tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 symbolicSampleSize) noexcept override;
  Steinberg::uint32 PLUGIN_API getLatencySamples() noexcept override;
  tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) noexcept override;
  tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) noexcept override;
  Steinberg::uint32 PLUGIN_API getTailSamples() noexcept override;

  // ---- IVendorProcessedDelay
  Steinberg::int32 PLUGIN_API getProcessedDelay() noexcept override;

  // ---- IEditController (its state calls carry their single-component names)
  tresult PLUGIN_API setEditorState(Steinberg::IBStream* state) noexcept override;
  tresult PLUGIN_API getEditorState(Steinberg::IBStream* state) noexcept override;
  tresult PLUGIN_API getParamStringByValue(ParamID id, ParamValue normalized,
                                           Steinberg::Vst::String128 string) noexcept override;
  tresult PLUGIN_API getParamValueByString(ParamID id, Steinberg::Vst::TChar* string,
                                           ParamValue& normalized) noexcept override;
  ParamValue PLUGIN_API normalizedParamToPlain(ParamID id, ParamValue normalized) noexcept override;
  ParamValue PLUGIN_API plainParamToNormalized(ParamID id, ParamValue plain) noexcept override;
  ParamValue PLUGIN_API getParamNormalized(ParamID id) noexcept override;
  tresult PLUGIN_API setParamNormalized(ParamID id, ParamValue value) noexcept override;
  Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) noexcept override;
  tresult PLUGIN_API setKnobMode(Steinberg::Vst::KnobMode mode) noexcept override;

  // ---- IUnitInfo
  Steinberg::int32 PLUGIN_API getUnitCount() noexcept override;
  tresult PLUGIN_API getUnitInfo(Steinberg::int32 unitIndex,
                                 Steinberg::Vst::UnitInfo& info) noexcept override;
  Steinberg::int32 PLUGIN_API getProgramListCount() noexcept override;
  tresult PLUGIN_API getProgramListInfo(Steinberg::int32 listIndex,
                                        Steinberg::Vst::ProgramListInfo& info) noexcept override;
  tresult PLUGIN_API getProgramName(Steinberg::Vst::ProgramListID listId, Steinberg::int32 programIndex,
                                    Steinberg::Vst::String128 name) noexcept override;
  tresult PLUGIN_API getProgramInfo(Steinberg::Vst::ProgramListID listId, Steinberg::int32 programIndex,
                                    Steinberg::Vst::CString attributeId,
                                    Steinberg::Vst::String128 attributeValue) noexcept override;
  tresult PLUGIN_API hasProgramPitchNames(Steinberg::Vst::ProgramListID listId,
                                          Steinberg::int32 programIndex) noexcept override;
  tresult PLUGIN_API getProgramPitchName(Steinberg::Vst::ProgramListID listId, Steinberg::int32 programIndex,
                                         Steinberg::int16 midiPitch,
                                         Steinberg::Vst::String128 name) noexcept override;
  Steinberg::Vst::UnitID PLUGIN_API getSelectedUnit() noexcept override;
  tresult PLUGIN_API selectUnit(Steinberg::Vst::UnitID unitId) noexcept override;
  tresult PLUGIN_API getUnitByBus(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                  Steinberg::int32 busIndex, Steinberg::int32 channel,
                                  Steinberg::Vst::UnitID& unitId) noexcept override;
  tresult PLUGIN_API setUnitProgramData(Steinberg::int32 listOrUnitId, Steinberg::int32 programIndex,
                                        Steinberg::IBStream* data) noexcept override;

  // ---- FUnknown and FObject
  OBJ_METHODS(IPlugVST3, SingleComponentEffect)
  tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) noexcept override;
  REFCOUNT_METHODS(SingleComponentEffect)

  // ---- Requests to the host.
  void OpenHostParamMenu(int paramIndex, int x, int y) override;
  void BeginParamEdit(int paramIndex) override;
  void NotifyHostParamChange(int paramIndex, double normalized) override;
  void EndParamEdit(int paramIndex) override;
  bool IsOfflineRender() override;
  std::int32_t GetHostSamplePosition() override;
  double GetHostTempo() override;
  void GetHostTimeSignature(int& numerator, int& denominator) override;
  void GetHostTransport(TransportInfo& info) override;
  void ResizeEditor(int width, int height) override;
  void SetLatencySamples(int samples) override;

  // The views report their birth and death; the list does not own them.
  void AddView(IPlugVST3View* view);
  void RemoveView(IPlugVST3View* view);
  // The editor has one window: the view that shows it holds it until removed or destroyed, and
  // every other view is refused meanwhile. User-interface thread only.
  bool ClaimEditorWindow(IPlugVST3View* view);
  void ReleaseEditorWindow(IPlugVST3View* view);
  bool HoldsEditorWindow(const IPlugVST3View* view) const { return mAttachedView == view; }

private:
  IPlugVST3View* EditorView() const;
  void IdentifyHost(Steinberg::FUnknown* context);
  void MakeBuses();
  void MakeParameters();
  Steinberg::Vst::UnitID UnitOfGroup(const char* group);
  bool IsCoreParam(ParamID id) const { return id < static_cast<ParamID>(NParams()); }
  Steinberg::Vst::AudioBus* AudioBusAt(Steinberg::Vst::BusList& buses, int index) const;
  void ReplaceBus(Steinberg::Vst::BusList& buses, const char* name, int channels);
  // What a conversion takes for a normalized value: clamped to 0..1, and the parameter's
  // current position in place of a value that is no number.
  ParamValue UsableNormalized(ParamID id, ParamValue normalized);

  // Processing, with the plug-in lock held.
  void ApplyParameterChanges(Steinberg::Vst::IParameterChanges* changes);
  void ApplyPresetValue(ParamValue value);
  template <class Sample>
  void Render(Steinberg::Vst::ProcessData& data);
  void ConnectInputs(const Steinberg::Vst::ProcessData& data);
  void ConnectOutputs(const Steinberg::Vst::ProcessData& data);
  template <class Sample>
  void PassThroughHost(Sample** inputs, Sample** outputs, int nFrames);

  // The state stream: the core's parameter block, then the bypass flag.
  tresult WriteState(Steinberg::IBStream* stream);
  tresult ReadState(Steinberg::IBStream* stream);

  Steinberg::Vst::ProcessContext mProcessContext{};
  std::vector<IPlugVST3View*> mViews;
  IPlugVST3View* mAttachedView = nullptr;  // the view whose window shows the editor, if any
  std::vector<const char*> mGroups;        // distinct group names, in the order parameters first use them
  std::atomic<bool> mBypassed{false};
};

// Made by the plug-in class of the module: the one object the factory hands to the host.
IPlugVST3* MakePlug(const IPlugVST3InstanceInfo& instanceInfo);
