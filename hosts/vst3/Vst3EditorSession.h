#pragma once
// A VST3 plug-in's editor view opened the way a VST 3 host opens it, on either platform: the
// controller makes a view named "editor", the host checks that it takes the platform's kind of
// parent ("HWND", "X11EmbedWindowID"), gives it the host's frame, asks its size, sizes its window
// to it and attaches the view to the window; the frame resizes the window when the view asks it
// to. A host that knows its window's scale tells the view first (setContentScaleFactor). The
// view is removed when the editor closes and released at the end. The editor's own
// window is the child that attaching adds to the host's window. The platform's test host
// supplies the window, the frame (which may offer more, such as a run loop) and one step of its
// loop.

#include <utility>

#include "hosts/editor/EditorParent.h"
#include "hosts/vst3/Vst3Host.h"
#include "hosts/vst3/Vst3PlugFrame.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

namespace brel {

class Vst3EditorSession {
public:
  // `platformType` names the parents the platform's windows are; `settle` is one step of its
  // loop (a short wait for the plug-in's events).
  Vst3EditorSession(Vst3Host& plugin, Steinberg::FIDString platformType, Steinberg::IPtr<Vst3PlugFrame> frame,
                    LoopStep settle)
      : mPlugin(plugin), mPlatformType(platformType), mFrame(std::move(frame)), mSettle(std::move(settle)) {}
  ~Vst3EditorSession() { Release(); }
  Vst3EditorSession(const Vst3EditorSession&) = delete;
  Vst3EditorSession& operator=(const Vst3EditorSession&) = delete;

  // createView("editor"); false when the controller gives no view. A held view is released first.
  bool CreateView();
  Steinberg::IPlugView* View() const { return mView; }
  // isPlatformTypeSupported(the platform's type) answered kResultOk.
  bool SupportsPlatform() const;
  // Each Open tells the view this factor before asking its size; none unless asked, as a host
  // that leaves the scale to the plug-in.
  void UseContentScale(float factor) {
    mScale = factor;
    mTellsScale = true;
  }
  // setContentScaleFactor on the view now: its answer, or kNoInterface without a view that takes it.
  Steinberg::tresult SetContentScale(float factor);

  // setFrame, getSize, the window sized to it, attached(window handle, type: the platform's
  // unless given). The editor's window (the one child that appeared, looked for over a few
  // steps), or 0; AttachAnswer() keeps what attached answered.
  WindowId Open(EditorParent& parent) { return Open(parent, mPlatformType); }
  WindowId Open(EditorParent& parent, Steinberg::FIDString type);
  Steinberg::tresult AttachAnswer() const { return mAttachAnswer; }
  // removed() when attached; its answer, or kResultFalse when nothing was attached. Afterwards the
  // host's window has seen what removing did (EditorParent::Sync).
  Steinberg::tresult Close();
  // Close(), setFrame(null) and release of the view.
  void Release();
  // The view released as a careless host releases it: attached or not, without removed().
  void Drop();

  void Step() { mSettle(); }
  LoopStep Stepper() {
    return [this] { Step(); };
  }

  bool IsOpen() const { return mAttached; }
  WindowId EditorWindow() const { return mEditorWindow; }
  Vst3PlugFrame& Frame() { return *mFrame; }

private:
  void SyncParent();

  Vst3Host& mPlugin;
  Steinberg::FIDString mPlatformType;
  Steinberg::IPtr<Vst3PlugFrame> mFrame;
  LoopStep mSettle;
  EditorParent* mParent = nullptr;        // the window the attached view is in
  Steinberg::IPlugView* mView = nullptr;  // the reference createView handed out
  Steinberg::tresult mAttachAnswer = Steinberg::kResultFalse;
  bool mAttached = false;
  WindowId mEditorWindow = 0;
  float mScale = 1.0f;
  bool mTellsScale = false;
};

}  // namespace brel
