// Loading, life cycle and the host-to-plug-in calls of VstHost. The plug-in-to-host side is in
// VstHostCallback.cpp.
#include "hosts/vst2/VstHost.h"

#include "hosts/vst2/HostRegistry.h"

#include <cstdio>
#include <cstring>

namespace brel {

namespace {

// Text fields are nominally 8 to 64 bytes, but plug-ins overrun them: hand out far more, zeroed.
constexpr size_t kTextBufferSize = 1024;
// A chunk size beyond this is taken for garbage rather than copied.
constexpr VstIntPtr kMaxChunkSize = VstIntPtr(1) << 30;

}  // namespace

VstHost::VstHost() = default;

VstHost::VstHost(const HostSettings& settings) : mSettings(settings) {}

VstHost::~VstHost() { Unload(); }

// --- Life cycle ---------------------------------------------------------------------------------

bool VstHost::FailLoad(const std::string& message) {
  mModule.Close();
  mEntryName.clear();
  mError = message;
  return false;
}

bool VstHost::Load(const std::string& path) {
  Unload();
  mError.clear();
  mEntryName.clear();
  if (path.empty()) return FailLoad("no module path given");
  std::string error;
  if (!mModule.Open(path, error)) return FailLoad(error);

  const char* name = "VSTPluginMain";
  LoadedModule::Function function = mModule.Find(name);
  if (function == nullptr) {
    name = "main";
    function = mModule.Find(name);
  }
  if (function == nullptr) return FailLoad("module '" + path + "' exports neither VSTPluginMain nor main");

  AEffect* effect = nullptr;
  {
    HostRegistry::EntryScope scope(this);
    effect = reinterpret_cast<VstEntryProc>(function)(&VstHost::HostCallback);
  }
  if (effect == nullptr)
    return FailLoad("the entry point " + std::string(name) + " of '" + path + "' returned no plug-in");
  if (effect->magic != kEffectMagic) {
    char found[16];
    std::snprintf(found, sizeof(found), "0x%08X", static_cast<unsigned>(effect->magic));
    // Nothing in a record of unknown shape can be trusted, not even its dispatcher.
    return FailLoad("module '" + path + "' returned a record without the VST magic (found " + found + ")");
  }
  if (effect->dispatcher == nullptr)
    return FailLoad("module '" + path + "' returned a plug-in without a dispatcher");

  mEffect = effect;
  mEntryName = name;
  HostRegistry::Add(mEffect, this);
  return true;
}

VstIntPtr VstHost::Open() { return Dispatch(effOpen); }

void VstHost::Close() {
  if (mEffect == nullptr) return;
  if (mResumed) Suspend();
  // The plug-in may still call back while it closes; it stays registered until it is gone.
  mEffect->dispatcher(mEffect, effClose, 0, 0, nullptr, 0.0f);
  HostRegistry::Remove(mEffect, this);
  mEffect = nullptr;
  mResumed = false;
}

void VstHost::Unload() {
  Close();
  mModule.Close();
  mEntryName.clear();
}

// --- Configuration -------------------------------------------------------------------------------

bool VstHost::SetSampleRate(float rate) {
  {
    std::lock_guard<std::mutex> lock(mMutex);
    mSampleRate = rate;
  }
  if (mEffect == nullptr) return false;
  Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
  return true;
}

bool VstHost::SetBlockSize(VstInt32 frames) {
  {
    std::lock_guard<std::mutex> lock(mMutex);
    mBlockSize = frames;
  }
  if (mEffect == nullptr) return false;
  Dispatch(effSetBlockSize, 0, frames);
  return true;
}

bool VstHost::Resume() {
  if (mEffect == nullptr) return false;
  Dispatch(effMainsChanged, 0, 1);
  mResumed = true;
  return true;
}

bool VstHost::Suspend() {
  if (mEffect == nullptr) return false;
  Dispatch(effMainsChanged, 0, 0);
  mResumed = false;
  return true;
}

// --- The AEffect record --------------------------------------------------------------------------

VstInt32 VstHost::NumParams() const { return mEffect ? mEffect->numParams : 0; }
VstInt32 VstHost::NumPrograms() const { return mEffect ? mEffect->numPrograms : 0; }
VstInt32 VstHost::NumInputs() const { return mEffect ? mEffect->numInputs : 0; }
VstInt32 VstHost::NumOutputs() const { return mEffect ? mEffect->numOutputs : 0; }
VstInt32 VstHost::Flags() const { return mEffect ? mEffect->flags : 0; }
VstInt32 VstHost::UniqueId() const { return mEffect ? mEffect->uniqueID : 0; }
VstInt32 VstHost::Version() const { return mEffect ? mEffect->version : 0; }
VstInt32 VstHost::InitialDelay() const { return mEffect ? mEffect->initialDelay : 0; }

// --- Raw access ----------------------------------------------------------------------------------

VstIntPtr VstHost::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  if (mEffect == nullptr) return 0;
  if (opcode == effClose) {
    Close();
    return 0;
  }
  return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
}

