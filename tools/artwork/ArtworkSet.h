#pragma once
// Every image the artwork tool can draw, by the constant name the manifest gives it.

#include <string>
#include <vector>

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

// All frames stacked from the top down, each clipped to its own cell, at `scale` device pixels
// to the unit each way. cairo's surfaces hold at most 32767 rows, so a taller strip comes in
// bands of whole frames, stacked in order; a strip that fits is one band.
struct Strip {
  std::vector<SurfacePtr> bands;
  int framesPerBand;

  std::vector<cairo_surface_t*> Bands() const;
};
Strip RenderStrip(const Artwork& artwork, int scale);

}  // namespace brel::artwork
