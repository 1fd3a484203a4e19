#pragma once
// A VST2 plug-in's editor opened the way a Linux VST 2.4 host opens it: the host asks for the
// editor's rectangle (effEditGetRect), sizes its window to it, hands the window's id to
// effEditOpen, calls effEditIdle from its user-interface loop while the editor is open (the
// plug-in drains its own X connection and repaints there) and closes it with effEditClose. The
// editor's own window is the child that effEditOpen adds to the host's window.

#include "hosts/linux/HostWindow.h"
#include "hosts/vst2/VstHost.h"

namespace brel::x11 {

class Vst2EditorHost {
public:
  // How long one loop step waits before the idle call: about the period hosts idle editors at.
  static constexpr int kStepMilliseconds = 10;

  explicit Vst2EditorHost(VstHost& plugin) : mPlugin(plugin) {}
  ~Vst2EditorHost() { Close(); }
  Vst2EditorHost(const Vst2EditorHost&) = delete;
  Vst2EditorHost& operator=(const Vst2EditorHost&) = delete;

  bool HasEditor() const { return (mPlugin.Flags() & effFlagsHasEditor) != 0; }
  bool Rect(ERect& out) { return mPlugin.EditorRect(out); }

  // Sizes the window to the editor's rectangle, then effEditOpen with the window's id. The
  // editor's window (the one child that appeared, looked for over a few idle steps, since the
  // plug-in's requests reach the server when its connection flushes), or 0; OpenAnswer() keeps
  // what effEditOpen answered.
  Window Open(HostWindow& window);
  VstIntPtr OpenAnswer() const { return mOpenAnswer; }
  // effEditClose when the editor is open; its answer, or 0 when nothing was open. Afterwards
  // the host's connection has seen what the plug-in's did (a round trip after the close).
  VstIntPtr Close();

  // One step of the host's loop: a short wait, then effEditIdle.
  void Step();
  LoopStep Stepper() {
    return [this] { Step(); };
  }

  bool IsOpen() const { return mOpen; }
  Window EditorWindow() const { return mEditorWindow; }
  int IdleCalls() const { return mIdleCalls; }

private:
  VstHost& mPlugin;
  HostWindow* mWindow = nullptr;
  VstIntPtr mOpenAnswer = 0;
  bool mOpen = false;
  Window mEditorWindow = 0;
  int mIdleCalls = 0;
};

// Idle steps a host waits for something the plug-in has to send to the server before giving up.
constexpr int kArrivalSteps = 50;

}  // namespace brel::x11
