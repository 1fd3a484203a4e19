#pragma once
// A VST3 plug-in's editor view opened the way a Linux VST 3 host opens it: the controller makes
// a view named "editor", the host checks that it takes an "X11EmbedWindowID" parent, gives it
// the host's frame (which is also the host's run loop), asks its size, sizes its window to it
// and attaches the view to the window's id; the loop then calls the view's registered handlers
// and timers. The view is removed when the editor closes and released at the end. The editor's
// own window is the child that attaching adds to the host's window.

#include "hosts/linux/HostWindow.h"
#include "hosts/linux/RunLoopFrame.h"
#include "hosts/vst3/Vst3Host.h"
#include "pluginterfaces/gui/iplugview.h"

namespace brel::x11 {

class Vst3EditorHost {
public:
  // The longest one loop step waits for the view's descriptor or its next timer.
  static constexpr int kStepMilliseconds = 10;

  explicit Vst3EditorHost(Vst3Host& plugin, RunLoopFrame::Offer offer = RunLoopFrame::Offer::RunLoop);
  ~Vst3EditorHost();  // Release()
  Vst3EditorHost(const Vst3EditorHost&) = delete;
  Vst3EditorHost& operator=(const Vst3EditorHost&) = delete;

  // createView("editor"); false when the controller gives no view. A held view is released first.
  bool CreateView();
  Steinberg::IPlugView* View() const { return mView; }
  // isPlatformTypeSupported("X11EmbedWindowID") answered kResultOk.
  bool SupportsX11() const;

  // setFrame, getSize, the window sized to it, attached(window id, type). The editor's window
  // (the one child that appeared, looked for over a few loop steps), or 0; AttachAnswer() keeps
  // what attached answered.
  Window Open(HostWindow& window, Steinberg::FIDString type = Steinberg::kPlatformTypeX11EmbedWindowID);
  Steinberg::tresult AttachAnswer() const { return mAttachAnswer; }
  // removed() when attached; its answer, or kResultFalse when nothing was attached.
  Steinberg::tresult Close();
  // Close(), setFrame(null) and release of the view.
  void Release();
  // The view released as a careless host releases it: attached or not, without removed().
  void Drop();

  void Step() { mFrame->RunOnce(kStepMilliseconds); }
  LoopStep Stepper() {
    return [this] { Step(); };
  }

  bool IsOpen() const { return mAttached; }
  Window EditorWindow() const { return mEditorWindow; }
  RunLoopFrame& Frame() { return *mFrame; }

private:
  Vst3Host& mPlugin;
  Steinberg::IPtr<RunLoopFrame> mFrame;
  HostWindow* mWindow = nullptr;
  Steinberg::IPlugView* mView = nullptr;  // the reference createView handed out
  Steinberg::tresult mAttachAnswer = Steinberg::kResultFalse;
  bool mAttached = false;
  Window mEditorWindow = 0;
};

}  // namespace brel::x11
