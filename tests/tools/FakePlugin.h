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
  std::string effectName() override { return "Fake"; }
  std::string vendorName() override { return "Tests"; }
  void open() override { log.push_back("open"); }
  void setSampleRate(float rate) override;
  void setBlockSize(int frames) override;
  bool setChannels(int channels) override;
  void resume() override { log.push_back("resume"); }
  void suspend() override { log.push_back("suspend"); }
  void close() override { log.push_back("close"); }

  int paramCount() override { return static_cast<int>(params.size()); }
  std::string paramName(int index) override { return params[index].name; }
  std::string paramLabel(int index) override { return params[index].label; }
  float getParameter(int index) override;
  void setParameter(int index, float normalized) override;
  bool setParameterText(int index, const std::string& text) override;
  bool formatNormalized(int index, float normalized, std::string& text) override;
  bool isRealValued(int index) override { return params[index].real; }

  std::vector<std::uint8_t> programChunk() override;
  bool setProgramChunk(const std::vector<std::uint8_t>& chunk) override;

  int inputCount() override { return 2; }
  int outputCount() override { return 2; }
  bool canProcessDouble() override { return offerDouble; }
  bool process(float** inputs, float** outputs, int frames) override;
  bool process(double** inputs, double** outputs, int frames) override;

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
  std::string effectName() override { return p_.effectName(); }
  std::string vendorName() override { return p_.vendorName(); }
  void open() override { p_.open(); }
  void setSampleRate(float rate) override { p_.setSampleRate(rate); }
  void setBlockSize(int frames) override { p_.setBlockSize(frames); }
  bool setChannels(int channels) override { return p_.setChannels(channels); }
  void resume() override { p_.resume(); }
  void suspend() override { p_.suspend(); }
  void close() override { p_.close(); }
  int paramCount() override { return p_.paramCount(); }
  std::string paramName(int i) override { return p_.paramName(i); }
  std::string paramLabel(int i) override { return p_.paramLabel(i); }
  float getParameter(int i) override { return p_.getParameter(i); }
  void setParameter(int i, float v) override { p_.setParameter(i, v); }
  bool setParameterText(int i, const std::string& t) override { return p_.setParameterText(i, t); }
  bool formatNormalized(int i, float v, std::string& t) override { return p_.formatNormalized(i, v, t); }
  bool isRealValued(int i) override { return p_.isRealValued(i); }
  std::vector<std::uint8_t> programChunk() override { return p_.programChunk(); }
  bool setProgramChunk(const std::vector<std::uint8_t>& c) override { return p_.setProgramChunk(c); }
  int inputCount() override { return p_.inputCount(); }
  int outputCount() override { return p_.outputCount(); }
  bool canProcessDouble() override { return p_.canProcessDouble(); }
  bool process(float** in, float** out, int n) override { return p_.process(in, out, n); }
  bool process(double** in, double** out, int n) override { return p_.process(in, out, n); }

private:
  PluginPort& p_;
};

}  // namespace brel::cmd::test
