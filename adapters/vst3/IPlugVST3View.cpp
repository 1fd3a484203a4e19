#include "adapters/vst3/IPlugVST3View.h"

#include <cstring>

#include "adapters/vst3/IPlugVST3.h"

using namespace Steinberg;

namespace {

// The editor names the parent it takes ("HWND" on Windows, "X11EmbedWindowID" on Linux).
bool IsEditorsParentType(const IEditor& editor, FIDString type) {
  const char* wanted = editor.WindowType();
  return type && wanted && wanted[0] && std::strcmp(type, wanted) == 0;
}

}  // namespace

IPlugVST3View::IPlugVST3View(IPlugVST3* plug) : mPlug(plug) { mPlug->addRef(); }

IPlugVST3View::~IPlugVST3View() {
  // A host that lets go of a view without removing it first must not leave its window behind
  // in the host's window, with nothing driving it.
  CloseWindow();
  mPlug->RemoveView(this);
  mPlug->release();
}

tresult PLUGIN_API IPlugVST3View::queryInterface(const TUID iid, void** obj) noexcept {
  if (!obj) return kInvalidArgument;
  QUERY_INTERFACE(iid, obj, IPlugViewContentScaleSupport::iid, IPlugViewContentScaleSupport)
  return CPluginView::queryInterface(iid, obj);
}

tresult PLUGIN_API IPlugVST3View::isPlatformTypeSupported(FIDString type) noexcept {
  const IEditor* editor = mPlug->GetEditor();
  return editor && IsEditorsParentType(*editor, type) ? kResultOk : kResultFalse;
}

// A window that cannot open (a parent of another kind, no run loop to keep it going where one
// is needed, no window system) is reported as such: the host must not think it shows an editor.
// The editor has one window, so one view at a time shows it: another view's attached is refused
// until that one is removed or destroyed. The view showing it may be attached again elsewhere.
tresult PLUGIN_API IPlugVST3View::attached(void* parent, FIDString type) noexcept {
  IEditor* editor = mPlug->GetEditor();
  if (!editor || !IsEditorsParentType(*editor, type) || !mPlug->ClaimEditorWindow(this)) return kResultFalse;
  if (!mPump.CanRun(plugFrame, *editor) || !editor->OpenEditorWindow(parent) ||
      !mPump.Start(plugFrame, *editor)) {
    CloseWindow();
    return kResultFalse;
  }
  systemWindow = parent;
  mPlug->OnEditorOpened();
  return kResultOk;
}

// A view that shows nothing closes nothing: the window may be another view's.
tresult PLUGIN_API IPlugVST3View::removed() noexcept {
  CloseWindow();
  systemWindow = nullptr;
  return kResultOk;
}

void IPlugVST3View::CloseWindow() {
  if (!mPlug->HoldsEditorWindow(this)) return;
  mPump.Stop();
  if (IEditor* editor = mPlug->GetEditor()) {
    mPlug->OnEditorClosed();
    editor->CloseEditorWindow();
  }
  mPlug->ReleaseEditorWindow(this);
}

tresult PLUGIN_API IPlugVST3View::getSize(ViewRect* size) noexcept {
  IEditor* editor = mPlug->GetEditor();
  if (!editor) return kResultFalse;
  if (!size) return kInvalidArgument;
  int width = 0, height = 0;
  editor->WindowSize(width, height);
  *size = ViewRect(0, 0, width, height);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::setContentScaleFactor(ScaleFactor factor) noexcept {
  IEditor* editor = mPlug->GetEditor();
  return editor && editor->SetHostScale(factor) ? kResultOk : kResultFalse;
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
