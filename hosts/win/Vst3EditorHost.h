#pragma once
// A VST3 plug-in's editor view opened the way a VST 3 host opens it on Windows: the controller
// makes a view named "editor", the host checks that it takes an "HWND" parent, gives it the
// host's frame, asks its size, sizes its window to it and attaches the view to the window; the
// view is removed when the editor closes and released at the end. The editor's own window is the
// child that attaching adds to the host's window. The frame resizes the host's window when the
// view asks it to.

#include <windows.h>

#include "hosts/vst3/Vst3Host.h"
#include "hosts/vst3/Vst3PlugFrame.h"
#include "hosts/win/HostWindow.h"
#include "pluginterfaces/gui/iplugview.h"

namespace brel::win {

class Vst3EditorHost {
public:
  explicit Vst3EditorHost(Vst3Host& plugin);
  ~Vst3EditorHost();  // Release()
  Vst3EditorHost(const Vst3EditorHost&) = delete;
  Vst3EditorHost& operator=(const Vst3EditorHost&) = delete;

  // createView("editor"); false when the controller gives no view. A host holding a view
  // releases it first.
  bool CreateView();
  Steinberg::IPlugView* View() const { return mView; }
  // isPlatformTypeSupported("HWND") answered kResultOk.
  bool SupportsWindows() const;

  // setFrame, getSize, the window sized to it, attached(window, type). The editor's window (the
  // one child that appeared), or null; AttachAnswer() keeps what attached answered.
  HWND Open(HostWindow& window, Steinberg::FIDString type = Steinberg::kPlatformTypeHWND);
  Steinberg::tresult AttachAnswer() const { return mAttachAnswer; }
  // removed() when attached; its answer, or kResultFalse when nothing was attached.
  Steinberg::tresult Close();
  // Close(), setFrame(null) and release of the view.
  void Release();

  bool IsOpen() const { return mAttached; }
  HWND EditorWindow() const { return mEditorWindow; }
  Vst3PlugFrame& Frame() { return *mFrame; }

private:
  Vst3Host& mPlugin;
  Steinberg::IPtr<Vst3PlugFrame> mFrame;
  Steinberg::IPlugView* mView = nullptr;  // the reference createView handed out
  Steinberg::tresult mAttachAnswer = Steinberg::kResultFalse;
  bool mAttached = false;
  HWND mEditorWindow = nullptr;
};

}  // namespace brel::win
