#pragma once
// The host context a VST3 plug-in gets at initialize: the SDK's host application (messages,
// attribute lists, interface support) under a product name of our choosing, so tests can
// impersonate a particular host.

#include <string>

#include "public.sdk/source/vst/hosting/hostclasses.h"

namespace brel {

class Vst3HostContext : public Steinberg::Vst::HostApplication {
public:
  explicit Vst3HostContext(std::string productName) : mProductName(std::move(productName)) {}

  // The name, as UTF-16, cut to what the host's buffer holds.
  Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override;

private:
  std::string mProductName;
};

}  // namespace brel
