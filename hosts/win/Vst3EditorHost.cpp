#include "hosts/win/Vst3EditorHost.h"

#include "hosts/win/Vst2EditorHost.h"

namespace brel::win {

using namespace Steinberg;

Vst3EditorHost::Vst3EditorHost(Vst3Host& plugin) : mPlugin(plugin), mFrame(owned(new Vst3PlugFrame)) {}

Vst3EditorHost::~Vst3EditorHost() { Release(); }

bool Vst3EditorHost::CreateView() {
  Release();
  if (Vst::IEditController* controller = mPlugin.Controller())
    mView = controller->createView(Vst::ViewType::kEditor);
  return mView != nullptr;
}

bool Vst3EditorHost::SupportsWindows() const {
  return mView && mView->isPlatformTypeSupported(kPlatformTypeHWND) == kResultOk;
}

HWND Vst3EditorHost::Open(HostWindow& window, FIDString type) {
  Close();
  mEditorWindow = nullptr;
  if (!mView) return nullptr;
  mView->setFrame(mFrame);
  ViewRect size;
  if (mView->getSize(&size) == kResultOk) window.Resize(size.getWidth(), size.getHeight());
  mFrame->SetWindowResizer([&window](int width, int height) { return window.Resize(width, height); });
  const std::vector<HWND> before = window.Children();
  mAttachAnswer = mView->attached(window.Handle(), type);
  mAttached = mAttachAnswer == kResultOk;
  mEditorWindow = NewWindow(before, window.Children());
  return mEditorWindow;
}

tresult Vst3EditorHost::Close() {
  if (!mAttached || !mView) return kResultFalse;
  mAttached = false;
  mEditorWindow = nullptr;
  mFrame->SetWindowResizer(nullptr);  // the window the resizer knows may go once the editor is closed
  const tresult answer = mView->removed();
  MessagePump::DispatchWaiting();
  return answer;
}

void Vst3EditorHost::Release() {
  Close();
  if (!mView) return;
  mView->setFrame(nullptr);
  mView->release();
  mView = nullptr;
}

}  // namespace brel::win
