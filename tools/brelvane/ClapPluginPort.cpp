#include "tools/brelvane/ClapPluginPort.h"

#include <cmath>
#include <cstring>

#include "adapters/clap/ClapVendorExtension.h"
#include "hosts/clap/ClapHost.h"
#include "tools/brelvane/ParamTable.h"

namespace brel::cmd {
namespace {

// The command speaks of a parameter's position in 0..1, as the VST interfaces do; CLAP speaks
// of plain values in each parameter's range. Every parameter of ours is linear, so the two map
// onto each other by the range alone.
double PlainOf(const clap_param_info_t& info, double normalized) {
  return normalized * (info.max_value - info.min_value) + info.min_value;
}

double NormalizedOf(const clap_param_info_t& info, double plain) {
  const double span = info.max_value - info.min_value;
  return span > 0.0 ? (plain - info.min_value) / span : 0.0;
}

bool Stepped(const clap_param_info_t& info) { return (info.flags & CLAP_PARAM_IS_STEPPED) != 0; }

// A display text that is a number and a unit ("12.50 dB") splits into the two.
bool SplitUnit(const std::string& text, std::string& number, std::string& unit) {
  const std::string::size_type space = text.rfind(' ');
  double v = 0.0;
  if (space == std::string::npos || !ParseNumber(text.substr(0, space), v)) return false;
  number = text.substr(0, space);
  unit = Trimmed(text.substr(space + 1));
  return !unit.empty();
}

class ClapPluginPort final : public PluginPort {
public:
  ClapPluginPort() : mHost("brelvane render") {}

  bool Load(const std::string& path, std::string& error) {
    if (!mHost.Load(path) || !mHost.CreatePlugin()) {
      error = mHost.LastError();
      return false;
    }
    clap_param_info_t info{};
    for (std::uint32_t i = 0; mHost.ParamInfo(i, info); ++i) mParams.push_back(info);
    mLabels.resize(mParams.size());
    for (std::size_t i = 0; i < mParams.size(); ++i) {
      std::string text, number;
      if (mHost.ParamText(mParams[i].id, mParams[i].default_value, text)) SplitUnit(text, number, mLabels[i]);
    }
    return true;
  }

  std::string EffectName() override { return Descriptor() ? Descriptor()->name : ""; }
  std::string VendorName() override {
    return Descriptor() && Descriptor()->vendor ? Descriptor()->vendor : "";
  }

  void Open() override {}
  void SetSampleRate(float rate) override { mSampleRate = rate; }
  void SetBlockSize(int frames) override { mBlockSize = frames; }
  // The configuration with `channels` main channels in and out, chosen while inactive.
  bool SetChannels(int channels) override {
    const auto* configs = mHost.ExtensionAs<clap_plugin_audio_ports_config_t>(CLAP_EXT_AUDIO_PORTS_CONFIG);
    if (!configs) return channels == MainChannels(true) && channels == MainChannels(false);
    for (std::uint32_t i = 0, n = configs->count(mHost.Plugin()); i < n; ++i) {
      clap_audio_ports_config_t config{};
      if (!configs->get(mHost.Plugin(), i, &config)) continue;
      if (config.main_input_channel_count == static_cast<std::uint32_t>(channels) &&
          config.main_output_channel_count == static_cast<std::uint32_t>(channels))
        return configs->select(mHost.Plugin(), config.id);
    }
    return false;
  }
  void Resume() override { mResumed = Running(); }
  void Suspend() override {
    mHost.Deactivate();
    mResumed = false;
  }
  void Close() override { mHost.ReleasePlugin(); }

