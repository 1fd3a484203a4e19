#include "raster/AreaResample.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::uint32_t kUnit = 1u << 16;

}  // namespace

void AreaResampler::PrepareAxis(Axis& axis, int sourceSize, int destSize) {
  axis.taps.assign(destSize > 0 ? destSize : 0, Taps{0, 0, 0});
  axis.weights.clear();
  axis.sourceSize = sourceSize;
  if (sourceSize <= 0 || destSize <= 0) return;
  const double ratio = static_cast<double>(sourceSize) / destSize;
  for (int d = 0; d < destSize; ++d) {
    const double start = d * ratio;
    const double end = std::min((d + 1) * ratio, static_cast<double>(sourceSize));
    const int first = std::min(static_cast<int>(std::floor(start)), sourceSize - 1);
    const int last = std::max(first, std::min(static_cast<int>(std::ceil(end)) - 1, sourceSize - 1));
    Taps& taps = axis.taps[d];
    taps.first = first;
    taps.count = last - first + 1;
    taps.weightsAt = static_cast<int>(axis.weights.size());
    // Fixed-point shares of the covered length; the rounding remainder goes to the largest share,
    // so every set sums to exactly one and a flat area stays flat.
    std::uint32_t sum = 0;
    int largest = 0;
    for (int i = 0; i < taps.count; ++i) {
      const double from = std::max(start, static_cast<double>(first + i));
      const double to = std::min(end, static_cast<double>(first + i + 1));
      const auto weight =
          static_cast<std::uint32_t>(std::lround(std::max(0.0, to - from) / (end - start) * kUnit));
      axis.weights.push_back(weight);
      sum += weight;
      if (weight > axis.weights[taps.weightsAt + largest]) largest = i;
    }
    axis.weights[taps.weightsAt + largest] += kUnit - sum;
  }
}

void AreaResampler::Prepare(int sourceWidth, int sourceHeight, int destWidth, int destHeight) {
  PrepareAxis(mColumns, sourceWidth, destWidth);
  PrepareAxis(mRows, sourceHeight, destHeight);
}

LicePixel AreaResampler::Average(LICE_IBitmap& source, const Taps& column, const Taps& row) const {
  std::uint64_t total[4] = {0, 0, 0, 0};
  for (int j = 0; j < row.count; ++j) {
    const LicePixel* line = RowPointer(source, row.first + j) + column.first;
    // One row's weighted sum fits 32 bits: 255 x 65536.
    std::uint32_t across[4] = {0, 0, 0, 0};
    for (int i = 0; i < column.count; ++i) {
      const std::uint32_t weight = mColumns.weights[column.weightsAt + i];
      const LicePixel p = line[i];
      for (int c = 0; c < 4; ++c) across[c] += ((p >> (8 * c)) & 0xFF) * weight;
    }
    const std::uint64_t rowWeight = mRows.weights[row.weightsAt + j];
    for (int c = 0; c < 4; ++c) total[c] += across[c] * rowWeight;
  }
  LicePixel out = 0;
  for (int c = 0; c < 4; ++c) out |= static_cast<LicePixel>((total[c] + (1ull << 31)) >> 32) << (8 * c);
  return out;
}

void AreaResampler::Run(LICE_IBitmap& source, LICE_IBitmap& dest, const LiceRect& area) const {
  if (source.Width() != mColumns.sourceSize || source.Height() != mRows.sourceSize) return;
  if (dest.Width() != static_cast<int>(mColumns.taps.size()) ||
      dest.Height() != static_cast<int>(mRows.taps.size()) || !source.Pixels() || !dest.Pixels())
    return;
  const int left = std::max(area.left, 0);
  const int top = std::max(area.top, 0);
  const int right = std::min(area.right, dest.Width());
  const int bottom = std::min(area.bottom, dest.Height());
  for (int y = top; y < bottom; ++y) {
    LicePixel* line = RowPointer(dest, y);
    for (int x = left; x < right; ++x) line[x] = Average(source, mColumns.taps[x], mRows.taps[y]);
  }
}
