// IPlugVST3: construction, the component's life cycle, the controller's parameter calls, the
// units and the views.

#include "adapters/vst3/IPlugVST3.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "adapters/vst3/IPlugParameter.h"
#include "adapters/vst3/IPlugVST3View.h"
#include "adapters/vst3/Vst3Speakers.h"
#include "adapters/vst3/Vst3Text.h"

using namespace Steinberg;

namespace {

constexpr char kMainInputName[] = "Main Input";
constexpr char kOutputName[] = "Output";
constexpr int kHostNameSize = 128;
constexpr int32 kPresetParamFlags = Vst::ParameterInfo::kIsProgramChange;
constexpr int32 kBypassParamFlags =
    Vst::ParameterInfo::kCanAutomate | Vst::ParameterInfo::kIsList | Vst::ParameterInfo::kIsBypass;
constexpr std::size_t kInitialViewCapacity = 10;

}  // namespace

IPlugVST3::IPlugVST3(const IPlugVST3InstanceInfo& instanceInfo, int nParams, const char* channelIOStr,
                     int nPresets, const char* effectName, const char* productName, const char* makerName,
                     std::int32_t versionWord, std::int32_t uniqueId, std::int32_t makerId, bool stateChunks,
                     bool isInstrument, bool doesMidi)
    : IPlugBase(nParams, nPresets, channelIOStr, effectName, productName, makerName, versionWord, uniqueId,
                makerId, ApiId::Vst3, stateChunks, isInstrument, doesMidi) {
  // The setup a host has not yet replaced: real time, 32-bit, 1024 frames at 44.1 kHz.
  processSetup.processMode = Vst::kRealtime;
  processSetup.symbolicSampleSize = Vst::kSample32;
  processSetup.maxSamplesPerBlock = 1024;
  processSetup.sampleRate = 44100.0;
  // What the core's transport requests read from the blocks' process context.
  processContextRequirements.needProjectTimeMusic()
      .needBarPositionMusic()
      .needCycleMusic()
      .needTempo()
      .needTimeSignature()
      .needTransportState();
  mViews.reserve(kInitialViewCapacity);
}

IPlugVST3::~IPlugVST3() = default;

// ---------------------------------------------------------------------------------------------
// Life cycle.

tresult PLUGIN_API IPlugVST3::initialize(FUnknown* context) noexcept {
  ScopedLock lock(*this);
  // The base keeps the first context and refuses a second one.
  const bool first = SingleComponentEffect::initialize(context) == kResultOk;
  IdentifyHost(context);
  if (first) {
    try {
      MakeBuses();
      MakeParameters();
    } catch (...) {
      // Out of memory: what was made stays, and the host hears that initializing failed.
      return kResultFalse;
    }
  }
  OnHostKnown();
  LoadPreset(0);
  return first ? kResultOk : kResultFalse;
}

tresult PLUGIN_API IPlugVST3::terminate() noexcept {
  ScopedLock lock(*this);
  // A view still showing the editor keeps its claim: its window closes when it goes.
  mViews.clear();
  mGroups.clear();
  return SingleComponentEffect::terminate();
}

void IPlugVST3::IdentifyHost(FUnknown* context) {
  FUnknownPtr<Vst::IHostApplication> host(context);
  if (!host) return;
  Vst::String128 name = {};
  host->getName(name);
  name[kHostNameSize - 1] = 0;  // a host that fills the whole buffer
  char product[kHostNameSize];
  NarrowText(name, product, kHostNameSize);
  SetHostIdentity(::IdentifyHost(product), 0);
}

void IPlugVST3::MakeBuses() {
  Vst::String128 name;
  if (const Vst::SpeakerArrangement input = ArrangementForChannels(NInChannels())) {
    WidenText(kMainInputName, name);
    addAudioInput(name, input);
  }
  WidenText(kOutputName, name);
  addAudioOutput(name, ArrangementForChannels(NOutChannels()));
}

void IPlugVST3::MakeParameters() {
  if (NPresets() > 0) {
    auto* preset = new Vst::Parameter(STR16("Preset"), kPresetParamId, STR16(""), 0.0, NPresets(),
                                      kPresetParamFlags, Vst::kRootUnitId);
    parameters.addParameter(preset);
  }
  auto* bypass = new Vst::StringListParameter(STR16("Bypass"), kBypassParamId, nullptr, kBypassParamFlags,
                                              Vst::kRootUnitId);
  bypass->appendString(STR16("off"));
  bypass->appendString(STR16("on"));
  parameters.addParameter(bypass);
  for (int i = 0; i < NParams(); ++i) {
    const IParamDef* param = GetParam(i);
    parameters.addParameter(
        new IPlugParameter(param, static_cast<ParamID>(i), UnitOfGroup(param->GetGroup())));
  }
}

