#include "hosts/vst3/Vst3Host.h"

#include <cstring>

#include "hosts/module/ModuleFile.h"
#include "hosts/vst3/Vst3BundleModule.h"
#include "pluginterfaces/base/ustring.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/utility/stringconvert.h"

namespace brel {

using namespace Steinberg;

namespace {

Vst::SpeakerArrangement ArrangementFor(int channels) {
  return channels == 1 ? Vst::SpeakerArr::kMono : channels == 2 ? Vst::SpeakerArr::kStereo : 0;
}

std::vector<std::uint8_t> BytesOf(MemoryStream& stream) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(stream.getData());
  return data ? std::vector<std::uint8_t>(data, data + stream.getSize()) : std::vector<std::uint8_t>{};
}

void Fill(MemoryStream& stream, const std::vector<std::uint8_t>& bytes) {
  if (!bytes.empty()) {
    stream.write(const_cast<std::uint8_t*>(bytes.data()), static_cast<int32>(bytes.size()), nullptr);
  }
  stream.seek(0, IBStream::kIBSeekSet, nullptr);
}

}  // namespace

Vst3Host::Vst3Host(const std::string& productName)
    : mContext(productName), mHandler(owned(new Vst3ComponentHandler)) {}

Vst3Host::~Vst3Host() { Unload(); }

bool Vst3Host::Fail(const std::string& message) {
  mError = message;
  return false;
}

// ---------------------------------------------------------------------------------------------
// Module and plug-in.

bool Vst3Host::Load(const std::string& bundlePath) {
  Unload();
  std::string error;
  // The SDK's loader would map a module cut short and end the process when touching it.
  const std::string moduleFile = Vst3ModuleFileOf(bundlePath);
  if (!moduleFile.empty() && !CheckModuleFile(moduleFile, error))
    return Fail("cannot load module '" + bundlePath + "': its module file '" + moduleFile + "' " + error);
  mModule = VST3::Hosting::Module::create(bundlePath, error);
  if (!mModule) return Fail("cannot load module '" + bundlePath + "': " + error);
  mError.clear();
  return true;
}

IPluginFactory* Vst3Host::Factory() const { return mModule ? mModule->getFactory().get().get() : nullptr; }

std::vector<VST3::Hosting::ClassInfo> Vst3Host::Classes() const {
  return mModule ? mModule->getFactory().classInfos() : std::vector<VST3::Hosting::ClassInfo>{};
}

bool Vst3Host::CreatePlugin() {
  ReleasePlugin();
  if (!mModule) return Fail("no module is loaded");
  for (const VST3::Hosting::ClassInfo& info : Classes()) {
    if (info.category() != kVstAudioEffectClass) continue;
    mComponent = mModule->getFactory().createInstance<Vst::IComponent>(info.ID());
    if (!mComponent) return Fail("the factory made no component of class '" + info.name() + "'");
    break;
  }
  if (!mComponent) return Fail("the module offers no audio effect class");
  mProcessor = FUnknownPtr<Vst::IAudioProcessor>(mComponent);
  mController = FUnknownPtr<Vst::IEditController>(mComponent);
  if (!mProcessor || !mController) {
    ReleasePlugin();
    return Fail("the component is not its own audio processor and edit controller");
  }
  if (mComponent->initialize(&mContext) != kResultOk) {
    ReleasePlugin();
    return Fail("the component refused to initialize");
  }
  mController->setComponentHandler(mHandler);
  mError.clear();
  return true;
}

void Vst3Host::ReleasePlugin() {
  if (!mComponent) return;
  Stop();
  if (mController) mController->setComponentHandler(nullptr);
  mComponent->terminate();
  mController = nullptr;
  mProcessor = nullptr;
  mComponent = nullptr;
  mChanges.clearQueue();
}

void Vst3Host::Unload() {
  ReleasePlugin();
  mModule.reset();
}

// ---------------------------------------------------------------------------------------------
// Configuration.

bool Vst3Host::Setup(double sampleRate, int32 maxBlock, int32 sampleSize, int32 processMode) {
  if (!mProcessor) return false;
  Vst::ProcessSetup setup{processMode, sampleSize, maxBlock, sampleRate};
  if (mProcessor->setupProcessing(setup) != kResultOk) return false;
  mProcessMode = processMode;
  return true;
}

bool Vst3Host::SetChannels(int inputs, int outputs) {
  if (!mProcessor) return false;
  Vst::SpeakerArrangement in = ArrangementFor(inputs);
  Vst::SpeakerArrangement out = ArrangementFor(outputs);
  return mProcessor->setBusArrangements(&in, 1, &out, 1) == kResultOk;
}

