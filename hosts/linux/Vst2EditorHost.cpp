#include "hosts/linux/Vst2EditorHost.h"

#include <poll.h>

namespace brel::x11 {

Vst2EditorHost::Vst2EditorHost(VstHost& plugin)
    : Vst2EditorSession(plugin, [] { poll(nullptr, 0, kStepMilliseconds); }) {}

}  // namespace brel::x11
