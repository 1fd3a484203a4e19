// The host extensions a ClapHost offers: each records what the plug-in asked, and checks that a
// main-thread callback came from the main thread.
#include "hosts/clap/ClapHostServices.h"

#include <algorithm>
#include <cstring>

namespace brel {
namespace {

thread_local int tAudioDepth = 0;

using Services = ClapHost::Services;

const char* SeverityName(clap_log_severity severity) {
  switch (severity) {
    case CLAP_LOG_DEBUG: return "debug";
    case CLAP_LOG_INFO: return "info";
    case CLAP_LOG_WARNING: return "warning";
    case CLAP_LOG_ERROR: return "error";
    case CLAP_LOG_FATAL: return "fatal";
    case CLAP_LOG_HOST_MISBEHAVING: return "host misbehaving";
    case CLAP_LOG_PLUGIN_MISBEHAVING: return "plug-in misbehaving";
    default: return "unknown";
  }
}

// ---- clap_host

const void* CLAP_ABI GetExtension(const clap_host_t* host, const char* id) {
  if (!host || !id) return nullptr;
  Services& s = Services::Of(host);
  if (!std::strcmp(id, CLAP_EXT_LOG)) return &s.log;
  if (!std::strcmp(id, CLAP_EXT_THREAD_CHECK)) return &s.threadCheck;
  if (!std::strcmp(id, CLAP_EXT_PARAMS)) return &s.params;
  if (!std::strcmp(id, CLAP_EXT_STATE)) return &s.state;
  if (!std::strcmp(id, CLAP_EXT_LATENCY)) return &s.latency;
  if (!std::strcmp(id, CLAP_EXT_TAIL)) return &s.tail;
  if (!std::strcmp(id, CLAP_EXT_AUDIO_PORTS)) return &s.audioPorts;
  if (!std::strcmp(id, CLAP_EXT_GUI)) return &s.gui;
  if (!std::strcmp(id, CLAP_EXT_TIMER_SUPPORT)) return s.offerTimers ? &s.timerSupport : nullptr;
  if (!std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT)) return s.offerFds ? &s.fdSupport : nullptr;
  return nullptr;
}

void CLAP_ABI RequestRestart(const clap_host_t* host) {
  Services& s = Services::Of(host);
  std::lock_guard<std::mutex> hold(s.mutex);
  ++s.requests.restarts;
}

void CLAP_ABI RequestProcess(const clap_host_t* host) {
  Services& s = Services::Of(host);
  std::lock_guard<std::mutex> hold(s.mutex);
  ++s.requests.processRequests;
}

void CLAP_ABI RequestCallback(const clap_host_t* host) {
  Services& s = Services::Of(host);
  std::lock_guard<std::mutex> hold(s.mutex);
  ++s.requests.callbackRequests;
  s.callbackPending = true;
}

// ---- log, thread-check

void CLAP_ABI Log(const clap_host_t* host, clap_log_severity severity, const char* message) {
  Services& s = Services::Of(host);
  std::lock_guard<std::mutex> hold(s.mutex);
  s.requests.log.push_back(std::string(SeverityName(severity)) + ": " + (message ? message : ""));
}

bool CLAP_ABI IsMainThread(const clap_host_t* host) { return Services::Of(host).OnMainThread(); }
bool CLAP_ABI IsAudioThread(const clap_host_t*) { return Services::OnAudioThread(); }

// ---- params, state, latency, tail, audio-ports

void CLAP_ABI ParamsRescan(const clap_host_t* host, clap_param_rescan_flags flags) {
  Services& s = Services::Of(host);
  s.ExpectMainThread();
  std::lock_guard<std::mutex> hold(s.mutex);
  ++s.requests.paramRescans;
  s.requests.lastRescanFlags = flags;
}

void CLAP_ABI ParamsClear(const clap_host_t* host, clap_id, clap_param_clear_flags) {
  Services& s = Services::Of(host);
  s.ExpectMainThread();
  std::lock_guard<std::mutex> hold(s.mutex);
  ++s.requests.paramClears;
}

// [thread-safe, !audio-thread]
void CLAP_ABI ParamsRequestFlush(const clap_host_t* host) {
  Services& s = Services::Of(host);
  std::lock_guard<std::mutex> hold(s.mutex);
  if (Services::OnAudioThread()) ++s.requests.wrongThreadCalls;
  ++s.requests.paramFlushRequests;
  s.flushPending = true;
}

void CLAP_ABI StateMarkDirty(const clap_host_t* host) {
  Services& s = Services::Of(host);
  s.ExpectMainThread();
  std::lock_guard<std::mutex> hold(s.mutex);
  ++s.requests.stateDirty;
}

void CLAP_ABI LatencyChanged(const clap_host_t* host) {
  Services& s = Services::Of(host);
  s.ExpectMainThread();
  std::lock_guard<std::mutex> hold(s.mutex);
  ++s.requests.latencyChanges;
}

void CLAP_ABI TailChanged(const clap_host_t* host) {
  Services& s = Services::Of(host);
  std::lock_guard<std::mutex> hold(s.mutex);
  ++s.requests.tailChanges;
}

bool CLAP_ABI AudioPortsRescanSupported(const clap_host_t*, uint32_t) { return false; }
void CLAP_ABI AudioPortsRescan(const clap_host_t* host, uint32_t) { Services::Of(host).ExpectMainThread(); }

// ---- timer-support, posix-fd-support

bool CLAP_ABI RegisterTimer(const clap_host_t* host, uint32_t periodMs, clap_id* id) {
  Services& s = Services::Of(host);
  s.ExpectMainThread();
  if (!id) return false;
  std::lock_guard<std::mutex> hold(s.mutex);
  *id = s.nextTimerId++;
  s.timers.push_back({*id, periodMs});
  return true;
}

bool CLAP_ABI UnregisterTimer(const clap_host_t* host, clap_id id) {
  Services& s = Services::Of(host);
  s.ExpectMainThread();
  std::lock_guard<std::mutex> hold(s.mutex);
  const auto gone = std::remove_if(s.timers.begin(), s.timers.end(),
                                   [id](const ClapHost::Timer& timer) { return timer.id == id; });
  const bool found = gone != s.timers.end();
  s.timers.erase(gone, s.timers.end());
  return found;
}

bool CLAP_ABI RegisterFd(const clap_host_t* host, int fd, clap_posix_fd_flags_t flags) {
  Services& s = Services::Of(host);
  s.ExpectMainThread();
  std::lock_guard<std::mutex> hold(s.mutex);
  if (fd < 0) return false;
  for (const ClapHost::FdWatch& watch : s.fdWatches)
    if (watch.fd == fd) return false;
  s.fdWatches.push_back({fd, flags});
  return true;
}

bool CLAP_ABI ModifyFd(const clap_host_t* host, int fd, clap_posix_fd_flags_t flags) {
  Services& s = Services::Of(host);
  s.ExpectMainThread();
  std::lock_guard<std::mutex> hold(s.mutex);
  for (ClapHost::FdWatch& watch : s.fdWatches)
    if (watch.fd == fd) {
      watch.flags = flags;
      return true;
    }
  return false;
}

bool CLAP_ABI UnregisterFd(const clap_host_t* host, int fd) {
  Services& s = Services::Of(host);
  s.ExpectMainThread();
  std::lock_guard<std::mutex> hold(s.mutex);
  const auto gone = std::remove_if(s.fdWatches.begin(), s.fdWatches.end(),
                                   [fd](const ClapHost::FdWatch& watch) { return watch.fd == fd; });
  const bool found = gone != s.fdWatches.end();
  s.fdWatches.erase(gone, s.fdWatches.end());
  return found;
}

// ---- gui: every call is [thread-safe]; what was asked is recorded for tests to judge.

void CLAP_ABI GuiResizeHintsChanged(const clap_host_t* host) {
  Services& s = Services::Of(host);
  std::lock_guard<std::mutex> hold(s.mutex);
  ++s.requests.guiResizeHintChanges;
}

bool CLAP_ABI GuiRequestResize(const clap_host_t* host, uint32_t width, uint32_t height) {
  Services& s = Services::Of(host);
  std::lock_guard<std::mutex> hold(s.mutex);
  s.requests.guiResizeRequests.emplace_back(width, height);
  return false;
}

bool CLAP_ABI GuiRequestShow(const clap_host_t* host) {
  Services& s = Services::Of(host);
  std::lock_guard<std::mutex> hold(s.mutex);
  ++s.requests.guiShowRequests;
  return false;
}

bool CLAP_ABI GuiRequestHide(const clap_host_t* host) {
  Services& s = Services::Of(host);
  std::lock_guard<std::mutex> hold(s.mutex);
  ++s.requests.guiHideRequests;
  return false;
}

void CLAP_ABI GuiClosed(const clap_host_t* host, bool wasDestroyed) {
  Services& s = Services::Of(host);
  std::lock_guard<std::mutex> hold(s.mutex);
  ++s.requests.guiClosed;
  s.requests.guiDestroyedByPlugin = wasDestroyed;
}

bool CLAP_ABI TryPush(const clap_output_events_t* list, const clap_event_header_t* event) {
  if (!list || !event) return false;
  static_cast<Services*>(list->ctx)->Record(*event);
  return true;
}

}  // namespace

