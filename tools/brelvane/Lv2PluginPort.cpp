#include "tools/brelvane/Lv2PluginPort.h"

#include <cmath>

#include "BrelvaneRelease.h"
#include "adapters/lv2/Lv2VendorExtension.h"
#include "hosts/lv2/Lv2Host.h"
#include "tools/brelvane/ParamTable.h"
#include "tools/brelvane/ValueResolver.h"

namespace brel::cmd {
namespace {

// The rate a bundle is first instantiated at, before the command knows the input's.
constexpr double kFirstRate = 44100.0;
constexpr std::uint32_t kTextSize = 64;

// The command speaks of a parameter's position in 0..1, as the VST interfaces do; an LV2 control
// port carries the plain value in its range. Every parameter of ours is linear, so the two map
// onto each other by the range alone.
double PlainOf(const Lv2PortInfo& port, double normalized) {
  return port.min + normalized * (port.max - port.min);
}

double NormalizedOf(const Lv2PortInfo& port, double plain) {
  const double span = static_cast<double>(port.max) - port.min;
  return span > 0.0 ? (plain - port.min) / span : 0.0;
}

bool Stepped(const Lv2PortInfo& port) { return port.toggled || port.integer; }

class Lv2PluginPort final : public PluginPort {
public:
  bool Load(const std::string& path, std::string& error) {
    if (!mHost.LoadBundle(path) || !Instantiate(release::kLv2StereoUri, kFirstRate)) {
      error = mHost.LastError();
      return false;
    }
    return true;
  }

  std::string EffectName() override { return mHost.PluginName(); }
  std::string VendorName() override { return mHost.AuthorName(); }

  void Open() override {}
  // LV2 gives a plug-in its rate when it is instantiated, so another rate is another instance.
  void SetSampleRate(float rate) override {
    mRate = rate;
    if (rate != mHost.SampleRate()) Reinstantiate(mUri, rate);
  }
  void SetBlockSize(int frames) override {
    if (frames > 0) mHost.SetBlockSize(static_cast<std::uint32_t>(frames));
  }
  // The bundle's two plug-ins are its two channel layouts.
  bool SetChannels(int channels) override {
    if (channels != 1 && channels != 2) return false;
    const std::string uri = channels == 1 ? release::kLv2MonoUri : release::kLv2StereoUri;
    return (uri == mHost.PluginUri() && mRate == mHost.SampleRate()) || Reinstantiate(uri, mRate);
  }
  void Resume() override { mResumed = mHost.Activate(); }
  void Suspend() override {
    mHost.Deactivate();
    mResumed = false;
  }
  void Close() override { mHost.Release(); }

  int ParamCount() override { return static_cast<int>(mParams.size()); }
  std::string ParamName(int index) override { return Valid(index) ? Port(index).name : ""; }
  std::string ParamLabel(int index) override { return Valid(index) ? mLabels[index] : ""; }
  float GetParameter(int index) override {
    if (!Valid(index)) return 0.0f;
    Settle();
    const double plain =
        Private() ? Private()->paramValue(mHost.Handle(), Param(index)) : mHost.Control(mParams[index]);
    return static_cast<float>(NormalizedOf(Port(index), plain));
  }
  void SetParameter(int index, float normalized) override {
    if (Valid(index)) SetPlain(index, PlainOf(Port(index), normalized));
  }
  bool SetParameterText(int index, const std::string& text) override {
    double plain = 0.0;
    if (!Valid(index) || !Parse(index, text, plain)) return false;
    SetPlain(index, plain);
    return true;
  }
  bool FormatNormalized(int index, float normalized, std::string& text) override {
    std::string label;
    return Valid(index) && Format(index, PlainOf(Port(index), normalized), text, label);
  }
  bool IsRealValued(int index) override { return Valid(index) && !Stepped(Port(index)); }
  bool PlainRange(int index, double& min, double& max) override {
    if (!Valid(index) || std::isnan(Port(index).min) || std::isnan(Port(index).max)) return false;
    min = Port(index).min;
    max = Port(index).max;
    return true;
  }

  // The same bytes as the VST2 module's program chunk: LV2 has no program of its own.
  std::vector<std::uint8_t> ProgramChunk() override {
    if (!Private()) return {};
    Settle();
    std::vector<std::uint8_t> chunk(Private()->saveChunk(mHost.Handle(), nullptr, 0));
    const auto size = static_cast<std::uint32_t>(chunk.size());
    if (chunk.empty() || Private()->saveChunk(mHost.Handle(), chunk.data(), size) != size) return {};
    return chunk;
  }
  // The ports then carry the loaded values as floats, which the plug-in takes for the values it
  // holds, so a loaded double that no float carries stays exact.
  bool SetProgramChunk(const std::vector<std::uint8_t>& chunk) override {
    if (!Private() || chunk.size() > UINT32_MAX) return false;
    const bool loaded =
        Private()->loadChunk(mHost.Handle(), chunk.data(), static_cast<std::uint32_t>(chunk.size()));
    for (std::size_t i = 0; i < mParams.size(); ++i)
      mHost.SetControl(mParams[i], static_cast<float>(Private()->paramValue(mHost.Handle(), Param(i))));
    return loaded;
  }

