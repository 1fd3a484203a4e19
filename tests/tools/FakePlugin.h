#pragma once
// A plug-in stand-in for the command's tests: parameters that format, parse and round the way
// the plug-in's host interface does, a gain stage as its audio, and a log of every host call.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/brelvane/PluginPort.h"

namespace brel::cmd::test {

struct FakeParam {
  std::string name;
  std::string label;
  bool real = true;
  double min = 0.0, max = 1.0, defaultValue = 0.0;
  int precision = 0;
  std::vector<std::pair<int, std::string>> texts;
  double value = 0.0;
};

// Parameters: 0 "Gain" (real, -30..20 dB, default 0), 1 "LowCut" (real, 20..300 Hz, default
// 100), 2 "Power" (on/off, default on), 3 "Mode" (0..4 shown A A B C D, default 1),
// 4 "Steps" (-3..3, -3 shown "min", default 0). Audio: out = in * 10^(Gain/20) while Power
// is on, else in.
class FakePlugin final : public PluginPort {
public:
  FakePlugin();

  std::vector<std::string> log;  // every host call, in order ("open", "process 512", ...)
  std::vector<FakeParam> params;
  std::vector<std::uint8_t> lastChunkSet;
  bool rejectChunks = false;
  bool offerDouble = true;
  bool monoInputClean = true;  // in mono, the unused input stayed silent
  int channels = 2;

  // Log lines for parameter changes read "set Gain=-6" with the stored value.
  std::string EffectName() override { return "Fake"; }
  std::string VendorName() override { return "Tests"; }
  void Open() override { log.push_back("open"); }
  void SetSampleRate(float rate) override;
  void SetBlockSize(int frames) override;
  bool SetChannels(int channels) override;
  void Resume() override { log.push_back("resume"); }
  void Suspend() override { log.push_back("suspend"); }
  void Close() override { log.push_back("close"); }

  int ParamCount() override { return static_cast<int>(params.size()); }
  std::string ParamName(int index) override { return params[index].name; }
  std::string ParamLabel(int index) override { return params[index].label; }
  float GetParameter(int index) override;
  void SetParameter(int index, float normalized) override;
  bool SetParameterText(int index, const std::string& text) override;
  bool FormatNormalized(int index, float normalized, std::string& text) override;
  bool IsRealValued(int index) override { return params[index].real; }

  std::vector<std::uint8_t> ProgramChunk() override;
  bool SetProgramChunk(const std::vector<std::uint8_t>& chunk) override;

  int InputCount() override { return 2; }
  int OutputCount() override { return 2; }
  bool CanProcessDouble() override { return offerDouble; }
  bool Process(float** inputs, float** outputs, int frames) override;
  bool Process(double** inputs, double** outputs, int frames) override;

  double gain() const;
  static std::string format(const FakeParam& p, double plain);

private:
  template <typename T>
  void run(T** inputs, T** outputs, int frames, const char* kind);
  void logValue(int index);
};

// Lends a plug-in that the test keeps to code that takes ownership of its plug-in.
class BorrowedPlugin final : public PluginPort {
public:
  explicit BorrowedPlugin(PluginPort& p) : p_(p) {}
  std::string EffectName() override { return p_.EffectName(); }
  std::string VendorName() override { return p_.VendorName(); }
  void Open() override { p_.Open(); }
  void SetSampleRate(float rate) override { p_.SetSampleRate(rate); }
  void SetBlockSize(int frames) override { p_.SetBlockSize(frames); }
  bool SetChannels(int channels) override { return p_.SetChannels(channels); }
  void Resume() override { p_.Resume(); }
  void Suspend() override { p_.Suspend(); }
  void Close() override { p_.Close(); }
  int ParamCount() override { return p_.ParamCount(); }
  std::string ParamName(int i) override { return p_.ParamName(i); }
  std::string ParamLabel(int i) override { return p_.ParamLabel(i); }
  float GetParameter(int i) override { return p_.GetParameter(i); }
  void SetParameter(int i, float v) override { p_.SetParameter(i, v); }
  bool SetParameterText(int i, const std::string& t) override { return p_.SetParameterText(i, t); }
  bool FormatNormalized(int i, float v, std::string& t) override { return p_.FormatNormalized(i, v, t); }
  bool IsRealValued(int i) override { return p_.IsRealValued(i); }
  std::vector<std::uint8_t> ProgramChunk() override { return p_.ProgramChunk(); }
  bool SetProgramChunk(const std::vector<std::uint8_t>& c) override { return p_.SetProgramChunk(c); }
  int InputCount() override { return p_.InputCount(); }
  int OutputCount() override { return p_.OutputCount(); }
  bool CanProcessDouble() override { return p_.CanProcessDouble(); }
  bool Process(float** in, float** out, int n) override { return p_.Process(in, out, n); }
  bool Process(double** in, double** out, int n) override { return p_.Process(in, out, n); }

private:
  PluginPort& p_;
};

}  // namespace brel::cmd::test
