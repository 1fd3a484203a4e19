#pragma once
// A complete picture of an editor in its screen bitmap (at the editor's scale): every control
// dirty, the values the host posted taken, then `passes` drawing passes over the whole window
// (what the window shows after as many timer frames; the meters' lamps need their fade's frames
// to settle).

#include "editor/IGraphics.h"

inline bool DrawWholeEditor(IGraphics& graphics, int passes = 1) {
  bool drawn = true;
  int width = 0;
  int height = 0;
  graphics.WindowSize(width, height);
  for (int i = 0; i < passes; ++i) {
    graphics.MarkAllDirty();
    Rect dirty;
    graphics.TimerStep(dirty);
    drawn = graphics.RedrawRegion(Rect{0, 0, width, height}) && drawn;
  }
  return drawn;
}
