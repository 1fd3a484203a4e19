#pragma once
// The parameters of a plug-in built in-process, reached through the core's host operations as
// an adapter reaches them for its host, so `snapshot` reads and sets values exactly as `render`
// does through a module.
#include "tools/brelvane/PluginPort.h"

class IPlugBase;

namespace brel::cmd {

class InProcessParamPort final : public ParamPort {
public:
  explicit InProcessParamPort(IPlugBase& plug) : mPlug(plug) {}

  int ParamCount() override;
  std::string ParamName(int index) override;
  std::string ParamLabel(int index) override;
  float GetParameter(int index) override;
  void SetParameter(int index, float normalized) override;
  bool SetParameterText(int index, const std::string& text) override;
  bool FormatNormalized(int index, float normalized, std::string& text) override;
  bool IsRealValued(int index) override;

private:
  IPlugBase& mPlug;
};

}  // namespace brel::cmd