Vst::UnitID IPlugVST3::UnitOfGroup(const char* group) {
  if (!group || !group[0]) return Vst::kRootUnitId;
  const auto known = std::find_if(mGroups.begin(), mGroups.end(),
                                  [group](const char* name) { return std::strcmp(name, group) == 0; });
  if (known != mGroups.end()) return static_cast<Vst::UnitID>(known - mGroups.begin()) + 1;
  mGroups.push_back(group);
  return static_cast<Vst::UnitID>(mGroups.size());
}

// The SDK's bus calls check an index against the end of the list only; a negative one would
// throw out of the list into the host.
tresult PLUGIN_API IPlugVST3::getBusInfo(Vst::MediaType type, Vst::BusDirection dir, int32 index,
                                         Vst::BusInfo& bus) noexcept {
  if (index < 0) return kInvalidArgument;
  return SingleComponentEffect::getBusInfo(type, dir, index, bus);
}

tresult PLUGIN_API IPlugVST3::activateBus(Vst::MediaType type, Vst::BusDirection dir, int32 index,
                                          TBool state) noexcept {
  if (index < 0) return kInvalidArgument;
  return SingleComponentEffect::activateBus(type, dir, index, state);
}

tresult PLUGIN_API IPlugVST3::setActive(TBool state) noexcept {
  SetActiveFromHost(state != 0);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::queryInterface(const TUID iid, void** obj) noexcept {
  if (!obj) return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, Vst::IUnitInfo::iid)) {
    addRef();
    *obj = static_cast<Vst::IUnitInfo*>(this);
    return kResultOk;
  }
  if (FUnknownPrivate::iidEqual(iid, IVendorProcessedDelay::IID::toTUID())) {
    addRef();
    *obj = static_cast<IVendorProcessedDelay*>(this);
    return kResultOk;
  }
  return SingleComponentEffect::queryInterface(iid, obj);
}

// ---------------------------------------------------------------------------------------------
// The controller's parameter calls.

tresult PLUGIN_API IPlugVST3::getParamStringByValue(ParamID id, ParamValue normalized,
                                                    Vst::String128 string) noexcept {
  if (!IsCoreParam(id) || !string) return kResultFalse;
  DisplayTextOf(*GetParam(static_cast<int>(id)), UsableNormalized(id, normalized), string);
  return kResultOk;
}

// Typed text reaches the parameter objects' own readers: the core's rule for the core
// parameters, the SDK's for bypass and preset, whose number must still be a position.
tresult PLUGIN_API IPlugVST3::getParamValueByString(ParamID id, Vst::TChar* string,
                                                    ParamValue& normalized) noexcept {
  if (!string) return kInvalidArgument;
  ParamValue read = 0.0;
  if (SingleComponentEffect::getParamValueByString(id, string, read) != kResultOk || !std::isfinite(read))
    return kResultFalse;
  normalized = std::clamp(read, 0.0, 1.0);
  return kResultOk;
}

Vst::ParamValue PLUGIN_API IPlugVST3::normalizedParamToPlain(ParamID id, ParamValue normalized) noexcept {
  return SingleComponentEffect::normalizedParamToPlain(id, UsableNormalized(id, normalized));
}

Vst::ParamValue PLUGIN_API IPlugVST3::plainParamToNormalized(ParamID id, ParamValue plain) noexcept {
  if (std::isnan(plain)) return getParamNormalized(id);
  if (!IsCoreParam(id)) return std::isfinite(plain) ? plain : getParamNormalized(id);
  return GetParam(static_cast<int>(id))->ToNormalized(plain);
}

Vst::ParamValue IPlugVST3::UsableNormalized(ParamID id, ParamValue normalized) {
  if (std::isnan(normalized)) return getParamNormalized(id);
  return std::clamp(normalized, 0.0, 1.0);
}

Vst::ParamValue PLUGIN_API IPlugVST3::getParamNormalized(ParamID id) noexcept {
  if (id == kBypassParamId) return mBypassed.load(std::memory_order_relaxed) ? 1.0 : 0.0;
  return IsCoreParam(id) ? GetParamNormalized(static_cast<int>(id)) : 0.0;
}

