#include "hosts/linux/Vst3EditorHost.h"

#include "hosts/linux/Vst2EditorHost.h"

namespace brel::x11 {

using namespace Steinberg;

Vst3EditorHost::Vst3EditorHost(Vst3Host& plugin, RunLoopFrame::Offer offer)
    : mPlugin(plugin), mFrame(owned(new RunLoopFrame(offer))) {}

Vst3EditorHost::~Vst3EditorHost() { Release(); }

bool Vst3EditorHost::CreateView() {
  Release();
  if (Vst::IEditController* controller = mPlugin.Controller())
    mView = controller->createView(Vst::ViewType::kEditor);
  return mView != nullptr;
}

bool Vst3EditorHost::SupportsX11() const {
  return mView && mView->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID) == kResultOk;
}

Window Vst3EditorHost::Open(HostWindow& window, FIDString type) {
  Close();
  mEditorWindow = 0;
  if (!mView) return 0;
  mView->setFrame(mFrame);
  ViewRect size;
  if (mView->getSize(&size) == kResultOk) window.Resize(size.getWidth(), size.getHeight());
  mFrame->SetWindowResizer([&window](int width, int height) { return window.Resize(width, height); });
  const std::vector<Window> before = window.Children();
  mWindow = &window;
  mAttachAnswer = mView->attached(reinterpret_cast<void*>(window.Handle()), type);
  mAttached = mAttachAnswer == kResultOk;
  if (!mAttached) return 0;
  PumpUntil(
      Stepper(), [&] { return (mEditorWindow = NewWindow(before, window.Children())) != 0; }, kArrivalSteps);
  return mEditorWindow;
}

tresult Vst3EditorHost::Close() {
  if (!mAttached || !mView) return kResultFalse;
  mAttached = false;
  mEditorWindow = 0;
  mFrame->SetWindowResizer(nullptr);  // the window the resizer knows may go once the editor is closed
  const tresult answer = mView->removed();
  if (mWindow) XSync(mWindow->Connection(), False);
  mWindow = nullptr;
  return answer;
}

void Vst3EditorHost::Release() {
  Close();
  Drop();
}

void Vst3EditorHost::Drop() {
  mAttached = false;
  mEditorWindow = 0;
  mFrame->SetWindowResizer(nullptr);
  if (!mView) return;
  mView->release();
  mView = nullptr;
  if (mWindow) XSync(mWindow->Connection(), False);
  mWindow = nullptr;
}

}  // namespace brel::x11
