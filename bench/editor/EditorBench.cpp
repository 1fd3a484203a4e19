// The editor's drawing cost, in microseconds: a full redraw of all 17 controls (what opening the
// window costs), and one timer frame as the host sees it 25 times a second while audio plays:
// both meters move, so the bounding box of the two meters and everything under it is redrawn.
// Each at the scales 1, 1.5 and 2 (the argument, in percent): 2 draws from the twice-size
// images, 1.5 draws those and resamples them to the window.
#include <benchmark/benchmark.h>

#include <memory>

#include "editor/EditorSnapshot.h"
#include "editor/VuControl.h"
#include "engine/Brelvane.h"
#include "raster/Bitmap.h"

namespace {

std::unique_ptr<Brelvane> MakeEditorPlug(const benchmark::State& state) {
  std::unique_ptr<Brelvane> plug(static_cast<Brelvane*>(MakePlug(SnapshotInstanceInfo{})));
  plug->Graphics()->SetHostScale(state.range(0) / 100.0);
  DrawWholeEditor(*plug->Graphics());
  return plug;
}

void FullRedraw(benchmark::State& state) {
  auto plug = MakeEditorPlug(state);
  IGraphics& editor = *plug->Graphics();
  Rect all;
  editor.WindowSize(all.right, all.bottom);
  for (auto _ : state) {
    editor.MarkAllDirty();
    editor.RedrawRegion(all);
    benchmark::DoNotOptimize(editor.ScreenBitmap()->Pixels());
  }
}
BENCHMARK(FullRedraw)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMicrosecond);

void TimerFrameWithMovingMeters(benchmark::State& state) {
  auto plug = MakeEditorPlug(state);
  IGraphics& editor = *plug->Graphics();
  auto& pres = const_cast<MeterFeed&>(plug->PresMeter());
  auto& final = const_cast<MeterFeed&>(plug->FinalMeter());
  int frame = 0;
  Rect dirty;
  for (auto _ : state) {
    // A new level each frame, as the audio thread leaves them.
    const double sweep = (frame++ % 100) / 50.0;
    pres.SetLevel(sweep);
    final.SetLevel(2.0 - sweep);
    if (editor.TimerStep(dirty)) editor.RedrawRegion(dirty);
    benchmark::DoNotOptimize(editor.ScreenBitmap()->Pixels());
  }
  state.counters["area_px"] = static_cast<double>(dirty.W()) * dirty.H();
}
BENCHMARK(TimerFrameWithMovingMeters)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
