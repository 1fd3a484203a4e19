#include "hosts/vst2/Vst2EditorSession.h"

namespace brel {

WindowId Vst2EditorSession::Open(EditorParent& parent) {
  Close();
  mEditorWindow = 0;
  ERect rect = {};
  if (Rect(rect)) parent.Resize(rect.right - rect.left, rect.bottom - rect.top);
  const std::vector<WindowId> before = parent.ChildWindows();
  mOpenAnswer = mPlugin.Dispatch(effEditOpen, 0, 0, parent.ParentHandle());
  mOpen = mOpenAnswer != 0;
  if (!mOpen) return 0;
  mParent = &parent;
  mEditorWindow = AwaitNewWindow(parent, before, Stepper());
  return mEditorWindow;
}

VstIntPtr Vst2EditorSession::Close() {
  if (!mOpen) return 0;
  mOpen = false;
  mEditorWindow = 0;
  const VstIntPtr answer = mPlugin.Dispatch(effEditClose);
  if (mParent) mParent->Sync();
  mParent = nullptr;
  return answer;
}

void Vst2EditorSession::Idle() {
  ++mIdleCalls;
  mPlugin.Dispatch(effEditIdle);
}

void Vst2EditorSession::Step() {
  mSettle();
  Idle();
}

}  // namespace brel
