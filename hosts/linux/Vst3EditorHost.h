#pragma once
// The VST3 editor session in the test host's X window on Linux: the view takes an
// "X11EmbedWindowID" parent and a frame that is also the host's run loop (or, as a host that
// offers none, a frame without it); the host's loop step is one run of that loop, which calls the
// view's registered handlers and timers.

#include "hosts/linux/HostWindow.h"
#include "hosts/linux/RunLoopFrame.h"
#include "hosts/vst3/Vst3EditorSession.h"

namespace brel::x11 {

class Vst3EditorHost : public Vst3EditorSession {
public:
  // The longest one loop step waits for the view's descriptor or its next timer.
  static constexpr int kStepMilliseconds = 10;

  explicit Vst3EditorHost(Vst3Host& plugin, RunLoopFrame::Offer offer = RunLoopFrame::Offer::RunLoop);

  bool SupportsX11() const { return SupportsPlatform(); }
  RunLoopFrame& Frame() { return static_cast<RunLoopFrame&>(Vst3EditorSession::Frame()); }
};

}  // namespace brel::x11
