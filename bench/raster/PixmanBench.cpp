// pixman's composite on the same sizes and pictures, as the anchor: SRC for the copy, OVER for
// the copy with alpha (with a 50 % solid mask for weight 0.5), ADD for the add, and the same frame.
// pixman works in premultiplied alpha, so the artwork is premultiplied first.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <memory>
#include <vector>

#include "bench/raster/BenchImages.h"

namespace {

std::uint32_t Premultiplied(std::uint32_t p) {
  const std::uint32_t a = p >> 24;
  auto channel = [a](std::uint32_t c) { return (c * a + 127) / 255; };
  return a << 24 | channel(p >> 16 & 0xFF) << 16 | channel(p >> 8 & 0xFF) << 8 | channel(p & 0xFF);
}

class Picture {
public:
  Picture(int width, int height) : mPixels(static_cast<size_t>(width) * height) {
    mImage = pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height, mPixels.data(), width * 4);
  }
  ~Picture() { pixman_image_unref(mImage); }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  template <typename PixelFn>
  void Fill(PixelFn pixel, int width) {
    for (size_t i = 0; i < mPixels.size(); ++i)
      mPixels[i] = pixel(static_cast<int>(i % width), static_cast<int>(i / width));
  }
  pixman_image_t* Image() { return mImage; }

private:
  std::vector<std::uint32_t> mPixels;
  pixman_image_t* mImage;
};

void SetRate(benchmark::State& state, double pixelsPerIteration) {
  state.counters["Mpix/s"] = benchmark::Counter(
      pixelsPerIteration * static_cast<double>(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

void FullFrameComposite(benchmark::State& state, pixman_op_t op, bool halfMask) {
  Picture dest(kFrameWidth, kFrameHeight), source(kFrameWidth, kFrameHeight);
  dest.Fill(BackgroundPixel, kFrameWidth);
  source.Fill([](int x, int y) { return Premultiplied(ControlPixel(x % 128, y % 128, 128)); }, kFrameWidth);
  const pixman_color_t half = {0, 0, 0, 0x8000};
  pixman_image_t* mask = halfMask ? pixman_image_create_solid_fill(&half) : nullptr;
  for (auto _ : state) {
    pixman_image_composite32(op, source.Image(), mask, dest.Image(), 0, 0, 0, 0, 0, 0, kFrameWidth,
                             kFrameHeight);
    benchmark::ClobberMemory();
  }
  if (mask) pixman_image_unref(mask);
  SetRate(state, static_cast<double>(kFrameWidth) * kFrameHeight);
}

void BM_Pixman_Src(benchmark::State& state) { FullFrameComposite(state, PIXMAN_OP_SRC, false); }
void BM_Pixman_Over(benchmark::State& state) { FullFrameComposite(state, PIXMAN_OP_OVER, false); }
void BM_Pixman_OverHalf(benchmark::State& state) { FullFrameComposite(state, PIXMAN_OP_OVER, true); }
void BM_Pixman_Add(benchmark::State& state) { FullFrameComposite(state, PIXMAN_OP_ADD, false); }

void BM_Pixman_Frame(benchmark::State& state) {
  Picture frame(kFrameWidth, kFrameHeight), background(kFrameWidth, kFrameHeight);
  background.Fill(BackgroundPixel, kFrameWidth);
  std::vector<std::unique_ptr<Picture>> controls;
  double pixels = static_cast<double>(kFrameWidth) * kFrameHeight;
  for (const ControlPlacement& c : kControls) {
    controls.push_back(std::make_unique<Picture>(c.size, c.size));
    const int size = c.size;
    controls.back()->Fill([size](int x, int y) { return Premultiplied(ControlPixel(x, y, size)); }, size);
    pixels += static_cast<double>(size) * size;
  }
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, background.Image(), nullptr, frame.Image(), 0, 0, 0, 0, 0, 0,
                             kFrameWidth, kFrameHeight);
    for (int i = 0; i < 16; ++i) {
      pixman_image_composite32(PIXMAN_OP_OVER, controls[i]->Image(), nullptr, frame.Image(), 0, 0, 0, 0,
                               kControls[i].x, kControls[i].y, kControls[i].size, kControls[i].size);
    }
    benchmark::ClobberMemory();
  }
  SetRate(state, pixels);
}

BENCHMARK(BM_Pixman_Src);
BENCHMARK(BM_Pixman_Over);
BENCHMARK(BM_Pixman_OverHalf);
BENCHMARK(BM_Pixman_Add);
BENCHMARK(BM_Pixman_Frame);

}  // namespace
