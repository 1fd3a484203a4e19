#pragma once
// The CLAP host adapter: the plug-in record a CLAP host calls and the extensions it asks for
// (params, audio-ports, audio-ports-config, state, tail, gui with timer-support and
// posix-fd-support, remote-controls, and our processed-delay request), translated into the
// core's operations; the core's requests (edit gestures) go back to the host as events of the
// next block or flush. The plug-in class of a CLAP module derives from it.
//
// Threads (docs/threads.md): the host's main thread is the user-interface thread, its audio
// thread the one that processes. Every entry that touches parameters, state, channels or
// processing takes the plug-in lock; the gui, its timer and descriptor run on the main thread
// only. Host callbacks that must not come from the audio thread are queued there and made from
// on_main_thread.

#include <clap/clap.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include "adapters/clap/ClapEditorPump.h"
#include "core/IPlugBase.h"

// What the factory hands to the plug-in constructor: the host that asked for the instance and
// the descriptor it was made from.
struct IPlugCLAPInstanceInfo {
  const clap_host_t* host = nullptr;
  const clap_plugin_descriptor_t* descriptor = nullptr;
};

enum class ClapThread { Main, Audio };

class IPlugCLAP : public IPlugBase {
public:
  IPlugCLAP(const IPlugCLAPInstanceInfo& instanceInfo, int nParams, const char* channelIOStr, int nPresets,
            const char* effectName, const char* productName, const char* makerName, std::int32_t versionWord,
            std::int32_t uniqueId, std::int32_t makerId, bool stateChunks = false, bool isInstrument = false,
            bool doesMidi = false);
  ~IPlugCLAP() override;

  // The record the host calls through; its plugin_data is this object.
  const clap_plugin_t* ClapPlugin() const { return &mClap; }

  // ---- Requests to the host: the editor's gestures, sent with the next block or flush.
  void BeginParamEdit(int paramIndex) override;
  void NotifyHostParamChange(int paramIndex, double normalized) override;
  void EndParamEdit(int paramIndex) override;

  // The editor's gestures a block or flush can still carry: plenty for a user's hands, since
  // consecutive values of one parameter take one place.
  static constexpr int kGestureCapacity = 128;
  // The most bytes a state load takes: far beyond any state of ours, short of a host's mistake.
  static constexpr std::int64_t kMaxStateBytes = 1 << 20;

private:
  // The static entries each extension's table holds (one file per concern).
  friend struct ClapPluginAbi;
  friend struct ClapParamsAbi;
  friend struct ClapProcessAbi;
  friend struct ClapStateAbi;
  friend struct ClapGuiAbi;

  // Host callbacks that must reach the host from its main thread.
  enum MainThreadRequest : unsigned { kRequestFlush = 1u << 0, kRescanValues = 1u << 1 };

  struct EditorGesture {
    std::uint16_t type;  // CLAP_EVENT_PARAM_GESTURE_BEGIN, _VALUE or _GESTURE_END
    clap_id paramId;
    double plain;
  };

  struct HostExtensions {
    const clap_host_log_t* log = nullptr;
    const clap_host_thread_check_t* threadCheck = nullptr;
    const clap_host_params_t* params = nullptr;
  };

  // ---- Life cycle and extension lookup (IPlugCLAP.cpp).
  bool Init();
  void Destroy();
  bool Activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames);
  void Deactivate();
  bool StartProcessing();
  void StopProcessing();
  void Reset();
  const void* Extension(const char* id) const;
  void OnMainThread();
  void RequestOnMainThread(unsigned requests);
  void RunRequests(unsigned requests);
  bool OnAudioThread() const;
  // Debug trees tell the host, through its log, of a call on a thread its rules forbid.
  void ExpectThread(ClapThread expected, const char* call) const;
  void ExpectParamThread(const char* call) const;
  void LogHostMisbehaving(const char* message) const;

  // ---- Parameters and remote controls (IPlugCLAPParams.cpp).
  IParamDef* ParamOfId(clap_id id) const;
  bool ParamInfo(std::uint32_t index, clap_param_info_t& info) const;
  bool ParamValue(clap_id id, double& value);
  bool ParamToText(clap_id id, double value, char* text, std::uint32_t size) const;
  bool ParamFromText(clap_id id, const char* text, double& value) const;
  void FlushParams(const clap_input_events_t* in, const clap_output_events_t* out);
  void ApplyFlush(const clap_input_events_t* in, const clap_output_events_t* out);
  void ApplyInputEvent(const clap_event_header_t& event);
  void QueueGesture(std::uint16_t type, int paramIndex, double plain);
  void SendEditorGestures(const clap_output_events_t* out);
  std::uint32_t RemotePageCount() const;
  bool RemotePage(std::uint32_t index, clap_remote_controls_page_t& page) const;

  // ---- Processing and ports (IPlugCLAPProcess.cpp).
  clap_process_status Process(const clap_process_t& process);
  template <class Sample>
  void RenderWithEvents(const clap_process_t& process, int frames);
  template <class Sample>
  void RenderSlice(Sample** inputs, Sample** outputs, int offset, int frames);
  void ConnectPorts(const clap_process_t& process);
  std::uint32_t PortCount(bool isInput);
  bool PortInfo(std::uint32_t index, bool isInput, clap_audio_port_info_t& info);
  std::uint32_t PortConfigCount() const;
  bool PortConfig(std::uint32_t index, clap_audio_ports_config_t& config) const;
  bool SelectPortConfig(clap_id id);
  std::uint32_t TailFrames();

  // ---- State (IPlugCLAPState.cpp).
  bool SaveStateTo(const clap_ostream_t& stream);
  bool LoadStateFrom(const clap_istream_t& stream);

  // ---- The editor's window (IPlugCLAPGui.cpp).
  bool GuiApiSupported(const char* api, bool isFloating) const;
  bool GuiCreate(const char* api, bool isFloating);
  void GuiDestroy();
  bool GuiSetScale(double scale);
  bool GuiSize(std::uint32_t& width, std::uint32_t& height);
  bool GuiSetParent(const clap_window_t& window);
  bool GuiShow();
  bool GuiHide();
  void CloseGuiWindow();

  clap_plugin_t mClap{};
  const clap_host_t* mHost;
  HostExtensions mHostExt;
  // Life cycle, under the plug-in lock.
  bool mInitialized = false;
  bool mActive = false;
  bool mProcessing = false;
  int mPortConfig;  // index of the selected channel configuration
  // One buffer pointer per channel, offset into the host's buffers for a slice of a block;
  // sized once, so processing allocates nothing.
  std::vector<float*> mFloatIn, mFloatOut;
  std::vector<double*> mDoubleIn, mDoubleOut;
  // The editor's gestures not yet sent, under the plug-in lock.
  std::array<EditorGesture, kGestureCapacity> mGestures{};
  int mGestureCount = 0;
  std::atomic<unsigned> mPendingRequests{0};
  // The editor's window, on the main thread only.
  ClapEditorPump mPump;
  bool mGuiCreated = false;
  bool mGuiOpen = false;
};

// Made by the plug-in class of the module: the instance the factory hands to the host.
IPlugCLAP* MakePlug(const IPlugCLAPInstanceInfo& instanceInfo);
