#pragma once
// What only our own hosts ask a Brelvane CLAP module, beyond what CLAP offers, as the VST2 vendor
// opcodes and the VST3 interface of ours do for those modules: the processed signal's delay at
// the plug-in's current settings and sample rate. Written once here, read by the module and by
// the command.

#include <clap/clap.h>

#include <cstdint>

static constexpr const char kClapExtProcessedDelay[] = "com.orrindale.brelvane/processed-delay";

struct ClapPluginProcessedDelay {
  // Samples, or -1 when the plug-in cannot tell. [main-thread]
  std::int32_t(CLAP_ABI* get)(const clap_plugin_t* plugin);
};
