#pragma once
// An editor that opens no native window: everything of the editor core (controls, drawing into
// the backing bitmap, mouse dispatch, the parameter exchange, the images compiled into the
// module) and nothing on a screen. It serves tests that need no window.

#include "editor/IGraphics.h"

class EmbeddedImageGraphics : public IGraphics {
public:
  using IGraphics::IGraphics;
  ~EmbeddedImageGraphics() override = default;

  bool HasWindowHost() const override { return false; }
  // No window to open: the host's request fails and nothing changes.
  bool OpenEditorWindow(void* parentWindow) override { return false; }
  void CloseEditorWindow() override {}

  bool PaintScreen(const Rect& rect) override { return true; }  // nothing on screen to update
  // No window, no box.
  void OpenTextEntry(IControl* control, const TextStyle& style, const Rect& rect, const char* text,
                     int paramIndex) override {}
  void* WindowHandle() override { return nullptr; }
};