  int ParamCount() override { return static_cast<int>(mParams.size()); }
  std::string ParamName(int index) override { return Valid(index) ? mParams[index].name : ""; }
  std::string ParamLabel(int index) override { return Valid(index) ? mLabels[index] : ""; }
  float GetParameter(int index) override {
    double plain = 0.0;
    if (!Valid(index) || !mHost.ParamValue(mParams[index].id, plain)) return 0.0f;
    return static_cast<float>(NormalizedOf(mParams[index], plain));
  }
  void SetParameter(int index, float normalized) override {
    if (!Valid(index)) return;
    const double plain = PlainOf(mParams[index], normalized);
    Set(index, Stepped(mParams[index]) ? std::round(plain) : plain);
  }
  bool SetParameterText(int index, const std::string& text) override {
    double plain = 0.0;
    if (!Valid(index) || !mHost.ParamValueOfText(mParams[index].id, text, plain)) return false;
    Set(index, plain);
    return true;
  }
  bool FormatNormalized(int index, float normalized, std::string& text) override {
    if (!Valid(index) || !mHost.ParamText(mParams[index].id, PlainOf(mParams[index], normalized), text))
      return false;
    std::string number, unit;
    if (SplitUnit(text, number, unit)) text = number;
    return true;
  }
  bool IsRealValued(int index) override { return Valid(index) && !Stepped(mParams[index]); }
  bool PlainRange(int index, double& min, double& max) override {
    if (!Valid(index)) return false;
    min = mParams[index].min_value;
    max = mParams[index].max_value;
    return true;
  }

  // The state a CLAP host stores: the same bytes as the VST2 module's program chunk.
  std::vector<std::uint8_t> ProgramChunk() override {
    std::vector<std::uint8_t> bytes;
    mHost.SaveState(bytes);
    return bytes;
  }
  bool SetProgramChunk(const std::vector<std::uint8_t>& chunk) override { return mHost.LoadState(chunk); }

  // The plug-in learns the rate when it is activated.
  int ProcessedDelay() override {
    const auto* delay = mHost.ExtensionAs<ClapPluginProcessedDelay>(kClapExtProcessedDelay);
    if (!delay || !delay->get) return -1;
    if (!mHost.IsActive()) mHost.Activate(mSampleRate, 1, static_cast<std::uint32_t>(mBlockSize));
    const std::int32_t samples = delay->get(mHost.Plugin());
    return samples >= 0 ? samples : -1;
  }

  int InputCount() override { return MainChannels(true); }
  int OutputCount() override { return MainChannels(false); }
  bool CanProcessDouble() override {
    clap_audio_port_info_t info{};
    return MainPort(false, info) && (info.flags & CLAP_AUDIO_PORT_SUPPORTS_64BITS);
  }
  bool Process(float** inputs, float** outputs, int frames) override {
    return Render(inputs, outputs, frames);
  }
  bool Process(double** inputs, double** outputs, int frames) override {
    return Render(inputs, outputs, frames);
  }

private:
  const clap_plugin_descriptor_t* Descriptor() const {
    return mHost.Plugin() ? mHost.Plugin()->desc : nullptr;
  }
  bool Valid(int index) const { return index >= 0 && index < static_cast<int>(mParams.size()); }

  // Outside processing the value is flushed to the plug-in at once; while it runs, it goes with
  // the next block, at its first frame.
  void Set(int index, double plain) {
    mHost.QueueParamValue(mParams[index].id, plain, 0);
    if (!mHost.IsProcessing()) mHost.Flush();
  }

  bool MainPort(bool input, clap_audio_port_info_t& info) const {
    const auto* ports = mHost.ExtensionAs<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
    return ports && ports->count(mHost.Plugin(), input) > 0 && ports->get(mHost.Plugin(), 0, input, &info);
  }

  int MainChannels(bool input) const {
    clap_audio_port_info_t info{};
    return MainPort(input, info) ? static_cast<int>(info.channel_count) : 0;
  }

  bool Running() {
    if (!mHost.IsActive() && !mHost.Activate(mSampleRate, 1, static_cast<std::uint32_t>(mBlockSize)))
      return false;
    return mHost.StartProcessing();
  }

  template <class Sample>
  bool Render(Sample** inputs, Sample** outputs, int frames) {
    if (!mResumed || !Running()) return false;
    const clap_process_status status =
        mHost.Process(inputs, InputCount(), outputs, OutputCount(), static_cast<std::uint32_t>(frames));
    return status != CLAP_PROCESS_ERROR;
  }

  brel::ClapHost mHost;
  std::vector<clap_param_info_t> mParams;
  std::vector<std::string> mLabels;
  double mSampleRate = 44100.0;
  int mBlockSize = 512;
  bool mResumed = false;
};

}  // namespace

std::unique_ptr<PluginPort> LoadClapPlugin(const std::string& path, std::string& error) {
  auto port = std::make_unique<ClapPluginPort>();
  if (!port->Load(path, error)) return nullptr;
  return port;
}

}  // namespace brel::cmd