tresult PLUGIN_API IPlugVST3::setParamNormalized(ParamID id, ParamValue value) noexcept {
  // The host mirrors in the controller a value it gives the processor; here both are one object,
  // so the bypass flag the controller answers with is the processor's.
  if (id == kBypassParamId && std::isfinite(value)) {
    mBypassed.store(value > 0.5, std::memory_order_relaxed);
    return kResultOk;
  }
  // The parameter takes the value, and nobody else hears of it. A value that is no position of a
  // control changes nothing.
  if (!IsCoreParam(id) || !std::isfinite(value)) return kResultFalse;
  ScopedLock lock(*this);
  GetParam(static_cast<int>(id))->SetFromNormalized(value);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::setKnobMode(Vst::KnobMode mode) noexcept { return kResultOk; }

Steinberg::IPlugView* PLUGIN_API IPlugVST3::createView(FIDString name) noexcept {
  if (!name || std::strcmp(name, Vst::ViewType::kEditor) != 0) return nullptr;
  // An editor that cannot open a window here is not offered: the host shows its generic
  // controls instead.
  const IEditor* editor = GetEditor();
  if (!editor || !editor->HasWindowHost()) return nullptr;
  auto* view = new (std::nothrow) IPlugVST3View(this);
  if (!view) return nullptr;
  try {
    AddView(view);
  } catch (...) {
    // Out of memory: the host gets no view, as for a name that is not "editor".
    view->release();
    return nullptr;
  }
  return view;
}

void IPlugVST3::AddView(IPlugVST3View* view) { mViews.push_back(view); }

void IPlugVST3::RemoveView(IPlugVST3View* view) {
  ReleaseEditorWindow(view);
  const auto found = std::find(mViews.begin(), mViews.end(), view);
  if (found != mViews.end()) mViews.erase(found);
}

bool IPlugVST3::ClaimEditorWindow(IPlugVST3View* view) {
  if (mAttachedView && mAttachedView != view) return false;
  mAttachedView = view;
  return true;
}

void IPlugVST3::ReleaseEditorWindow(IPlugVST3View* view) {
  if (mAttachedView == view) mAttachedView = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Units: the root, then one per distinct parameter group. The presets form one list that no
// unit claims.

int32 PLUGIN_API IPlugVST3::getUnitCount() noexcept { return static_cast<int32>(mGroups.size()) + 1; }

tresult PLUGIN_API IPlugVST3::getUnitInfo(int32 unitIndex, Vst::UnitInfo& info) noexcept {
  if (unitIndex < 0 || unitIndex > static_cast<int32>(mGroups.size())) return kResultFalse;
  info.id = unitIndex;
  info.programListId = Vst::kNoProgramListId;
  if (unitIndex == 0) {
    info.parentUnitId = Vst::kNoParentUnitId;
    WidenText("Root Unit", info.name);
  } else {
    info.parentUnitId = Vst::kRootUnitId;
    WidenText(mGroups[static_cast<std::size_t>(unitIndex) - 1], info.name);
  }
  return kResultOk;
}

int32 PLUGIN_API IPlugVST3::getProgramListCount() noexcept { return 0; }

tresult PLUGIN_API IPlugVST3::getProgramListInfo(int32 listIndex, Vst::ProgramListInfo& info) noexcept {
  if (listIndex != 0) return kResultFalse;
  info.id = static_cast<Vst::ProgramListID>(kPresetParamId);
  WidenText("Factory Presets", info.name);
  info.programCount = NPresets();
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getProgramName(Vst::ProgramListID listId, int32 programIndex,
                                             Vst::String128 name) noexcept {
  if (listId != static_cast<Vst::ProgramListID>(kPresetParamId) || !name) return kResultFalse;
  // Preset names change under the lock when a host selects a preset from the audio thread.
  ScopedLock lock(*this);
  WidenText(PresetName(programIndex), name, 128);
  return kResultOk;
}

Vst::UnitID PLUGIN_API IPlugVST3::getSelectedUnit() noexcept { return Vst::kRootUnitId; }

tresult PLUGIN_API IPlugVST3::getProgramInfo(Vst::ProgramListID, int32, Vst::CString,
                                             Vst::String128) noexcept {
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::hasProgramPitchNames(Vst::ProgramListID, int32) noexcept {
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::getProgramPitchName(Vst::ProgramListID, int32, int16, Vst::String128) noexcept {
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::selectUnit(Vst::UnitID) noexcept { return kNotImplemented; }

tresult PLUGIN_API IPlugVST3::getUnitByBus(Vst::MediaType, Vst::BusDirection, int32, int32,
                                           Vst::UnitID&) noexcept {
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::setUnitProgramData(int32, int32, IBStream*) noexcept { return kNotImplemented; }
