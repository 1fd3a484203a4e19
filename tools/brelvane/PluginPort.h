#pragma once
// The plug-in as the command drives it: the few host calls a render and a parameter listing
// need, in the plug-in's own terms (normalized values, display strings, program chunks).
// VstPluginPort implements it over the VST2 host library; tests substitute a fake.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace brel::cmd {

// The parameters alone, as a host reaches them: what probing the parameter table and setting
// values need. A plug-in built in-process offers this much too (see `snapshot`).
class ParamPort {
public:
  virtual ~ParamPort() = default;

  virtual int ParamCount() = 0;
  virtual std::string ParamName(int index) = 0;
  virtual std::string ParamLabel(int index) = 0;
  virtual float GetParameter(int index) = 0;
  virtual void SetParameter(int index, float normalized) = 0;
  // The plug-in parses `text` itself; false when it rejects it.
  virtual bool SetParameterText(int index, const std::string& text) = 0;
  // The display string of `normalized` for the parameter, without changing the parameter.
  virtual bool FormatNormalized(int index, float normalized, std::string& text) = 0;
  // Takes any real value in its range (rather than whole numbers only).
  virtual bool IsRealValued(int index) = 0;
  // The plain values at the ends of the range, where the interface tells them (VST3 does);
  // false where they must be read off display strings instead.
  virtual bool PlainRange(int index, double& min, double& max) { return false; }
};

class PluginPort : public ParamPort {
public:
  virtual std::string EffectName() = 0;
  virtual std::string VendorName() = 0;

  virtual void Open() = 0;
  virtual void SetSampleRate(float rate) = 0;
  virtual void SetBlockSize(int frames) = 0;
  // One-in/one-out for 1 channel, two-in/two-out for 2; false when the plug-in refuses.
  virtual bool SetChannels(int channels) = 0;
  virtual void Resume() = 0;
  virtual void Suspend() = 0;
  virtual void Close() = 0;

  virtual std::vector<std::uint8_t> ProgramChunk() = 0;
  virtual bool SetProgramChunk(const std::vector<std::uint8_t>& chunk) = 0;

  // The samples by which the output lags the input at the plug-in's current settings and sample
  // rate, as the plug-in itself tells it; -1 when it does not (another plug-in, an older build).
  virtual int ProcessedDelay() = 0;

  // Channel pointers each processing call needs (the plug-in's declared counts).
  virtual int InputCount() = 0;
  virtual int OutputCount() = 0;
  virtual bool CanProcessDouble() = 0;
  virtual bool Process(float** inputs, float** outputs, int frames) = 0;
  virtual bool Process(double** inputs, double** outputs, int frames) = 0;
};

}  // namespace brel::cmd
