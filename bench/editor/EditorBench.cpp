// The editor's drawing cost, in microseconds: a full redraw of all 17 controls (what opening the
// window costs), and one timer frame as the host sees it 25 times a second while audio plays:
// both meters move, so the bounding box of the two meters and everything under it is redrawn.
#include <benchmark/benchmark.h>

#include <memory>

#include "editor/EditorSnapshot.h"
#include "editor/VuControl.h"
#include "engine/Brelvane.h"
#include "raster/Bitmap.h"

namespace {

std::unique_ptr<Brelvane> MakeEditorPlug() {
  std::unique_ptr<Brelvane> plug(static_cast<Brelvane*>(MakePlug(SnapshotInstanceInfo{})));
  DrawWholeEditor(*plug->Graphics());
  return plug;
}

void FullRedraw(benchmark::State& state) {
  auto plug = MakeEditorPlug();
  IGraphics& editor = *plug->Graphics();
  const Rect all{0, 0, editor.GetWidth(), editor.GetHeight()};
  for (auto _ : state) {
    editor.MarkAllDirty();
    editor.RedrawRegion(all);
    benchmark::DoNotOptimize(editor.DrawBitmap()->Pixels());
  }
}
BENCHMARK(FullRedraw)->Unit(benchmark::kMicrosecond);

void TimerFrameWithMovingMeters(benchmark::State& state) {
  auto plug = MakeEditorPlug();
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
    benchmark::DoNotOptimize(editor.DrawBitmap()->Pixels());
  }
  state.counters["area_px"] = static_cast<double>(dirty.W()) * dirty.H();
}
BENCHMARK(TimerFrameWithMovingMeters)->Unit(benchmark::kMicrosecond);

}  // namespace
