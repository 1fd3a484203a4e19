#pragma once
// What keeps an open editor window going inside a VST 3 host, where the window system has no
// message loop of its own for it (X11): the host's run loop, reached through the view's frame,
// calls the editor when its connection has news and on every frame period. Where the editor
// needs no calls (Win32, whose window timer runs on the window's thread) there is nothing to do.
// One per view; everything runs on the host's user-interface thread.

#include "pluginterfaces/gui/iplugview.h"

class IEditor;

class Vst3EditorPump {
public:
  Vst3EditorPump() = default;
  ~Vst3EditorPump() { Stop(); }
  Vst3EditorPump(const Vst3EditorPump&) = delete;
  Vst3EditorPump& operator=(const Vst3EditorPump&) = delete;

  // Whether the editor's window could be kept going in the host behind `frame` (which may be
  // null): asked before the window opens.
  bool CanRun(Steinberg::IPlugFrame* frame, const IEditor& editor) const;
  // Registers the editor's calls with the host, after its window opened (any earlier
  // registration is dropped first); false when the host refuses them.
  bool Start(Steinberg::IPlugFrame* frame, IEditor& editor);
  // Takes the registrations back; harmless when there are none.
  void Stop();

private:
  struct Handlers;
  Handlers* mHandlers = nullptr;  // counted: the host may hold it a moment longer
};
