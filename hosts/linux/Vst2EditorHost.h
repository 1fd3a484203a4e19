#pragma once
// The VST2 editor session in the test host's X window on Linux: the plug-in drains its own X
// connection and repaints from effEditIdle, so the host's loop step is a short wait of about the
// period hosts idle editors at, after which the session calls effEditIdle.

#include "hosts/linux/HostWindow.h"
#include "hosts/vst2/Vst2EditorSession.h"

namespace brel::x11 {

class Vst2EditorHost : public Vst2EditorSession {
public:
  static constexpr int kStepMilliseconds = 10;

  explicit Vst2EditorHost(VstHost& plugin);
};

}  // namespace brel::x11
