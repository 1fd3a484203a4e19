#pragma once
// One complete picture of an editor in its backing bitmap: every control dirty, the values the
// host posted taken, one drawing pass over the whole area (what opening the window shows).

#include "editor/IGraphics.h"

inline bool DrawWholeEditor(IGraphics& graphics) {
  graphics.MarkAllDirty();
  Rect dirty;
  graphics.TimerStep(dirty);
  return graphics.RedrawRegion(Rect{0, 0, graphics.GetWidth(), graphics.GetHeight()});
}
