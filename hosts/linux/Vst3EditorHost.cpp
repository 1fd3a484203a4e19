#include "hosts/linux/Vst3EditorHost.h"

namespace brel::x11 {

using namespace Steinberg;

Vst3EditorHost::Vst3EditorHost(Vst3Host& plugin, RunLoopFrame::Offer offer)
    : Vst3EditorSession(plugin, kPlatformTypeX11EmbedWindowID, owned(new RunLoopFrame(offer)),
                        [this] { Frame().RunOnce(kStepMilliseconds); }) {}

}  // namespace brel::x11
