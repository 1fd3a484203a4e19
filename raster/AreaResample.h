#pragma once
// Resampling a bitmap to another size by area averaging: every destination pixel is the mean of
// the source area it covers, each source pixel weighed by how much of it lies inside that area.
// It shrinks without aliasing and enlarges without ringing, which suits a picture drawn at one
// resolution and shown at a nearby one. Channels (alpha included) are averaged independently.

#include <cstdint>
#include <vector>

#include "raster/Bitmap.h"

class AreaResampler {
public:
  // Computes the weights for these sizes. All allocation happens here; Run allocates nothing.
  void Prepare(int sourceWidth, int sourceHeight, int destWidth, int destHeight);
  // Writes the destination pixels inside `area` (clipped to the destination) from the source,
  // which must have the prepared sizes; nothing is written otherwise.
  void Run(LICE_IBitmap& source, LICE_IBitmap& dest, const LiceRect& area) const;

private:
  // The source pixels one destination column or row takes: `count` of them from `first`, whose
  // weights (in 1/65536, summing to 65536) start at `weightsAt`.
  struct Taps {
    int first;
    int count;
    int weightsAt;
  };
  struct Axis {
    std::vector<Taps> taps;
    std::vector<std::uint32_t> weights;
    int sourceSize = 0;
  };
  static void PrepareAxis(Axis& axis, int sourceSize, int destSize);
  LicePixel Average(LICE_IBitmap& source, const Taps& column, const Taps& row) const;

  Axis mColumns;
  Axis mRows;
};
