#include <cstring>
#include <vector>

#include "raster/Raster.h"

namespace {

// Per-byte fractions of a pixel, each truncated on its own so the sums never carry between bytes.
inline LicePixel Half(LicePixel p) { return (p >> 1) & 0x7F7F7F7F; }
inline LicePixel Quarter(LicePixel p) { return (p >> 2) & 0x3F3F3F3F; }
inline LicePixel Eighth(LicePixel p) { return (p >> 3) & 0x1F1F1F1F; }

// Smooths one row from `old` (its own values before smoothing) into `out`. `above` and `below` are
// the vertical neighbours; a missing one (first or last row) gives the other one a quarter.
void SmoothRow(LicePixel* out, const LicePixel* old, const LicePixel* above, const LicePixel* below,
               int width) {
  const int last = width - 1;
  if (above && below) {
    out[0] = Half(old[0]) + Quarter(old[1]) + Eighth(above[0]) + Eighth(below[0]);
    for (int i = 1; i < last; ++i) {
      out[i] = Half(old[i]) + Eighth(old[i - 1]) + Eighth(old[i + 1]) + Eighth(above[i]) + Eighth(below[i]);
    }
    out[last] = Half(old[last]) + Quarter(old[last - 1]) + Eighth(above[last]) + Eighth(below[last]);
    return;
  }
  const LicePixel* vertical = above ? above : below;
  out[0] = Half(old[0]) + Quarter(old[1]) + Quarter(vertical[0]);
  for (int i = 1; i < last; ++i) {
    out[i] = Half(old[i]) + Eighth(old[i - 1]) + Eighth(old[i + 1]) + Quarter(vertical[i]);
  }
  out[last] = Half(old[last]) + Quarter(old[last - 1]) + Quarter(vertical[last]);
}

constexpr int kStackRowPixels = 1024;

}  // namespace

void SmoothBitmap(LICE_IBitmap* bitmap, int width, int height) {
  if (!bitmap || !bitmap->Pixels()) return;
  if (width > bitmap->Width()) width = bitmap->Width();
  if (height > bitmap->Height()) height = bitmap->Height();
  if (width < 2 || height < 2) return;

  LicePixel stackRows[2 * kStackRowPixels];
  std::vector<LicePixel> heapRows;
  LicePixel* rows = stackRows;
  if (width > kStackRowPixels) {
    heapRows.resize(2 * static_cast<std::size_t>(width));
    rows = heapRows.data();
  }
  LicePixel* previousOld = rows;
  LicePixel* currentOld = rows + width;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * sizeof(LicePixel);

  const int lastRow = height - 1;
  for (int y = 0; y <= lastRow; ++y) {
    LicePixel* row = RowPointer(*bitmap, y);
    std::memcpy(currentOld, row, rowBytes);
    if (y == 0) {
      SmoothRow(row, currentOld, nullptr, RowPointer(*bitmap, 1), width);
    } else if (y == lastRow) {
      // The last row takes the row above as it already is, smoothed.
      SmoothRow(row, currentOld, RowPointer(*bitmap, y - 1), nullptr, width);
    } else {
      SmoothRow(row, currentOld, previousOld, RowPointer(*bitmap, y + 1), width);
    }
    LicePixel* swap = previousOld;
    previousOld = currentOld;
    currentOld = swap;
  }
}
