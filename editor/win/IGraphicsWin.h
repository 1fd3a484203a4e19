#pragma once
// The Windows editor. Until the Win32 window host exists it opens no window (the host's request
// fails cleanly) and draws only into its backing bitmap; its images are the PNG files compiled
// into the module, found by resource id, as on Linux.

#include "editor/EmbeddedImageGraphics.h"

class IGraphicsWin : public EmbeddedImageGraphics {
public:
  using EmbeddedImageGraphics::EmbeddedImageGraphics;
};