std::string VstHost::TextCall(VstInt32 opcode, VstInt32 index) {
  if (mEffect == nullptr) return std::string();
  char text[kTextBufferSize] = {};
  Dispatch(opcode, index, 0, text);
  text[kTextBufferSize - 1] = '\0';
  return std::string(text);
}

// --- Parameters ----------------------------------------------------------------------------------

std::string VstHost::ParamName(VstInt32 index) { return TextCall(effGetParamName, index); }
std::string VstHost::ParamLabel(VstInt32 index) { return TextCall(effGetParamLabel, index); }
std::string VstHost::ParamDisplay(VstInt32 index) { return TextCall(effGetParamDisplay, index); }

void VstHost::SetParameter(VstInt32 index, float value) {
  if (mEffect != nullptr && mEffect->setParameter != nullptr) mEffect->setParameter(mEffect, index, value);
}

float VstHost::GetParameter(VstInt32 index) {
  if (mEffect == nullptr || mEffect->getParameter == nullptr) return 0.0f;
  return mEffect->getParameter(mEffect, index);
}

bool VstHost::String2Parameter(VstInt32 index, const std::string& text) {
  // A copy: the plug-in receives a writable pointer and the caller's text stays untouched.
  std::vector<char> copy(text.begin(), text.end());
  copy.push_back('\0');
  return Dispatch(effString2Parameter, index, 0, copy.data()) != 0;
}

bool VstHost::CanBeAutomated(VstInt32 index) { return Dispatch(effCanBeAutomated, index) != 0; }

// --- Programs and state --------------------------------------------------------------------------

VstInt32 VstHost::GetProgram() { return static_cast<VstInt32>(Dispatch(effGetProgram)); }

void VstHost::SetProgram(VstInt32 program) { Dispatch(effSetProgram, 0, program); }

std::string VstHost::ProgramName() { return TextCall(effGetProgramName, 0); }

void VstHost::SetProgramName(const std::string& name) {
  std::vector<char> copy(name.begin(), name.end());
  copy.push_back('\0');
  Dispatch(effSetProgramName, 0, 0, copy.data());
}

std::string VstHost::ProgramNameIndexed(VstInt32 program) {
  return TextCall(effGetProgramNameIndexed, program);
}

std::vector<uint8_t> VstHost::GetChunk(ChunkKind kind) {
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effGetChunk, static_cast<VstInt32>(kind), 0, &data);
  if (size <= 0 || size > kMaxChunkSize || data == nullptr) return {};
  // The plug-in owns that memory and may reuse it on the next call: copy it now.
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

bool VstHost::SetChunk(ChunkKind kind, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> copy(data);
  void* ptr = copy.empty() ? nullptr : copy.data();
  return Dispatch(effSetChunk, static_cast<VstInt32>(kind), static_cast<VstIntPtr>(copy.size()), ptr) != 0;
}

// --- Identity and capabilities -------------------------------------------------------------------

std::string VstHost::EffectName() { return TextCall(effGetEffectName, 0); }
std::string VstHost::VendorString() { return TextCall(effGetVendorString, 0); }
std::string VstHost::ProductString() { return TextCall(effGetProductString, 0); }
VstIntPtr VstHost::VendorVersion() { return Dispatch(effGetVendorVersion); }
VstIntPtr VstHost::VstVersion() { return Dispatch(effGetVstVersion); }
VstIntPtr VstHost::PlugCategory() { return Dispatch(effGetPlugCategory); }
VstIntPtr VstHost::TailSize() { return Dispatch(effGetTailSize); }

VstIntPtr VstHost::CanDo(const std::string& what) {
  std::vector<char> copy(what.begin(), what.end());
  copy.push_back('\0');
  return Dispatch(effCanDo, 0, 0, copy.data());
}

VstIntPtr VstHost::VendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  return Dispatch(effVendorSpecific, index, value, ptr, opt);
}

// --- Channels ------------------------------------------------------------------------------------

VstSpeakerArrangement VstHost::MakeArrangement(VstInt32 channels) {
  VstSpeakerArrangement arrangement;
  std::memset(&arrangement, 0, sizeof(arrangement));
  if (channels < 0) channels = 0;
  if (channels > 8) channels = 8;
  arrangement.numChannels = channels;
  arrangement.type = channels == 0   ? kSpeakerArrEmpty
                     : channels == 1 ? kSpeakerArrMono
                     : channels == 2 ? kSpeakerArrStereo
                                     : kSpeakerArrUserDefined;
  return arrangement;
}

bool VstHost::SetSpeakerArrangement(const VstSpeakerArrangement& input, const VstSpeakerArrangement& output) {
  VstSpeakerArrangement in = input;
  VstSpeakerArrangement out = output;
  return Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out) != 0;
}

