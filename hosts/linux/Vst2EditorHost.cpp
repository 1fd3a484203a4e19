#include "hosts/linux/Vst2EditorHost.h"

#include <poll.h>

namespace brel::x11 {

Window Vst2EditorHost::Open(HostWindow& window) {
  Close();
  mEditorWindow = 0;
  ERect rect = {};
  if (Rect(rect)) window.Resize(rect.right - rect.left, rect.bottom - rect.top);
  const std::vector<Window> before = window.Children();
  mWindow = &window;
  // The ABI carries the window id in the pointer argument.
  mOpenAnswer = mPlugin.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(window.Handle()));
  mOpen = mOpenAnswer != 0;
  if (!mOpen) return 0;
  PumpUntil(
      Stepper(), [&] { return (mEditorWindow = NewWindow(before, window.Children())) != 0; }, kArrivalSteps);
  return mEditorWindow;
}

VstIntPtr Vst2EditorHost::Close() {
  if (!mOpen) return 0;
  mOpen = false;
  mEditorWindow = 0;
  const VstIntPtr answer = mPlugin.Dispatch(effEditClose);
  if (mWindow) XSync(mWindow->Connection(), False);
  mWindow = nullptr;
  return answer;
}

void Vst2EditorHost::Step() {
  poll(nullptr, 0, kStepMilliseconds);
  ++mIdleCalls;
  mPlugin.Dispatch(effEditIdle);
}

}  // namespace brel::x11
