#pragma once
// A small CLAP host for one plug-in instance: loads a .clap module (its file checked first),
// enters it (clap_entry init, deinit on unload), reads its plug-in factory, creates and
// initializes the first plug-in (or the one with a given id) and drives it: activation, processing
// of 32-bit or 64-bit blocks with input events at their frames, parameters, state through streams
// that may take or give any number of bytes per call, and the main-thread callbacks it asks for.
// The host offers the plug-in log, thread-check, params, state, latency, tail, audio-ports, gui,
// timer-support and posix-fd-support, and records what the plug-in asked of each, so tests can
// check it. Used by tests, the command and benchmarks.
//
// The thread that made the host is its main thread; a thread inside Process() is its audio
// thread. Every call is safe in every state: before a successful Load and CreatePlugin, or after
// ReleasePlugin, calls answer false, an error or nothing and do not reach the plug-in. Failures
// are reported by false with a one-line message in LastError(); nothing throws.

#include <clap/clap.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "hosts/module/LoadedModule.h"

namespace brel {

class ClapEventList;

// An event the plug-in sent the host: from process (out_events) or from params flush.
struct ClapOutputEvent {
  enum class Kind { GestureBegin, Value, GestureEnd, Other };
  Kind kind = Kind::Other;
  clap_id paramId = CLAP_INVALID_ID;
  double value = 0.0;  // Value only: the plain value
  std::uint32_t time = 0;
};

// What the plug-in asked of the host's extensions, in counts, for tests.
struct ClapHostRequests {
  int paramRescans = 0;
  std::uint32_t lastRescanFlags = 0;
  int paramClears = 0;
  int paramFlushRequests = 0;
  int stateDirty = 0;
  int latencyChanges = 0;
  int tailChanges = 0;
  int restarts = 0;
  int processRequests = 0;
  int callbackRequests = 0;
  int mainThreadCalls = 0;       // on_main_thread calls the host made for them
  int wrongThreadCalls = 0;      // host callbacks reached from a thread their rules forbid
  std::vector<std::string> log;  // "severity: message"
  // gui: what the editor asked of the host's window. The host refuses resizes, shows and hides
  // it did not start (its window keeps the size the editor gave when it was made).
  int guiResizeHintChanges = 0;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> guiResizeRequests;  // width, height
  int guiShowRequests = 0;
  int guiHideRequests = 0;
  int guiClosed = 0;
  bool guiDestroyedByPlugin = false;  // the last closed said the gui was destroyed
};

class ClapHost {
public:
  explicit ClapHost(const std::string& hostName = "Brelvane Host");
  ~ClapHost();  // Unload()
  ClapHost(const ClapHost&) = delete;
  ClapHost& operator=(const ClapHost&) = delete;

  // --- Module and factory --------------------------------------------------------------------
  // Loads the module file and calls its entry's init with the file's path; a loaded host unloads
  // first.
  bool Load(const std::string& modulePath);
  const std::string& LastError() const { return mError; }
  bool IsLoaded() const { return mEntry != nullptr; }
  const clap_plugin_entry_t* Entry() const { return mEntry; }
  const clap_plugin_factory_t* Factory() const { return mFactory; }
  std::vector<const clap_plugin_descriptor_t*> Descriptors() const;

  // --- The plug-in ---------------------------------------------------------------------------
  // Creates the plug-in with this id (the first one when empty) and calls its init.
  bool CreatePlugin(const std::string& pluginId = "");
  // Stops processing, deactivates and destroys the plug-in.
  void ReleasePlugin();
  void Unload();  // ReleasePlugin(), entry deinit, then releases the module
  bool HasPlugin() const { return mPlugin != nullptr; }
  const clap_plugin_t* Plugin() const { return mPlugin; }
  const clap_host_t* Host() const;
  // The plug-in's extension of this id, or null.
  const void* Extension(const char* id) const;
  template <class T>
  const T* ExtensionAs(const char* id) const {
    return static_cast<const T*>(Extension(id));
  }

  // --- Activation and processing -------------------------------------------------------------
  bool Activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames);
  void Deactivate();
  bool IsActive() const { return mActive; }
  // start_processing, as the audio thread would; false when the plug-in refuses.
  bool StartProcessing();
  void StopProcessing();
  bool IsProcessing() const { return mProcessing; }

