// The entry of the seam module: the plug-in built exactly as the shipped module builds it, with
// one dispatcher request added in front of the adapter's (see EditorSeam.h).
#include <mutex>

#include "adapters/vst2/VstExport.h"
#include "editor/IGraphics.h"
#include "engine/Brelvane.h"
#include "tests/adapters/vst2/seam/EditorSeam.h"

namespace {

using namespace vst2seam;

AEffectDispatcherProc gAdapterDispatcher = nullptr;

VstIntPtr Seam(AEffect* effect, VstIntPtr action, SeamRequest* request) {
  auto* plug = static_cast<Brelvane*>(static_cast<IPlugVST*>(effect->object));
  IGraphics* editor = plug ? plug->Graphics() : nullptr;
  if (!editor || !request) return 0;
  MouseModifiers mods;
  mods.left = true;
  mods.shift = request->shift != 0;
  switch (action) {
    case kMouseDown: editor->HandleMouseDown(request->x, request->y, mods); break;
    case kMouseDrag: editor->HandleMouseDrag(request->x, request->y, mods); break;
    case kMouseUp: editor->HandleMouseUp(request->x, request->y, mods); break;
    case kMouseWheel: editor->HandleMouseWheel(request->x, request->y, mods, request->notches); break;
    case kTimerFrame: {
      Rect dirty;
      if (editor->TimerStep(dirty)) editor->RedrawRegion(dirty);
      break;
    }
    case kControlValue: {
      IControl* control = editor->GetControl(request->control);
      if (!control) return 0;
      request->value = control->GetValue();
      break;
    }
    default: return 0;
  }
  return kSeamAnswer;
}

VstIntPtr SeamDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) {
  if (opcode == effVendorSpecific && index == kSeamIndex)
    return Seam(effect, value, static_cast<SeamRequest*>(ptr));
  return gAdapterDispatcher(effect, opcode, index, value, ptr, opt);
}

std::mutex gConstruction;

}  // namespace

BREL_VST_EXPORT AEffect* VSTPluginMain(audioMasterCallback hostCallback) {
  std::lock_guard<std::mutex> guard(gConstruction);
  IPlugVST* plug = MakePlug(IPlugInstanceInfo{hostCallback});
  if (!plug) return nullptr;
  plug->FillEmptyPresets("Empty", plug->NPresets());
  AEffect* effect = plug->GetAEffect();
  gAdapterDispatcher = effect->dispatcher;
  effect->dispatcher = SeamDispatcher;
  return effect;
}
