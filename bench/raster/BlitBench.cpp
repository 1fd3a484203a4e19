// Megapixels per second of BlitBitmap on 904 x 416 bitmaps: copy, copy with source alpha at
// weights 1.0 and 0.5, add with source alpha, and a whole editor frame (background plus sixteen
// control blits).
#include <benchmark/benchmark.h>

#include "bench/raster/BenchImages.h"
#include "raster/Raster.h"

namespace {

void Fill(LICE_MemBitmap& bitmap, std::uint32_t (*pixel)(int, int)) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) bitmap.Pixels()[y * bitmap.RowSpan() + x] = pixel(x, y);
  }
}

// A full-frame source of knob-like artwork, tiled in 128-pixel cells.
std::uint32_t ArtworkPixel(int x, int y) { return ControlPixel(x % 128, y % 128, 128); }

void SetRate(benchmark::State& state, double pixelsPerIteration) {
  state.counters["Mpix/s"] = benchmark::Counter(
      pixelsPerIteration * static_cast<double>(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

void FullFrameBlit(benchmark::State& state, float weight, int mode) {
  LICE_MemBitmap dest(kFrameWidth, kFrameHeight), source(kFrameWidth, kFrameHeight);
  Fill(dest, BackgroundPixel);
  Fill(source, ArtworkPixel);
  for (auto _ : state) {
    BlitBitmap(&dest, &source, 0, 0, nullptr, weight, mode);
    benchmark::ClobberMemory();
  }
  SetRate(state, static_cast<double>(kFrameWidth) * kFrameHeight);
}

void BM_Raster_Copy(benchmark::State& state) { FullFrameBlit(state, 1.0f, BlitCopy); }
void BM_Raster_CopyAlpha(benchmark::State& state) { FullFrameBlit(state, 1.0f, BlitCopy | BlitUseAlpha); }
void BM_Raster_CopyAlphaHalf(benchmark::State& state) { FullFrameBlit(state, 0.5f, BlitCopy | BlitUseAlpha); }
void BM_Raster_AddAlpha(benchmark::State& state) { FullFrameBlit(state, 1.0f, BlitAdd | BlitUseAlpha); }
void BM_Raster_Add(benchmark::State& state) { FullFrameBlit(state, 1.0f, BlitAdd); }

void BM_Raster_Frame(benchmark::State& state) {
  LICE_MemBitmap frame(kFrameWidth, kFrameHeight), background(kFrameWidth, kFrameHeight);
  Fill(background, BackgroundPixel);
  LICE_MemBitmap controls[16];
  double pixels = static_cast<double>(kFrameWidth) * kFrameHeight;
  for (int i = 0; i < 16; ++i) {
    const int size = kControls[i].size;
    controls[i].Resize(size, size);
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x)
        controls[i].Pixels()[y * controls[i].RowSpan() + x] = ControlPixel(x, y, size);
    }
    pixels += static_cast<double>(size) * size;
  }
  for (auto _ : state) {
    BlitBitmap(&frame, &background, 0, 0, nullptr, 1.0f, BlitCopy);
    for (int i = 0; i < 16; ++i) {
      BlitBitmap(&frame, &controls[i], kControls[i].x, kControls[i].y, nullptr, 1.0f,
                 BlitCopy | BlitUseAlpha);
    }
    benchmark::ClobberMemory();
  }
  SetRate(state, pixels);
}

BENCHMARK(BM_Raster_Copy);
BENCHMARK(BM_Raster_CopyAlpha);
BENCHMARK(BM_Raster_CopyAlphaHalf);
BENCHMARK(BM_Raster_AddAlpha);
BENCHMARK(BM_Raster_Add);
BENCHMARK(BM_Raster_Frame);

}  // namespace
