#pragma once
// The plug-in as the command drives it: the few host calls a render and a parameter listing
// need, in the plug-in's own terms (normalized values, display strings, program chunks).
// VstPluginPort implements it over the VST2 host library; tests substitute a fake.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace brel::cmd {

class PluginPort {
public:
  virtual ~PluginPort() = default;

  virtual std::string effectName() = 0;
  virtual std::string vendorName() = 0;

  virtual void open() = 0;
  virtual void setSampleRate(float rate) = 0;
  virtual void setBlockSize(int frames) = 0;
  // One-in/one-out for 1 channel, two-in/two-out for 2; false when the plug-in refuses.
  virtual bool setChannels(int channels) = 0;
  virtual void resume() = 0;
  virtual void suspend() = 0;
  virtual void close() = 0;

  virtual int paramCount() = 0;
  virtual std::string paramName(int index) = 0;
  virtual std::string paramLabel(int index) = 0;
  virtual float getParameter(int index) = 0;
  virtual void setParameter(int index, float normalized) = 0;
  // The plug-in parses `text` itself; false when it rejects it.
  virtual bool setParameterText(int index, const std::string& text) = 0;
  // The display string of `normalized` for the parameter, without changing the parameter.
  virtual bool formatNormalized(int index, float normalized, std::string& text) = 0;
  // Takes any real value in its range (rather than whole numbers only).
  virtual bool isRealValued(int index) = 0;

  virtual std::vector<std::uint8_t> programChunk() = 0;
  virtual bool setProgramChunk(const std::vector<std::uint8_t>& chunk) = 0;

  // Channel pointers each processing call needs (the plug-in's declared counts).
  virtual int inputCount() = 0;
  virtual int outputCount() = 0;
  virtual bool canProcessDouble() = 0;
  virtual bool process(float** inputs, float** outputs, int frames) = 0;
  virtual bool process(double** inputs, double** outputs, int frames) = 0;
};

}  // namespace brel::cmd
