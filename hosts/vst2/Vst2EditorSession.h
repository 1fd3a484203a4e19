#pragma once
// A VST2 plug-in's editor opened the way a VST 2.4 host opens it, on either platform: the host
// asks for the editor's rectangle (effEditGetRect), sizes its window to it, hands the window's
// handle to effEditOpen, calls effEditIdle from its user-interface loop while the editor is open
// and closes it with effEditClose. The editor's own window is the child that effEditOpen adds to
// the host's window. The platform's test host supplies the window and one step of its loop.

#include "hosts/editor/EditorParent.h"
#include <utility>

#include "hosts/vst2/VstHost.h"

namespace brel {

class Vst2EditorSession {
public:
  // `settle`: one step of the platform's loop (a short wait for the plug-in's events); each
  // Step() of the session is one of those, then effEditIdle.
  Vst2EditorSession(VstHost& plugin, LoopStep settle) : mPlugin(plugin), mSettle(std::move(settle)) {}
  ~Vst2EditorSession() { Close(); }
  Vst2EditorSession(const Vst2EditorSession&) = delete;
  Vst2EditorSession& operator=(const Vst2EditorSession&) = delete;

  bool HasEditor() const { return (mPlugin.Flags() & effFlagsHasEditor) != 0; }
  // The editor's rectangle as effEditGetRect hands it out; false when the plug-in gives none.
  bool Rect(ERect& out) { return mPlugin.EditorRect(out); }

  // Sizes the window to the editor's rectangle, then effEditOpen with the window's handle. The
  // editor's window (the one child that appeared, looked for over a few steps), or 0;
  // OpenAnswer() keeps what effEditOpen answered.
  WindowId Open(EditorParent& parent);
  VstIntPtr OpenAnswer() const { return mOpenAnswer; }
  // effEditClose when the editor is open; its answer, or 0 when nothing was open. Afterwards the
  // host's window has seen what the close did (EditorParent::Sync).
  VstIntPtr Close();

  void Idle();  // effEditIdle
  void Step();  // one step of the host's loop: the settle step, then effEditIdle
  LoopStep Stepper() {
    return [this] { Step(); };
  }

  bool IsOpen() const { return mOpen; }
  WindowId EditorWindow() const { return mEditorWindow; }
  int IdleCalls() const { return mIdleCalls; }

private:
  VstHost& mPlugin;
  LoopStep mSettle;
  EditorParent* mParent = nullptr;  // the window the open editor is in
  VstIntPtr mOpenAnswer = 0;
  bool mOpen = false;
  WindowId mEditorWindow = 0;
  int mIdleCalls = 0;
};

}  // namespace brel
