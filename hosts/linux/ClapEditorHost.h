#pragma once
// The CLAP editor session in the test host's X window on Linux: the gui takes an "x11" parent,
// and the host's loop step is one step of the CLAP host's loop, which calls the plug-in back for
// the descriptors it watches (posix-fd-support) and the timers it registered (timer-support).

#include "hosts/clap/ClapEditorSession.h"
#include "hosts/linux/HostWindow.h"

namespace brel::x11 {

class ClapEditorHost : public ClapEditorSession {
public:
  // The longest one loop step waits for a watched descriptor.
  static constexpr int kStepMilliseconds = 10;

  explicit ClapEditorHost(ClapHost& plugin);
};

}  // namespace brel::x11
