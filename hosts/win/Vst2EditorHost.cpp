#include "hosts/win/Vst2EditorHost.h"

#include <algorithm>

namespace brel::win {

HWND NewWindow(const std::vector<HWND>& before, const std::vector<HWND>& after) {
  HWND found = nullptr;
  for (HWND window : after) {
    if (std::find(before.begin(), before.end(), window) != before.end()) continue;
    if (found) return nullptr;
    found = window;
  }
  return found;
}

HWND Vst2EditorHost::Open(HostWindow& window) {
  Close();
  ERect rect = {};
  if (Rect(rect)) window.Resize(rect.right - rect.left, rect.bottom - rect.top);
  const std::vector<HWND> before = window.Children();
  mOpenAnswer = mPlugin.Dispatch(effEditOpen, 0, 0, window.Handle());
  mOpen = mOpenAnswer != 0;
  mEditorWindow = NewWindow(before, window.Children());
  return mEditorWindow;
}

VstIntPtr Vst2EditorHost::Close() {
  if (!mOpen) return 0;
  mOpen = false;
  mEditorWindow = nullptr;
  const VstIntPtr answer = mPlugin.Dispatch(effEditClose);
  MessagePump::DispatchWaiting();
  return answer;
}

}  // namespace brel::win
