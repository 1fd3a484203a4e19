#include "hosts/vst3/Vst3PlugFrame.h"

namespace brel {

using namespace Steinberg;

IMPLEMENT_FUNKNOWN_METHODS(Vst3PlugFrame, IPlugFrame, IPlugFrame::iid)

Vst3PlugFrame::Vst3PlugFrame(){FUNKNOWN_CTOR}

tresult PLUGIN_API Vst3PlugFrame::resizeView(IPlugView* view, ViewRect* newSize) {
  if (!view || !newSize) return kInvalidArgument;
  mRequests.push_back(Vst3ResizeRequest{view, *newSize});
  if (mResizer && !mResizer(newSize->getWidth(), newSize->getHeight())) return kResultFalse;
  return view->onSize(newSize);
}

}  // namespace brel
