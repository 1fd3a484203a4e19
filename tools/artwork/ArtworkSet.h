#pragma once
// Every image the artwork tool can draw, by the constant name the manifest gives it.

#include <string>

#include "tools/artwork/Canvas.h"

namespace brel::artwork {

struct Artwork {
  const char* name;
  int width;
  int frameHeight;
  int frames;
  // Draws frame `frame` (0-based) into (0, 0, width, frameHeight).
  void (*paint)(cairo_t* cr, int frame, int frames);
};

const Artwork* FindArtwork(const std::string& name);

// All frames stacked from the top down, each clipped to its own cell.
SurfacePtr RenderStrip(const Artwork& artwork);

}  // namespace brel::artwork