bool Vst3Host::Start() {
  if (!mComponent) return false;
  for (Vst::BusDirection direction : {Vst::kInput, Vst::kOutput}) {
    for (int32 i = 0, n = mComponent->getBusCount(Vst::kAudio, direction); i < n; ++i) {
      mComponent->activateBus(Vst::kAudio, direction, i, true);
    }
  }
  if (mComponent->setActive(true) != kResultOk) return false;
  // Processing may be switched on and off by its own call, which a plug-in need not implement.
  mProcessor->setProcessing(true);
  mStarted = true;
  return true;
}

void Vst3Host::Stop() {
  if (!mStarted) return;
  mProcessor->setProcessing(false);
  mComponent->setActive(false);
  mStarted = false;
}

// ---------------------------------------------------------------------------------------------
// Processing.

void Vst3Host::QueueParameter(Vst::ParamID id, double value, int32 sampleOffset) {
  int32 index = 0;
  if (Vst::IParamValueQueue* queue = mChanges.addParameterData(id, index)) {
    queue->addPoint(sampleOffset, value, index);
  }
}

void Vst3Host::SetProcessContext(const Vst::ProcessContext* context) {
  mHasProcessContext = context != nullptr;
  if (context) mProcessContext = *context;
}

template <class Sample>
tresult Vst3Host::ProcessBlock(Sample** inputs, int inChannels, Sample** outputs, int outChannels,
                               int32 frames, int32 sampleSize) {
  Vst::AudioBusBuffers in;
  in.numChannels = inChannels;
  Vst::AudioBusBuffers out;
  out.numChannels = outChannels;
  if constexpr (sizeof(Sample) == sizeof(float)) {
    in.channelBuffers32 = inputs;
    out.channelBuffers32 = outputs;
  } else {
    in.channelBuffers64 = inputs;
    out.channelBuffers64 = outputs;
  }
  Vst::ProcessData data;
  data.processMode = mProcessMode;
  data.symbolicSampleSize = sampleSize;
  data.numSamples = frames;
  data.numInputs = inputs || inChannels > 0 ? 1 : 0;
  data.numOutputs = outputs || outChannels > 0 ? 1 : 0;
  data.inputs = data.numInputs ? &in : nullptr;
  data.outputs = data.numOutputs ? &out : nullptr;
  return ProcessRaw(data);
}

tresult Vst3Host::Process(float** inputs, int inChannels, float** outputs, int outChannels, int32 frames) {
  return ProcessBlock(inputs, inChannels, outputs, outChannels, frames, Vst::kSample32);
}

tresult Vst3Host::Process(double** inputs, int inChannels, double** outputs, int outChannels, int32 frames) {
  return ProcessBlock(inputs, inChannels, outputs, outChannels, frames, Vst::kSample64);
}

tresult Vst3Host::ProcessRaw(Vst::ProcessData& data) {
  if (!mProcessor) return kNotInitialized;
  if (!data.inputParameterChanges) data.inputParameterChanges = &mChanges;
  if (!data.processContext && mHasProcessContext) data.processContext = &mProcessContext;
  const tresult result = mProcessor->process(data);
  mChanges.clearQueue();
  return result;
}

// ---------------------------------------------------------------------------------------------
// State.

std::vector<std::uint8_t> Vst3Host::GetState() {
  if (!mComponent) return {};
  MemoryStream stream;
  if (mComponent->getState(&stream) != kResultOk) return {};
  return BytesOf(stream);
}

tresult Vst3Host::SetState(const std::vector<std::uint8_t>& bytes) {
  if (!mComponent) return kNotInitialized;
  MemoryStream stream;
  Fill(stream, bytes);
  return mComponent->setState(&stream);
}

std::vector<std::uint8_t> Vst3Host::GetControllerState() {
  if (!mController) return {};
  MemoryStream stream;
  if (mController->getState(&stream) != kResultOk) return {};
  return BytesOf(stream);
}

tresult Vst3Host::SetControllerState(const std::vector<std::uint8_t>& bytes) {
  if (!mController) return kNotInitialized;
  MemoryStream stream;
  Fill(stream, bytes);
  return mController->setState(&stream);
}

// ---------------------------------------------------------------------------------------------
// Parameters.

int32 Vst3Host::ParamCount() const { return mController ? mController->getParameterCount() : 0; }

bool Vst3Host::ParamInfo(int32 index, Vst::ParameterInfo& info) const {
  return mController && mController->getParameterInfo(index, info) == kResultOk;
}

std::string Vst3Host::ParamText(Vst::ParamID id, double normalized) const {
  Vst::String128 text = {};
  if (!mController || mController->getParamStringByValue(id, normalized, text) != kResultOk) return {};
  return Vst::StringConvert::convert(text);
}

bool Vst3Host::ParamValueOfText(Vst::ParamID id, const std::string& text, double& normalized) const {
  Vst::String128 wide = {};
  if (!mController || !Vst::StringConvert::convert(text, wide, 128)) return false;
  Vst::ParamValue value = 0.0;
  if (mController->getParamValueByString(id, wide, value) != kResultOk) return false;
  normalized = value;
  return true;
}

}  // namespace brel
