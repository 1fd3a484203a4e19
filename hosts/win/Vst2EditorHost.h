#pragma once
// A VST2 plug-in's editor opened the way a VST 2.4 host opens it: the host asks for the editor's
// rectangle (effEditGetRect), sizes its window to it, hands the window to effEditOpen, gives the
// editor effEditIdle while it is open and closes it with effEditClose. The editor's own window is
// the child that effEditOpen adds to the host's window.

#include <windows.h>

#include "hosts/vst2/VstHost.h"
#include "hosts/win/HostWindow.h"

namespace brel::win {

class Vst2EditorHost {
public:
  explicit Vst2EditorHost(VstHost& plugin) : mPlugin(plugin) {}
  ~Vst2EditorHost() { Close(); }
  Vst2EditorHost(const Vst2EditorHost&) = delete;
  Vst2EditorHost& operator=(const Vst2EditorHost&) = delete;

  bool HasEditor() const { return (mPlugin.Flags() & effFlagsHasEditor) != 0; }
  // The editor's rectangle as effEditGetRect hands it out; false when the plug-in gives none.
  bool Rect(ERect& out) { return mPlugin.EditorRect(out); }

  // Sizes the window to the editor's rectangle, then effEditOpen with the window. The editor's
  // window (the one child that appeared), or null when the plug-in opened none; OpenAnswer()
  // keeps what effEditOpen answered.
  HWND Open(HostWindow& window);
  VstIntPtr OpenAnswer() const { return mOpenAnswer; }
  void Idle() { mPlugin.Dispatch(effEditIdle); }
  // effEditClose when the editor is open; its answer, or 0 when nothing was open.
  VstIntPtr Close();

  bool IsOpen() const { return mOpen; }
  HWND EditorWindow() const { return mEditorWindow; }

private:
  VstHost& mPlugin;
  VstIntPtr mOpenAnswer = 0;
  bool mOpen = false;
  HWND mEditorWindow = nullptr;
};

// The one window among `after` that is not in `before`; null when none or several appeared.
HWND NewWindow(const std::vector<HWND>& before, const std::vector<HWND>& after);

}  // namespace brel::win
