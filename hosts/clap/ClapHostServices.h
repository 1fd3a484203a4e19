#pragma once
// What a ClapHost offers its plug-in: the clap_host record and the host extensions, with what the
// plug-in asked of them recorded under one lock (a plug-in may call from its audio thread).

#include <clap/clap.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "hosts/clap/ClapHost.h"

namespace brel {

struct ClapHost::Services {
  explicit Services(const std::string& hostName);

  static Services& Of(const clap_host_t* host) { return *static_cast<Services*>(host->host_data); }

  // The host's main thread is the one that made it; the audio thread is whichever is inside
  // Process (see AudioThreadScope).
  bool OnMainThread() const { return std::this_thread::get_id() == mainThread; }
  static bool OnAudioThread();
  // Counts a callback whose rules ask for the main thread but was called elsewhere.
  void ExpectMainThread();
  void Record(const clap_event_header_t& event);
  // The out_events list of process and flush: every event pushed is recorded.
  const clap_output_events_t* OutputList() const { return &outputList; }

  std::string name;
  clap_host_t host{};
  clap_host_log_t log{};
  clap_host_thread_check_t threadCheck{};
  clap_host_params_t params{};
  clap_host_state_t state{};
  clap_host_latency_t latency{};
  clap_host_tail_t tail{};
  clap_host_audio_ports_t audioPorts{};
  clap_host_timer_support_t timerSupport{};
  clap_host_posix_fd_support_t fdSupport{};
  clap_host_gui_t gui{};
  clap_output_events_t outputList{};

  std::thread::id mainThread = std::this_thread::get_id();
  bool offerTimers = true;
  bool offerFds = true;

  mutable std::mutex mutex;  // guards everything below
  ClapHostRequests requests;
  std::vector<Timer> timers;
  clap_id nextTimerId = 1;
  std::vector<FdWatch> fdWatches;
  std::vector<ClapOutputEvent> output;
  bool callbackPending = false;
  bool flushPending = false;
};

// The calling thread is the host's audio thread while one exists.
class AudioThreadScope {
public:
  AudioThreadScope();
  ~AudioThreadScope();
  AudioThreadScope(const AudioThreadScope&) = delete;
  AudioThreadScope& operator=(const AudioThreadScope&) = delete;
};

// The descriptors of `watches` that are ready within waitMs, with what they are ready for. One
// implementation per platform: poll on Linux, which waits the whole waitMs when none is ready or
// none is watched; Windows has no descriptors to watch and returns at once.
std::vector<ClapHost::FdWatch> ReadyDescriptors(const std::vector<ClapHost::FdWatch>& watches, int waitMs);

}  // namespace brel
