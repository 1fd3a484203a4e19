#include "tools/brelvane/VstPluginPort.h"

#include <cstring>

#include "adapters/vst2/VstVendorOpcodes.h"
#include "hosts/vst2/VstHost.h"

namespace brel::cmd {
namespace {

constexpr std::size_t kTextRoom = 256;

class VstPluginPort final : public PluginPort {
public:
  VstPluginPort() {
    HostSettings settings;
    settings.productString = "brelvane render";
    settings.processLevel = kVstProcessLevelOffline;
    settings.recording = false;  // a render keeps no history of the plug-in's calls
    mHost.SetSettings(settings);
  }

  bool Load(const std::string& path, std::string& error) {
    if (mHost.Load(path)) return true;
    error = mHost.LastError();
    return false;
  }

  std::string EffectName() override { return mHost.EffectName(); }
  std::string VendorName() override { return mHost.VendorString(); }

  void Open() override { mHost.Open(); }
  void SetSampleRate(float rate) override { mHost.SetSampleRate(rate); }
  void SetBlockSize(int frames) override { mHost.SetBlockSize(frames); }
  bool SetChannels(int channels) override {
    return mHost.SetSpeakerArrangement(VstHost::MakeArrangement(channels),
                                       VstHost::MakeArrangement(channels));
  }
  void Resume() override { mHost.Resume(); }
  void Suspend() override { mHost.Suspend(); }
  void Close() override { mHost.Close(); }

  int ParamCount() override { return mHost.NumParams(); }
  std::string ParamName(int index) override { return mHost.ParamName(index); }
  std::string ParamLabel(int index) override { return mHost.ParamLabel(index); }
  float GetParameter(int index) override { return mHost.GetParameter(index); }
  void SetParameter(int index, float normalized) override { mHost.SetParameter(index, normalized); }
  bool SetParameterText(int index, const std::string& text) override {
    return mHost.String2Parameter(index, text);
  }

  bool FormatNormalized(int index, float normalized, std::string& text) override {
    char buffer[kTextRoom] = {};
    if (mHost.VendorSpecific(kVendorFormatNormalized, index, buffer, normalized) == kVendorAnswer) {
      text.assign(buffer, strnlen(buffer, sizeof buffer));
      return true;
    }
    // A plug-in without the private opcode shows only its current value: set, read, restore.
    float saved = mHost.GetParameter(index);
    mHost.SetParameter(index, normalized);
    text = mHost.ParamDisplay(index);
    mHost.SetParameter(index, saved);
    return true;
  }

  bool IsRealValued(int index) override {
    return mHost.VendorSpecific(kVendorIsStepped, index, nullptr, 0.0f) != kVendorAnswer;
  }

  std::vector<std::uint8_t> ProgramChunk() override { return mHost.GetChunk(VstHost::ChunkKind::Program); }
  bool SetProgramChunk(const std::vector<std::uint8_t>& chunk) override {
    return mHost.SetChunk(VstHost::ChunkKind::Program, chunk);
  }

  int ProcessedDelay() override {
    VstInt32 delay = -1;
    if (mHost.VendorSpecific(kVendorProcessedDelay, 0, &delay, 0.0f) != kVendorAnswer) return -1;
    return delay >= 0 ? delay : -1;
  }

  int InputCount() override { return mHost.NumInputs(); }
  int OutputCount() override { return mHost.NumOutputs(); }
  bool CanProcessDouble() override { return (mHost.Flags() & effFlagsCanDoubleReplacing) != 0; }
  bool Process(float** inputs, float** outputs, int frames) override {
    return mHost.ProcessReplacing(inputs, outputs, frames);
  }
  bool Process(double** inputs, double** outputs, int frames) override {
    return mHost.ProcessDoubleReplacing(inputs, outputs, frames);
  }

private:
  VstHost mHost;
};

}  // namespace

std::unique_ptr<PluginPort> LoadVstPlugin(const std::string& path, std::string& error) {
  auto port = std::make_unique<VstPluginPort>();
  if (!port->Load(path, error)) return nullptr;
  return port;
}

}  // namespace brel::cmd
