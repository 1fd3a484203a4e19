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
    host_.SetSettings(settings);
  }

  bool load(const std::string& path, std::string& error) {
    if (host_.Load(path)) return true;
    error = host_.LastError();
    return false;
  }

  std::string effectName() override { return host_.EffectName(); }
  std::string vendorName() override { return host_.VendorString(); }

  void open() override { host_.Open(); }
  void setSampleRate(float rate) override { host_.SetSampleRate(rate); }
  void setBlockSize(int frames) override { host_.SetBlockSize(frames); }
  bool setChannels(int channels) override {
    return host_.SetSpeakerArrangement(VstHost::MakeArrangement(channels),
                                       VstHost::MakeArrangement(channels));
  }
  void resume() override { host_.Resume(); }
  void suspend() override { host_.Suspend(); }
  void close() override { host_.Close(); }

  int paramCount() override { return host_.NumParams(); }
  std::string paramName(int index) override { return host_.ParamName(index); }
  std::string paramLabel(int index) override { return host_.ParamLabel(index); }
  float getParameter(int index) override { return host_.GetParameter(index); }
  void setParameter(int index, float normalized) override { host_.SetParameter(index, normalized); }
  bool setParameterText(int index, const std::string& text) override {
    return host_.String2Parameter(index, text);
  }

  bool formatNormalized(int index, float normalized, std::string& text) override {
    char buffer[kTextRoom] = {};
    if (host_.VendorSpecific(kVendorFormatNormalized, index, buffer, normalized) == kVendorAnswer) {
      text.assign(buffer, strnlen(buffer, sizeof buffer));
      return true;
    }
    // A plug-in without the private opcode shows only its current value: set, read, restore.
    float saved = host_.GetParameter(index);
    host_.SetParameter(index, normalized);
    text = host_.ParamDisplay(index);
    host_.SetParameter(index, saved);
    return true;
  }

  bool isRealValued(int index) override {
    return host_.VendorSpecific(kVendorIsStepped, index, nullptr, 0.0f) != kVendorAnswer;
  }

  std::vector<std::uint8_t> programChunk() override { return host_.GetChunk(VstHost::ChunkKind::Program); }
  bool setProgramChunk(const std::vector<std::uint8_t>& chunk) override {
    return host_.SetChunk(VstHost::ChunkKind::Program, chunk);
  }

  int inputCount() override { return host_.NumInputs(); }
  int outputCount() override { return host_.NumOutputs(); }
  bool canProcessDouble() override { return (host_.Flags() & effFlagsCanDoubleReplacing) != 0; }
  bool process(float** inputs, float** outputs, int frames) override {
    return host_.ProcessReplacing(inputs, outputs, frames);
  }
  bool process(double** inputs, double** outputs, int frames) override {
    return host_.ProcessDoubleReplacing(inputs, outputs, frames);
  }

private:
  VstHost host_;
};

}  // namespace

std::unique_ptr<PluginPort> loadVstPlugin(const std::string& path, std::string& error) {
  auto port = std::make_unique<VstPluginPort>();
  if (!port->load(path, error)) return nullptr;
  return port;
}

}  // namespace brel::cmd
