#pragma once
// The VST3 editor session in the test host's window on Windows: the view takes an "HWND" parent
// and a plain frame (the editor's window draws from its own timer), and the host's loop step
// only dispatches the messages waiting.

#include <windows.h>

#include "hosts/vst3/Vst3EditorSession.h"
#include "hosts/win/HostWindow.h"

namespace brel::win {

class Vst3EditorHost : public Vst3EditorSession {
public:
  explicit Vst3EditorHost(Vst3Host& plugin)
      : Vst3EditorSession(plugin, Steinberg::kPlatformTypeHWND, Steinberg::owned(new Vst3PlugFrame),
                          [] { MessagePump::DispatchWaiting(); }) {}

  bool SupportsWindows() const { return SupportsPlatform(); }
  HWND Open(HostWindow& window) { return AsHwnd(Vst3EditorSession::Open(window)); }
  HWND Open(HostWindow& window, Steinberg::FIDString type) {
    return AsHwnd(Vst3EditorSession::Open(window, type));
  }
  HWND EditorWindow() const { return AsHwnd(Vst3EditorSession::EditorWindow()); }
};

}  // namespace brel::win
