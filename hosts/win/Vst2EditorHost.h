#pragma once
// The VST2 editor session in the test host's window on Windows: the editor's window is made by
// effEditOpen itself and draws from its own timer, so the host's loop step only dispatches the
// messages waiting.

#include <windows.h>

#include "hosts/vst2/Vst2EditorSession.h"
#include "hosts/win/HostWindow.h"

namespace brel::win {

class Vst2EditorHost : public Vst2EditorSession {
public:
  explicit Vst2EditorHost(VstHost& plugin)
      : Vst2EditorSession(plugin, [] { MessagePump::DispatchWaiting(); }) {}

  HWND Open(HostWindow& window) { return AsHwnd(Vst2EditorSession::Open(window)); }
  HWND EditorWindow() const { return AsHwnd(Vst2EditorSession::EditorWindow()); }
};

}  // namespace brel::win
