#include "hosts/linux/Lv2EditorHost.h"

#include <poll.h>

namespace brel::x11 {

Lv2EditorHost::Lv2EditorHost() : Lv2EditorSession([] { poll(nullptr, 0, kStepMilliseconds); }) {}

}  // namespace brel::x11
