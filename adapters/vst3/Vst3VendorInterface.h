#pragma once
// The plug-in's own request beyond the VST 3 interfaces: an interface of ours that the component
// answers through queryInterface, where any other component answers kNoInterface. Shared by the
// module and the hosts that ask it, as the VST2 module's vendor opcodes are.
#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/base/funknownimpl.h"

class IVendorProcessedDelay : public Steinberg::FUnknown {
public:
  // The samples by which the output lags the input at the plug-in's current settings and at the
  // sample rate of its processing setup; -1 when the plug-in cannot tell.
  virtual Steinberg::int32 PLUGIN_API getProcessedDelay() = 0;

  using IID = Steinberg::FUnknownImpl::UID<0x4793E1AB, 0x802C4CDF, 0xA3233B0E, 0xF3A79DD0>;
};
