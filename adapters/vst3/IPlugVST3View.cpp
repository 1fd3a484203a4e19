#include "adapters/vst3/IPlugVST3View.h"

#include <cstring>

#include "adapters/vst3/IPlugVST3.h"

using namespace Steinberg;

namespace {

bool IsWindowsParent(FIDString type) { return type && std::strcmp(type, kPlatformTypeHWND) == 0; }

}  // namespace

IPlugVST3View::IPlugVST3View(IPlugVST3* plug) : mPlug(plug) { mPlug->addRef(); }

IPlugVST3View::~IPlugVST3View() {
  mPlug->RemoveView(this);
  mPlug->release();
}

tresult PLUGIN_API IPlugVST3View::isPlatformTypeSupported(FIDString type) noexcept {
  return mPlug->GetEditor() && IsWindowsParent(type) ? kResultOk : kResultFalse;
}

tresult PLUGIN_API IPlugVST3View::attached(void* parent, FIDString type) noexcept {
  IEditor* editor = mPlug->GetEditor();
  if (!editor) return kResultFalse;
  systemWindow = parent;
  if (IsWindowsParent(type)) editor->OpenEditorWindow(parent);
  mPlug->OnEditorOpened();
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::removed() noexcept {
  if (IEditor* editor = mPlug->GetEditor()) {
    mPlug->OnEditorClosed();
    editor->CloseEditorWindow();
  }
  systemWindow = nullptr;
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::getSize(ViewRect* size) noexcept {
  const IEditor* editor = mPlug->GetEditor();
  if (!editor) return kResultFalse;
  if (!size) return kInvalidArgument;
  *size = ViewRect(0, 0, editor->GetWidth(), editor->GetHeight());
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::onSize(ViewRect* newSize) noexcept {
  if (!newSize) return kResultOk;
  rect = *newSize;
  if (mResizePending) {
    mResizePending = false;
    mPlug->OnEditorResized();
  }
  return kResultOk;
}
