#pragma once
// The CLAP editor session in the test host's window on Windows: the gui takes a "win32" parent
// and its window draws from its own timer, so the host's loop step dispatches the messages
// waiting, then runs what the plug-in registered with the CLAP host (timers, main-thread
// callbacks) without waiting.

#include <windows.h>

#include "hosts/clap/ClapEditorSession.h"
#include "hosts/win/HostWindow.h"

namespace brel::win {

class ClapEditorHost : public ClapEditorSession {
public:
  explicit ClapEditorHost(ClapHost& plugin)
      : ClapEditorSession(plugin, CLAP_WINDOW_API_WIN32, [&plugin] {
          MessagePump::DispatchWaiting();
          plugin.RunLoopStep(0);
        }) {}

  HWND Open(HostWindow& window) { return AsHwnd(ClapEditorSession::Open(window)); }
  HWND EditorWindow() const { return AsHwnd(ClapEditorSession::EditorWindow()); }
};

}  // namespace brel::win
