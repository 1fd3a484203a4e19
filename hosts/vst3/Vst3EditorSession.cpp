#include "hosts/vst3/Vst3EditorSession.h"

namespace brel {

using namespace Steinberg;

bool Vst3EditorSession::CreateView() {
  Release();
  if (Vst::IEditController* controller = mPlugin.Controller())
    mView = controller->createView(Vst::ViewType::kEditor);
  return mView != nullptr;
}

bool Vst3EditorSession::SupportsPlatform() const {
  return mView && mView->isPlatformTypeSupported(mPlatformType) == kResultOk;
}

tresult Vst3EditorSession::SetContentScale(float factor) {
  if (!mView) return kNoInterface;
  IPlugViewContentScaleSupport* scaling = nullptr;
  if (mView->queryInterface(IPlugViewContentScaleSupport::iid, reinterpret_cast<void**>(&scaling)) !=
          kResultOk ||
      !scaling)
    return kNoInterface;
  const tresult answer = scaling->setContentScaleFactor(factor);
  scaling->release();
  return answer;
}

WindowId Vst3EditorSession::Open(EditorParent& parent, FIDString type) {
  Close();
  mEditorWindow = 0;
  if (!mView) return 0;
  mView->setFrame(mFrame);
  if (mTellsScale) SetContentScale(mScale);
  ViewRect size;
  if (mView->getSize(&size) == kResultOk) parent.Resize(size.getWidth(), size.getHeight());
  mFrame->SetWindowResizer([&parent](int width, int height) { return parent.Resize(width, height); });
  const std::vector<WindowId> before = parent.ChildWindows();
  mAttachAnswer = mView->attached(parent.ParentHandle(), type);
  mAttached = mAttachAnswer == kResultOk;
  if (!mAttached) {
    mFrame->SetWindowResizer(nullptr);  // nothing will ask for this window again
    return 0;
  }
  mParent = &parent;
  mEditorWindow = AwaitNewWindow(parent, before, Stepper());
  return mEditorWindow;
}

tresult Vst3EditorSession::Close() {
  if (!mAttached || !mView) return kResultFalse;
  mAttached = false;
  mEditorWindow = 0;
  mFrame->SetWindowResizer(nullptr);  // the window the resizer knows may go once the editor is closed
  const tresult answer = mView->removed();
  SyncParent();
  return answer;
}

void Vst3EditorSession::Release() {
  Close();
  if (mView) mView->setFrame(nullptr);
  Drop();
}

void Vst3EditorSession::Drop() {
  mAttached = false;
  mEditorWindow = 0;
  mFrame->SetWindowResizer(nullptr);
  if (!mView) return;
  mView->release();  // a view released while attached takes its window with it
  mView = nullptr;
  SyncParent();
}

void Vst3EditorSession::SyncParent() {
  if (mParent) mParent->Sync();
  mParent = nullptr;
}

}  // namespace brel
