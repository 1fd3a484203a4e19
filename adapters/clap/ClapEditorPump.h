#pragma once
// What keeps an open editor window going inside a CLAP host, and the kind of window it embeds
// in. Where the window system has no message loop of its own for it (X11), the host's
// timer-support calls the editor every frame period and its posix-fd-support when the editor's
// connection has news; where the editor needs no calls (Win32, whose window timer runs on the
// window's thread) there is nothing to do. One per instance; main thread only.

#include <clap/clap.h>

class IEditor;

class ClapEditorPump {
public:
  ClapEditorPump() = default;
  ~ClapEditorPump() { Stop(); }
  ClapEditorPump(const ClapEditorPump&) = delete;
  ClapEditorPump& operator=(const ClapEditorPump&) = delete;

  // The window api the editor embeds in on this platform (CLAP_WINDOW_API_X11 or _WIN32).
  static const char* WindowApi();
  // The host's window as the editor's OpenEditorWindow takes it.
  static void* ParentOf(const clap_window_t& window);

  // Reads what the host offers for driving an editor; in the plug-in's init.
  void BindHost(const clap_host_t* host);
  // Whether the editor's window could be kept going in this host: asked before it is made.
  bool CanRun(const IEditor& editor) const;
  // Registers the editor's calls with the host after its window opened (any earlier
  // registration is dropped first); false when the host refuses them.
  bool Start(IEditor& editor);
  // Takes the registrations back; harmless when there are none.
  void Stop();
  bool IsRunning() const { return mEditor != nullptr; }

  // The host's calls; ones for another timer or descriptor do nothing.
  void OnTimer(clap_id timerId);
  void OnFd(int fd);

private:
  const clap_host_t* mHost = nullptr;
  const clap_host_timer_support_t* mTimers = nullptr;
  const clap_host_posix_fd_support_t* mFds = nullptr;
  IEditor* mEditor = nullptr;  // while registered
  clap_id mTimer = CLAP_INVALID_ID;
  int mFd = -1;
};