ClapHost::Services::Services(const std::string& hostName) : name(hostName) {
  host.clap_version = CLAP_VERSION;
  host.host_data = this;
  host.name = name.c_str();
  host.vendor = "Orrindale";
  host.url = "";
  host.version = "1.0";
  host.get_extension = GetExtension;
  host.request_restart = RequestRestart;
  host.request_process = RequestProcess;
  host.request_callback = RequestCallback;
  log.log = Log;
  threadCheck.is_main_thread = IsMainThread;
  threadCheck.is_audio_thread = IsAudioThread;
  params.rescan = ParamsRescan;
  params.clear = ParamsClear;
  params.request_flush = ParamsRequestFlush;
  state.mark_dirty = StateMarkDirty;
  latency.changed = LatencyChanged;
  tail.changed = TailChanged;
  audioPorts.is_rescan_flag_supported = AudioPortsRescanSupported;
  audioPorts.rescan = AudioPortsRescan;
  timerSupport.register_timer = RegisterTimer;
  timerSupport.unregister_timer = UnregisterTimer;
  fdSupport.register_fd = RegisterFd;
  fdSupport.modify_fd = ModifyFd;
  fdSupport.unregister_fd = UnregisterFd;
  gui.resize_hints_changed = GuiResizeHintsChanged;
  gui.request_resize = GuiRequestResize;
  gui.request_show = GuiRequestShow;
  gui.request_hide = GuiRequestHide;
  gui.closed = GuiClosed;
  outputList.ctx = this;
  outputList.try_push = TryPush;
}