namespace {

// Copies the header and the speakers the arrangement says it has, never more than declared.
void CopyArrangement(const VstSpeakerArrangement* from, VstSpeakerArrangement& to) {
  std::memset(&to, 0, sizeof(to));
  if (from == nullptr) {
    to.type = kSpeakerArrEmpty;
    return;
  }
  to.type = from->type;
  to.numChannels = from->numChannels;
  int speakers = from->numChannels < 0 ? 0 : from->numChannels > 8 ? 8 : from->numChannels;
  for (int i = 0; i < speakers; ++i) to.speakers[i] = from->speakers[i];
}

}  // namespace

bool VstHost::GetSpeakerArrangement(VstSpeakerArrangement& input, VstSpeakerArrangement& output) {
  VstSpeakerArrangement* in = nullptr;
  VstSpeakerArrangement* out = nullptr;
  const VstIntPtr answer = Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out);
  CopyArrangement(in, input);
  CopyArrangement(out, output);
  return answer != 0 && (in != nullptr || out != nullptr);
}

namespace {

// Room behind the record for plug-ins that write longer labels than the record holds.
struct PinBuffer {
  VstPinProperties pin;
  char slack[512];
};

}  // namespace

bool VstHost::InputProperties(VstInt32 index, VstPinProperties& out) {
  PinBuffer buffer;
  std::memset(&buffer, 0, sizeof(buffer));
  const VstIntPtr answer = Dispatch(effGetInputProperties, index, 0, &buffer.pin);
  out = buffer.pin;
  return answer != 0;
}

bool VstHost::OutputProperties(VstInt32 index, VstPinProperties& out) {
  PinBuffer buffer;
  std::memset(&buffer, 0, sizeof(buffer));
  const VstIntPtr answer = Dispatch(effGetOutputProperties, index, 0, &buffer.pin);
  out = buffer.pin;
  return answer != 0;
}

// --- Editor --------------------------------------------------------------------------------------

bool VstHost::EditorRect(ERect& out) {
  std::memset(&out, 0, sizeof(out));
  ERect* rect = nullptr;
  const VstIntPtr answer = Dispatch(effEditGetRect, 0, 0, &rect);
  if (rect == nullptr) return false;
  out = *rect;
  return answer != 0;
}

// --- Processing ----------------------------------------------------------------------------------

bool VstHost::CanProcess(const void* inputs, const void* outputs, VstInt32 frames) const {
  if (mEffect == nullptr || frames < 0) return false;
  if (mEffect->numInputs > 0 && inputs == nullptr) return false;
  if (mEffect->numOutputs > 0 && outputs == nullptr) return false;
  return true;
}

namespace {

template <typename Sample>
bool AllChannels(Sample** channels, VstInt32 count) {
  for (VstInt32 i = 0; i < count; ++i)
    if (channels[i] == nullptr) return false;
  return true;
}

}  // namespace

bool VstHost::ProcessReplacing(float** inputs, float** outputs, VstInt32 frames) {
  if (!CanProcess(inputs, outputs, frames) || mEffect->processReplacing == nullptr ||
      !AllChannels(inputs, mEffect->numInputs) || !AllChannels(outputs, mEffect->numOutputs))
    return false;
  mEffect->processReplacing(mEffect, inputs, outputs, frames);
  return true;
}

bool VstHost::ProcessAccumulating(float** inputs, float** outputs, VstInt32 frames) {
  if (!CanProcess(inputs, outputs, frames) || mEffect->process == nullptr ||
      !AllChannels(inputs, mEffect->numInputs) || !AllChannels(outputs, mEffect->numOutputs))
    return false;
  mEffect->process(mEffect, inputs, outputs, frames);
  return true;
}

bool VstHost::ProcessDoubleReplacing(double** inputs, double** outputs, VstInt32 frames) {
  if (!CanProcess(inputs, outputs, frames) || mEffect->processDoubleReplacing == nullptr ||
      !AllChannels(inputs, mEffect->numInputs) || !AllChannels(outputs, mEffect->numOutputs))
    return false;
  mEffect->processDoubleReplacing(mEffect, inputs, outputs, frames);
  return true;
}

VstIntPtr VstHost::SendEvents(const std::vector<const VstEvent*>& events) {
  if (mEffect == nullptr) return 0;
  // The record is declared with two pointer slots; the real list follows the 16-byte head.
  const size_t slots = events.size() < 2 ? 2 : events.size();
  std::vector<VstIntPtr> block(2 + slots, 0);
  const VstInt32 count = static_cast<VstInt32>(events.size());
  std::memcpy(block.data(), &count, sizeof(count));
  for (size_t i = 0; i < events.size(); ++i) block[2 + i] = reinterpret_cast<VstIntPtr>(events[i]);
  return Dispatch(effProcessEvents, 0, 0, block.data());
}

}  // namespace brel