  int ProcessedDelay() override {
    if (!Private()) return -1;
    Settle();
    const std::int32_t samples = Private()->processedDelay(mHost.Handle());
    return samples >= 0 ? samples : -1;
  }

  int InputCount() override { return static_cast<int>(mHost.AudioInputCount()); }
  int OutputCount() override { return static_cast<int>(mHost.AudioOutputCount()); }
  // LV2 audio is 32-bit only.
  bool CanProcessDouble() override { return false; }
  bool Process(float** inputs, float** outputs, int frames) override {
    if (!mResumed || frames < 0) return false;
    mPending = false;
    return mHost.Run(inputs, outputs, static_cast<std::uint32_t>(frames));
  }
  bool Process(double**, double**, int) override { return false; }

private:
  bool Valid(int index) const { return index >= 0 && index < static_cast<int>(mParams.size()); }
  const Lv2PortInfo& Port(int index) const { return mHost.Ports()[mParams[static_cast<std::size_t>(index)]]; }
  // The plug-in numbers its parameters as its control inputs come.
  static std::uint32_t Param(std::size_t index) { return static_cast<std::uint32_t>(index); }
  const Lv2BrelvanePrivate* Private() const { return mHost.Private(release::kLv2PrivateUri); }

  // The plug-in and rate asked for are kept when an instance fails, so the next request retries
  // them rather than what no longer exists.
  bool Instantiate(const std::string& uri, double rate) {
    mUri = uri;
    mRate = rate;
    const std::uint32_t block = mHost.BlockSize() > 0 ? mHost.BlockSize() : 512;
    mParams.clear();
    if (!mHost.Instantiate(uri, rate, block) || !mHost.Activate()) return false;
    for (const Lv2PortInfo& port : mHost.Ports())
      if (port.control && port.input) mParams.push_back(port.index);
    mLabels.assign(mParams.size(), "");
    for (std::size_t i = 0; i < mParams.size(); ++i) {
      std::string text;
      Format(static_cast<int>(i), Port(static_cast<int>(i)).defaultValue, text, mLabels[i]);
    }
    mPending = false;
    return true;
  }

  // The values move to the new instance as the program chunk carries them.
  bool Reinstantiate(const std::string& uri, double rate) {
    const std::vector<std::uint8_t> chunk = ProgramChunk();
    if (!Instantiate(uri, rate)) return false;
    return chunk.empty() || SetProgramChunk(chunk);
  }

  void SetPlain(int index, double plain) {
    mHost.SetControl(mParams[static_cast<std::size_t>(index)], static_cast<float>(plain));
    mPending = true;
  }

  // The plug-in takes its ports' values when it runs; a block of no frames hands them over
  // before it is asked what it holds.
  void Settle() {
    if (!mPending || !mHost.Activate()) return;
    mHost.Run(nullptr, nullptr, 0);
    mPending = false;
  }

  // The plug-in's own display text, or without its table a scale point's label or the number.
  bool Format(int index, double plain, std::string& text, std::string& label) {
    if (Private()) {
      char shown[kTextSize] = {}, unit[kTextSize] = {};
      if (!Private()->formatValue(mHost.Handle(), Param(index), plain, shown, unit, kTextSize)) return false;
      text = shown;
      label = unit;
      return true;
    }
    for (const Lv2ScalePoint& point : Port(index).scalePoints)
      if (point.value == static_cast<float>(plain)) {
        text = point.label;
        return true;
      }
    text = ExactDecimal(plain);
    return true;
  }

  bool Parse(int index, const std::string& text, double& plain) {
    if (Private()) return Private()->parseValue(mHost.Handle(), Param(index), text.c_str(), &plain);
    for (const Lv2ScalePoint& point : Port(index).scalePoints)
      if (point.label == text) {
        plain = point.value;
        return true;
      }
    return ParseNumber(text, plain);
  }

  Lv2Host mHost;
  std::vector<std::uint32_t> mParams;  // the control inputs' port indices
  std::vector<std::string> mLabels;
  std::string mUri;
  double mRate = kFirstRate;
  bool mPending = false;  // a port moved since the plug-in last ran
  bool mResumed = false;
};

}  // namespace

std::unique_ptr<PluginPort> LoadLv2Plugin(const std::string& path, std::string& error) {
  auto port = std::make_unique<Lv2PluginPort>();
  if (!port->Load(path, error)) return nullptr;
  return port;
}

}  // namespace brel::cmd