bool ClapHost::Services::OnAudioThread() { return tAudioDepth > 0; }

void ClapHost::Services::ExpectMainThread() {
  if (OnMainThread()) return;
  std::lock_guard<std::mutex> hold(mutex);
  ++requests.wrongThreadCalls;
}

void ClapHost::Services::Record(const clap_event_header_t& event) {
  ClapOutputEvent out;
  out.time = event.time;
  if (event.space_id == CLAP_CORE_EVENT_SPACE_ID) {
    if (event.type == CLAP_EVENT_PARAM_VALUE && event.size >= sizeof(clap_event_param_value_t)) {
      const auto& value = reinterpret_cast<const clap_event_param_value_t&>(event);
      out.kind = ClapOutputEvent::Kind::Value;
      out.paramId = value.param_id;
      out.value = value.value;
    } else if ((event.type == CLAP_EVENT_PARAM_GESTURE_BEGIN || event.type == CLAP_EVENT_PARAM_GESTURE_END) &&
               event.size >= sizeof(clap_event_param_gesture_t)) {
      const auto& gesture = reinterpret_cast<const clap_event_param_gesture_t&>(event);
      out.kind = event.type == CLAP_EVENT_PARAM_GESTURE_BEGIN ? ClapOutputEvent::Kind::GestureBegin
                                                              : ClapOutputEvent::Kind::GestureEnd;
      out.paramId = gesture.param_id;
    }
  }
  std::lock_guard<std::mutex> hold(mutex);
  output.push_back(out);
}

AudioThreadScope::AudioThreadScope() { ++tAudioDepth; }
AudioThreadScope::~AudioThreadScope() { --tAudioDepth; }

}  // namespace brel
