#pragma once
// The Linux editor. Until the X11 window host exists it opens no window (the host's request
// fails cleanly) and draws only into its backing bitmap; its images are the PNG files compiled
// into the module, found by resource id.

#include "editor/EmbeddedImageGraphics.h"

class IGraphicsLinux : public EmbeddedImageGraphics {
public:
  using EmbeddedImageGraphics::EmbeddedImageGraphics;
};
