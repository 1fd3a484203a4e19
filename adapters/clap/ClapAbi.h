#pragma once
// What the adapter's static entries share: finding the instance behind a record the host hands
// back, and a guard that keeps every exception inside the module. Each extension's table is
// defined with its entries, in the file of its concern.

#include <clap/clap.h>

#include "adapters/clap/ClapVendorExtension.h"
#include "adapters/clap/IPlugCLAP.h"

// The instance behind a plug-in record, or null for a record that is none of ours.
inline IPlugCLAP* PlugOf(const clap_plugin_t* plugin) noexcept {
  if (!plugin || !plugin->plugin_data) return nullptr;
  auto* plug = static_cast<IPlugCLAP*>(plugin->plugin_data);
  return plug->ClapPlugin() == plugin ? plug : nullptr;
}

// Runs body on the instance; a record that is none of ours, or a throw (out of memory), answers
// `failure`: an exception must never unwind into the host.
template <class Result, class Body>
Result Guarded(const clap_plugin_t* plugin, Result failure, Body&& body) noexcept {
  IPlugCLAP* plug = PlugOf(plugin);
  if (!plug) return failure;
  try {
    return body(*plug);
  } catch (...) {
    return failure;
  }
}

template <class Body>
void GuardedCall(const clap_plugin_t* plugin, Body&& body) noexcept {
  IPlugCLAP* plug = PlugOf(plugin);
  if (!plug) return;
  try {
    body(*plug);
  } catch (...) {}
}

extern const clap_plugin_params_t kClapParams;
extern const clap_plugin_remote_controls_t kClapRemoteControls;
extern const clap_plugin_audio_ports_t kClapAudioPorts;
extern const clap_plugin_audio_ports_config_t kClapAudioPortsConfig;
extern const clap_plugin_tail_t kClapTail;
extern const clap_plugin_state_t kClapState;
extern const clap_plugin_gui_t kClapGui;
extern const clap_plugin_timer_support_t kClapTimerSupport;
extern const clap_plugin_posix_fd_support_t kClapPosixFdSupport;
extern const ClapPluginProcessedDelay kClapProcessedDelay;
