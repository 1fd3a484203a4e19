#include "tools/brelvane/Vst3PluginPort.h"

#include <cmath>

#include "adapters/vst3/Vst3VendorInterface.h"
#include "hosts/vst3/Vst3Host.h"
#include "public.sdk/source/vst/utility/stringconvert.h"

namespace brel::cmd {
namespace {

using Steinberg::Vst::ParameterInfo;
using Steinberg::Vst::ParamID;

// The port's parameters are the plug-in's own: the host's program-change and bypass parameters
// are left out, so indexes mean what they mean to the VST2 module.
bool IsOwnParameter(const ParameterInfo& info) {
  return (info.flags & (ParameterInfo::kIsProgramChange | ParameterInfo::kIsBypass)) == 0;
}

std::string Text(const Steinberg::Vst::TChar* text) { return Steinberg::Vst::StringConvert::convert(text); }

class Vst3PluginPort final : public PluginPort {
public:
  Vst3PluginPort() : mHost("brelvane render") {}

  // The plug-in exists from here on, as a VST2 plug-in does once its entry point has run.
  bool Load(const std::string& path, std::string& error) {
    if (!mHost.Load(path) || !mHost.CreatePlugin()) {
      error = mHost.LastError();
      return false;
    }
    ParameterInfo info{};
    for (Steinberg::int32 i = 0; mHost.ParamInfo(i, info); ++i) {
      if (IsOwnParameter(info)) mParams.push_back(info);
    }
    return true;
  }

  std::string EffectName() override { return mHost.Classes().front().name(); }
  std::string VendorName() override { return mHost.Classes().front().vendor(); }

  void Open() override {}
  void SetSampleRate(float rate) override { mSampleRate = rate; }
  void SetBlockSize(int frames) override { mBlockSize = frames; }
  bool SetChannels(int channels) override { return mHost.SetChannels(channels, channels); }
  // The setup waits for the first block, which says whether it comes in 32 or 64 bits.
  void Resume() override { mResumed = true; }
  void Suspend() override {
    mHost.Stop();
    mResumed = false;
  }
  void Close() override { mHost.ReleasePlugin(); }

  int ParamCount() override { return static_cast<int>(mParams.size()); }
  std::string ParamName(int index) override { return Valid(index) ? Text(mParams[index].title) : ""; }
  std::string ParamLabel(int index) override { return Valid(index) ? Text(mParams[index].units) : ""; }
  float GetParameter(int index) override {
    return Valid(index) ? static_cast<float>(mHost.Controller()->getParamNormalized(Id(index))) : 0.0f;
  }
  void SetParameter(int index, float normalized) override {
    if (Valid(index)) Set(Id(index), normalized);
  }
  // A VST3 host hands a typed value over as the normalized value the plug-in reads it as.
  bool SetParameterText(int index, const std::string& text) override {
    double normalized = 0.0;
    if (!Valid(index) || !mHost.ParamValueOfText(Id(index), text, normalized)) return false;
    Set(Id(index), normalized);
    return true;
  }
  bool FormatNormalized(int index, float normalized, std::string& text) override {
    if (!Valid(index)) return false;
    text = mHost.ParamText(Id(index), normalized);
    return true;
  }
  bool IsRealValued(int index) override { return Valid(index) && mParams[index].stepCount == 0; }
  // Display strings stop at the ends of the range, so the range is the interface's own answer.
  bool PlainRange(int index, double& min, double& max) override {
    if (!Valid(index)) return false;
    min = mHost.Controller()->normalizedParamToPlain(Id(index), 0.0);
    max = mHost.Controller()->normalizedParamToPlain(Id(index), 1.0);
    return std::isfinite(min) && std::isfinite(max);
  }

  // The state the plug-in hands a VST3 host.
  std::vector<std::uint8_t> ProgramChunk() override { return mHost.GetState(); }
  bool SetProgramChunk(const std::vector<std::uint8_t>& chunk) override {
    return mHost.SetState(chunk) == Steinberg::kResultOk;
  }

  // The component learns the rate from the processing setup, which otherwise waits for the first
  // block; a setup now is replaced by that block's, with nothing processed in between.
  int ProcessedDelay() override {
    Steinberg::FUnknownPtr<IVendorProcessedDelay> plugin(mHost.Component());
    if (!plugin) return -1;
    if (!mHost.IsStarted())
      mHost.Setup(mSampleRate, mBlockSize, Steinberg::Vst::kSample32, Steinberg::Vst::kOffline);
    const Steinberg::int32 delay = plugin->getProcessedDelay();
    return delay >= 0 ? delay : -1;
  }

  int InputCount() override { return BusChannels(Steinberg::Vst::kInput); }
  int OutputCount() override { return BusChannels(Steinberg::Vst::kOutput); }
  bool CanProcessDouble() override {
    return mHost.Processor()->canProcessSampleSize(Steinberg::Vst::kSample64) == Steinberg::kResultOk;
  }
  bool Process(float** inputs, float** outputs, int frames) override {
    return Running(Steinberg::Vst::kSample32) &&
           mHost.Process(inputs, InputCount(), outputs, OutputCount(), frames) == Steinberg::kResultOk;
  }
  bool Process(double** inputs, double** outputs, int frames) override {
    return Running(Steinberg::Vst::kSample64) &&
           mHost.Process(inputs, InputCount(), outputs, OutputCount(), frames) == Steinberg::kResultOk;
  }

private:
  bool Valid(int index) const { return index >= 0 && index < static_cast<int>(mParams.size()); }
  ParamID Id(int index) const { return mParams[index].id; }

  // The controller shows the value at once; the processor takes it with the next block.
  void Set(ParamID id, double normalized) {
    mHost.Controller()->setParamNormalized(id, normalized);
    mHost.QueueParameter(id, normalized);
  }

  int BusChannels(Steinberg::Vst::BusDirection direction) {
    Steinberg::Vst::BusInfo bus{};
    if (mHost.Component()->getBusInfo(Steinberg::Vst::kAudio, direction, 0, bus) != Steinberg::kResultOk)
      return 0;
    return bus.channelCount;
  }

  bool Running(Steinberg::int32 sampleSize) {
    if (!mResumed) return false;
    if (mHost.IsStarted() && sampleSize == mSampleSize) return true;
    mHost.Stop();
    if (!mHost.Setup(mSampleRate, mBlockSize, sampleSize, Steinberg::Vst::kOffline) || !mHost.Start())
      return false;
    mSampleSize = sampleSize;
    return true;
  }

  brel::Vst3Host mHost;
  std::vector<ParameterInfo> mParams;
  double mSampleRate = 44100.0;
  int mBlockSize = 512;
  bool mResumed = false;
  Steinberg::int32 mSampleSize = -1;
};

}  // namespace

std::unique_ptr<PluginPort> LoadVst3Plugin(const std::string& path, std::string& error) {
  auto port = std::make_unique<Vst3PluginPort>();
  if (!port->Load(path, error)) return nullptr;
  return port;
}

}  // namespace brel::cmd
