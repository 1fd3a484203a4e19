#pragma once
// The LV2 editor session in the test host's X window on Linux: the UI drains its own X
// connection and repaints from its idle interface, so the host's loop step is a short wait of
// about the period hosts idle UIs at, after which the session calls idle.

#include "hosts/linux/HostWindow.h"
#include "hosts/lv2/Lv2EditorSession.h"

namespace brel::x11 {

class Lv2EditorHost : public Lv2EditorSession {
public:
  static constexpr int kStepMilliseconds = 10;

  Lv2EditorHost();
};

}  // namespace brel::x11