  // A parameter value event (a plain value) for the next Process call, at frame `time`; the
  // events are handed over sorted by time, as CLAP requires.
  void QueueParamValue(clap_id id, double value, std::uint32_t time = 0);
  // A header-only event appended as given, unsorted: for hostile shapes (unknown space, short
  // size, a time out of order).
  void QueueRawEvent(const clap_event_header_t& event);
  // One block on audio port 0 in and out, inChannels and outChannels channel pointers each (a
  // null array with a count of 0 passes no port). The queued events go with it and are cleared.
  // The calling thread counts as the audio thread for its duration. Answers the plug-in's status,
  // or CLAP_PROCESS_ERROR without a plug-in.
  clap_process_status Process(float** inputs, int inChannels, float** outputs, int outChannels,
                              std::uint32_t frames, std::uint64_t constantInputMask = 0);
  clap_process_status Process(double** inputs, int inChannels, double** outputs, int outChannels,
                              std::uint32_t frames, std::uint64_t constantInputMask = 0);
  // Events the plug-in sent since the last Clear; thread-safe.
  std::vector<ClapOutputEvent> OutputEvents() const;
  void ClearOutputEvents();

  // --- Parameters (through the plug-in's params extension) ------------------------------------
  std::uint32_t ParamCount() const;
  bool ParamInfo(std::uint32_t index, clap_param_info_t& info) const;
  bool ParamValue(clap_id id, double& value) const;
  // The display text for a plain value; false when the plug-in refuses.
  bool ParamText(clap_id id, double value, std::string& text) const;
  // The plain value a typed text stands for; false when the plug-in refuses it.
  bool ParamValueOfText(clap_id id, const std::string& text, double& value) const;
  // params flush with the queued events, outside processing (on the main thread while inactive);
  // what the plug-in sends back goes to OutputEvents.
  void Flush();
  // Flush() when the plug-in asked for one (request_flush) since the last: what a host whose
  // audio does not run answers the request with. Whether it flushed.
  bool FlushWhenRequested();

  // --- State (through the plug-in's state extension) -----------------------------------------
  // Saves the state through a stream that takes at most bytesPerCall bytes per call (0: all it
  // is given); empty with LastError set when the plug-in refuses. A stream that fails after
  // failAfter bytes (0: never) shows what a full disk does.
  bool SaveState(std::vector<std::uint8_t>& bytes, std::size_t bytesPerCall = 0, std::size_t failAfter = 0);
  // Loads bytes through a stream that gives at most bytesPerCall bytes per call (0: all it is
  // asked for). The plug-in's answer.
  bool LoadState(const std::vector<std::uint8_t>& bytes, std::size_t bytesPerCall = 0);

  // --- Main thread -----------------------------------------------------------------------------
  // Calls on_main_thread when the plug-in asked for a callback since the last call.
  void RunMainThreadCallbacks();
  ClapHostRequests Requests() const;

  // --- What the host's timer-support and posix-fd-support hold (the editor's loop) -----------
  struct Timer {
    clap_id id;
    std::uint32_t periodMs;
  };
  struct FdWatch {
    int fd;
    clap_posix_fd_flags_t flags;
  };
  std::vector<Timer> Timers() const;
  std::vector<FdWatch> FdWatches() const;
  // Calls the plug-in's on_timer for every registered timer, and its on_fd for every watched
  // descriptor that poll finds ready within waitMs milliseconds: one step of a host's loop.
  void RunLoopStep(int waitMs);
  // Whether the host offers timer-support and posix-fd-support; set before CreatePlugin, since
  // a plug-in queries the host's extensions in init.
  void OfferTimers(bool offer);
  void OfferFdSupport(bool offer);

  struct Services;  // the clap_host and its extensions, private to the implementation

private:
  template <class Sample>
  clap_process_status ProcessBlock(Sample** inputs, int inChannels, Sample** outputs, int outChannels,
                                   std::uint32_t frames, std::uint64_t constantInputMask);
  bool Fail(const std::string& message);

  LoadedModule mModule;
  std::unique_ptr<Services> mServices;
  std::unique_ptr<ClapEventList> mEvents;
  const clap_plugin_entry_t* mEntry = nullptr;
  const clap_plugin_factory_t* mFactory = nullptr;
  const clap_plugin_t* mPlugin = nullptr;
  bool mActive = false;
  bool mProcessing = false;
  std::int64_t mSteadyTime = 0;
  std::string mError;
};

}  // namespace brel
