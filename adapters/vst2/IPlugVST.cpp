// IPlugVST: construction of the AEffect record and the callbacks the host calls through it
// (dispatcher entry, processing, parameters). The dispatcher's opcodes are in
// IPlugVSTDispatch.cpp, the plug-in's requests to the host in IPlugVSTHost.cpp.
#include "adapters/vst2/IPlugVST.h"

#include "core/FourCC.h"

namespace {

constexpr int kDefaultBlockSize = 1024;

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

IPlugVST* IPlugVST::FromEffect(AEffect* effect) noexcept {
  return effect ? static_cast<IPlugVST*>(effect->object) : nullptr;
}

VstIntPtr IPlugVST::VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt) noexcept {
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return 0;
  if (opcode == effEditIdle) {
    // The host's user-interface thread lends the editor its time (X11 has no window timer). The
    // editor takes the plug-in lock itself where it sets a value, as its Windows timer does, so
    // it is called without it.
    if (IEditor* editor = plug->GetEditor()) editor->Idle();
    return 0;
  }
  if (opcode == effIdle) return 0;
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

void IPlugVST::VSTProcess(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) noexcept {
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return;
  ScopedLock lock(*plug);
  plug->ProcessFloatBlock(inputs, outputs, frames, true);
}

void IPlugVST::VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs,
                                   VstInt32 frames) noexcept {
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return;
  ScopedLock lock(*plug);
  plug->ProcessFloatBlock(inputs, outputs, frames, false);
}

void IPlugVST::VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                         VstInt32 frames) noexcept {
  IPlugVST* plug = FromEffect(effect);
  if (!plug) return;
  ScopedLock lock(*plug);
  plug->ProcessDoubleBlock(inputs, outputs, frames);
}

void IPlugVST::VSTSetParameter(AEffect* effect, VstInt32 index, float value) noexcept {
  if (IPlugVST* plug = FromEffect(effect)) plug->SetParamFromHost(index, value);
}

float IPlugVST::VSTGetParameter(AEffect* effect, VstInt32 index) noexcept {
  IPlugVST* plug = FromEffect(effect);
  return plug ? static_cast<float>(plug->GetParamNormalized(index)) : 0.0f;
}
