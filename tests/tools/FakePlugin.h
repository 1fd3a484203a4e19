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
// is on, else in. The delay it tells is `processedDelay`, whatever its audio does.
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
  int processedDelay = 0;  // what it tells a host; -1: it does not tell

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
  int ProcessedDelay() override { return processedDelay; }

  int InputCount() override { return 2; }
  int OutputCount() override { return 2; }
  bool CanProcessDouble() override { return offerDouble; }
  bool Process(float** inputs, float** outputs, int frames) override;
  bool Process(double** inputs, double** outputs, int frames) override;

  double Gain() const;
  static std::string Format(const FakeParam& p, double plain);

private:
  template <typename T>
  void Run(T** inputs, T** outputs, int frames, const char* kind);
  void LogValue(int index);
};

// Lends a plug-in that the test keeps to code that takes ownership of its plug-in.
class BorrowedPlugin final : public PluginPort {
public:
  explicit BorrowedPlugin(PluginPort& p) : mP(p) {}
  std::string EffectName() override { return mP.EffectName(); }
  std::string VendorName() override { return mP.VendorName(); }
  void Open() override { mP.Open(); }
  void SetSampleRate(float rate) override { mP.SetSampleRate(rate); }
  void SetBlockSize(int frames) override { mP.SetBlockSize(frames); }
  bool SetChannels(int channels) override { return mP.SetChannels(channels); }
  void Resume() override { mP.Resume(); }
  void Suspend() override { mP.Suspend(); }
  void Close() override { mP.Close(); }
  int ParamCount() override { return mP.ParamCount(); }
  std::string ParamName(int i) override { return mP.ParamName(i); }
  std::string ParamLabel(int i) override { return mP.ParamLabel(i); }
  float GetParameter(int i) override { return mP.GetParameter(i); }
  void SetParameter(int i, float v) override { mP.SetParameter(i, v); }
  bool SetParameterText(int i, const std::string& t) override { return mP.SetParameterText(i, t); }
  bool FormatNormalized(int i, float v, std::string& t) override { return mP.FormatNormalized(i, v, t); }
  bool IsRealValued(int i) override { return mP.IsRealValued(i); }
  std::vector<std::uint8_t> ProgramChunk() override { return mP.ProgramChunk(); }
  bool SetProgramChunk(const std::vector<std::uint8_t>& c) override { return mP.SetProgramChunk(c); }
  int ProcessedDelay() override { return mP.ProcessedDelay(); }
  int InputCount() override { return mP.InputCount(); }
  int OutputCount() override { return mP.OutputCount(); }
  bool CanProcessDouble() override { return mP.CanProcessDouble(); }
  bool Process(float** in, float** out, int n) override { return mP.Process(in, out, n); }
  bool Process(double** in, double** out, int n) override { return mP.Process(in, out, n); }

private:
  PluginPort& mP;
};

}  // namespace brel::cmd::test
