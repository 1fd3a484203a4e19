#include "hosts/linux/ClapEditorHost.h"

namespace brel::x11 {

ClapEditorHost::ClapEditorHost(ClapHost& plugin)
    : ClapEditorSession(plugin, CLAP_WINDOW_API_X11, [&plugin] { plugin.RunLoopStep(kStepMilliseconds); }) {}

}  // namespace brel::x11
