// IPlugCLAP: construction, the plug-in record's life cycle, extension lookup, the requests made
// on the host's main thread and the thread checks of debug trees.

#include "adapters/clap/IPlugCLAP.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "adapters/clap/ClapAbi.h"
#include "core/AudioPath.h"

namespace {

template <class Extension>
const Extension* HostExtension(const clap_host_t* host, const char* id) {
  if (!host || !host->get_extension) return nullptr;
  return static_cast<const Extension*>(host->get_extension(host, id));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The plug-in record's entries.

struct ClapPluginAbi {
  static bool CLAP_ABI Init(const clap_plugin_t* plugin) noexcept {
    return Guarded(plugin, false, [](IPlugCLAP& plug) { return plug.Init(); });
  }
  static void CLAP_ABI Destroy(const clap_plugin_t* plugin) noexcept {
    IPlugCLAP* plug = PlugOf(plugin);
    if (!plug) return;
    GuardedCall(plugin, [](IPlugCLAP& p) { p.Destroy(); });
    delete plug;
  }
  static bool CLAP_ABI Activate(const clap_plugin_t* plugin, double rate, std::uint32_t minFrames,
                                std::uint32_t maxFrames) noexcept {
    return Guarded(plugin, false, [&](IPlugCLAP& plug) { return plug.Activate(rate, minFrames, maxFrames); });
  }
  static void CLAP_ABI Deactivate(const clap_plugin_t* plugin) noexcept {
    GuardedCall(plugin, [](IPlugCLAP& plug) { plug.Deactivate(); });
  }
  static bool CLAP_ABI StartProcessing(const clap_plugin_t* plugin) noexcept {
    return Guarded(plugin, false, [](IPlugCLAP& plug) { return plug.StartProcessing(); });
  }
  static void CLAP_ABI StopProcessing(const clap_plugin_t* plugin) noexcept {
    GuardedCall(plugin, [](IPlugCLAP& plug) { plug.StopProcessing(); });
  }
  static void CLAP_ABI Reset(const clap_plugin_t* plugin) noexcept {
    GuardedCall(plugin, [](IPlugCLAP& plug) { plug.Reset(); });
  }
  static clap_process_status CLAP_ABI Process(const clap_plugin_t* plugin,
                                              const clap_process_t* process) noexcept {
    if (!process) return CLAP_PROCESS_ERROR;
    return Guarded(plugin, clap_process_status{CLAP_PROCESS_ERROR},
                   [&](IPlugCLAP& plug) { return plug.Process(*process); });
  }
  static const void* CLAP_ABI GetExtension(const clap_plugin_t* plugin, const char* id) noexcept {
    if (!id) return nullptr;
    return Guarded(plugin, static_cast<const void*>(nullptr),
                   [&](IPlugCLAP& plug) { return plug.Extension(id); });
  }
  static void CLAP_ABI OnMainThread(const clap_plugin_t* plugin) noexcept {
    GuardedCall(plugin, [](IPlugCLAP& plug) { plug.OnMainThread(); });
  }

  // Our own request: the processed signal's delay.
  static std::int32_t CLAP_ABI ProcessedDelay(const clap_plugin_t* plugin) noexcept {
    return Guarded(plugin, std::int32_t{-1}, [](IPlugCLAP& plug) {
      plug.ExpectThread(ClapThread::Main, "processed-delay.get");
      IPlugBase::ScopedLock lock(plug);
      return static_cast<std::int32_t>(plug.GetProcessedDelay());
    });
  }
};

const ClapPluginProcessedDelay kClapProcessedDelay = {ClapPluginAbi::ProcessedDelay};

// ---------------------------------------------------------------------------------------------
// Construction.

IPlugCLAP::IPlugCLAP(const IPlugCLAPInstanceInfo& instanceInfo, int nParams, const char* channelIOStr,
                     int nPresets, const char* effectName, const char* productName, const char* makerName,
                     std::int32_t versionWord, std::int32_t uniqueId, std::int32_t makerId, bool stateChunks,
                     bool isInstrument, bool doesMidi)
    : IPlugBase(nParams, nPresets, channelIOStr, effectName, productName, makerName, versionWord, uniqueId,
                makerId, ApiId::Clap, stateChunks, isInstrument, doesMidi),
      mHost(instanceInfo.host),
      // The widest configuration, as the core's channels are made.
      mPortConfig(NChannelIOConfigs() > 0 ? NChannelIOConfigs() - 1 : 0),
      mFloatIn(static_cast<std::size_t>(NInChannels())),
      mFloatOut(static_cast<std::size_t>(NOutChannels())),
      mDoubleIn(static_cast<std::size_t>(NInChannels())),
      mDoubleOut(static_cast<std::size_t>(NOutChannels())) {
  mClap.desc = instanceInfo.descriptor;
  mClap.plugin_data = this;
  mClap.init = ClapPluginAbi::Init;
  mClap.destroy = ClapPluginAbi::Destroy;
  mClap.activate = ClapPluginAbi::Activate;
  mClap.deactivate = ClapPluginAbi::Deactivate;
  mClap.start_processing = ClapPluginAbi::StartProcessing;
  mClap.stop_processing = ClapPluginAbi::StopProcessing;
  mClap.reset = ClapPluginAbi::Reset;
  mClap.process = ClapPluginAbi::Process;
  mClap.get_extension = ClapPluginAbi::GetExtension;
  mClap.on_main_thread = ClapPluginAbi::OnMainThread;
}

IPlugCLAP::~IPlugCLAP() = default;

// ---------------------------------------------------------------------------------------------
// Life cycle.

// The host's extensions are asked for here, never while the factory makes the instance.
bool IPlugCLAP::Init() {
  ExpectThread(ClapThread::Main, "init");
  ScopedLock lock(*this);
  if (mInitialized) return false;
  const auto* log = HostExtension<clap_host_log_t>(mHost, CLAP_EXT_LOG);
  mHostExt.log = log && log->log ? log : nullptr;
  const auto* check = HostExtension<clap_host_thread_check_t>(mHost, CLAP_EXT_THREAD_CHECK);
  mHostExt.threadCheck = check && check->is_main_thread && check->is_audio_thread ? check : nullptr;
  const auto* params = HostExtension<clap_host_params_t>(mHost, CLAP_EXT_PARAMS);
  mHostExt.params = params && params->rescan && params->request_flush ? params : nullptr;
  mPump.BindHost(mHost);
  SetHostIdentity(IdentifyHost(mHost ? mHost->name : nullptr), 0);
  OnHostKnown();
  LoadPreset(0);
  mInitialized = true;
  return true;
}

// A host that forgets the editor or the activation has both undone before the instance goes.
void IPlugCLAP::Destroy() {
  ExpectThread(ClapThread::Main, "destroy");
  GuiDestroy();
  Deactivate();
}

bool IPlugCLAP::Activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames) {
  ExpectThread(ClapThread::Main, "activate");
  if (!std::isfinite(sampleRate) || sampleRate <= 0.0 || minFrames < 1 || maxFrames < minFrames ||
      maxFrames > static_cast<std::uint32_t>(INT32_MAX))
    return false;
  ScopedLock lock(*this);
  if (!mInitialized || mActive) return false;
  if (!SetSampleRateFromHost(sampleRate) || !SetBlockSizeFromHost(maxFrames)) return false;
  SetActiveFromHost(true);
  mActive = true;
  return true;
}

void IPlugCLAP::Deactivate() {
  ExpectThread(ClapThread::Main, "deactivate");
  ScopedLock lock(*this);
  if (!mActive) return;
  mProcessing = false;
  mActive = false;
  SetActiveFromHost(false);
}

bool IPlugCLAP::StartProcessing() {
  ExpectThread(ClapThread::Audio, "start_processing");
  ScopedLock lock(*this);
  if (!mActive) return false;
  mProcessing = true;
  return true;
}

void IPlugCLAP::StopProcessing() {
  ExpectThread(ClapThread::Audio, "stop_processing");
  ScopedLock lock(*this);
  mProcessing = false;
}

void IPlugCLAP::Reset() {
  ExpectThread(ClapThread::Audio, "reset");
  ScopedLock lock(*this);
  OnReset();
}

const void* IPlugCLAP::Extension(const char* id) const {
  struct Entry {
    const char* id;
    const void* table;
  };
  static const Entry kExtensions[] = {
      {CLAP_EXT_PARAMS, &kClapParams},
      {CLAP_EXT_AUDIO_PORTS, &kClapAudioPorts},
      {CLAP_EXT_AUDIO_PORTS_CONFIG, &kClapAudioPortsConfig},
      {CLAP_EXT_STATE, &kClapState},
      {CLAP_EXT_TAIL, &kClapTail},
      {CLAP_EXT_GUI, &kClapGui},
      {CLAP_EXT_TIMER_SUPPORT, &kClapTimerSupport},
      {CLAP_EXT_POSIX_FD_SUPPORT, &kClapPosixFdSupport},
      {CLAP_EXT_REMOTE_CONTROLS, &kClapRemoteControls},
      {CLAP_EXT_REMOTE_CONTROLS_COMPAT, &kClapRemoteControls},
      {kClapExtProcessedDelay, &kClapProcessedDelay},
  };
  for (const Entry& entry : kExtensions)
    if (std::strcmp(entry.id, id) == 0) return entry.table;
  return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Requests on the host's main thread.

void IPlugCLAP::OnMainThread() {
  ExpectThread(ClapThread::Main, "on_main_thread");
  RunRequests(mPendingRequests.exchange(0));
}

// From the audio thread a request waits for the host's main-thread callback.
void IPlugCLAP::RequestOnMainThread(unsigned requests) {
  if (!OnAudioThread()) {
    RunRequests(requests);
    return;
  }
  mPendingRequests.fetch_or(requests);
  if (mHost && mHost->request_callback) mHost->request_callback(mHost);
}

void IPlugCLAP::RunRequests(unsigned requests) {
  const clap_host_params_t* params = mHostExt.params;
  if (!params) return;
  if (requests & kRescanValues) params->rescan(mHost, CLAP_PARAM_RESCAN_VALUES | CLAP_PARAM_RESCAN_TEXT);
  if (requests & kRequestFlush) params->request_flush(mHost);
}

bool IPlugCLAP::OnAudioThread() const {
  if (AudioPathScope::IsActive()) return true;
  const clap_host_thread_check_t* check = mHostExt.threadCheck;
  return check && check->is_audio_thread(mHost);
}

// ---------------------------------------------------------------------------------------------
// Thread checks.

void IPlugCLAP::ExpectThread(ClapThread expected, const char* call) const {
#ifndef NDEBUG
  const clap_host_thread_check_t* check = mHostExt.threadCheck;
  if (!check) return;
  const bool main = expected == ClapThread::Main;
  if (main ? check->is_main_thread(mHost) : check->is_audio_thread(mHost)) return;
  char message[160];
  std::snprintf(message, sizeof message, "%s called outside the %s thread", call, main ? "main" : "audio");
  LogHostMisbehaving(message);
#endif
}

// flush belongs to the audio thread while the plug-in is active, to the main thread otherwise.
void IPlugCLAP::ExpectParamThread(const char* call) const {
  ExpectThread(mActive ? ClapThread::Audio : ClapThread::Main, call);
}

void IPlugCLAP::LogHostMisbehaving(const char* message) const {
  if (mHostExt.log) mHostExt.log->log(mHost, CLAP_LOG_HOST_MISBEHAVING, message);
}
