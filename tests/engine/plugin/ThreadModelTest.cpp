// The plug-in under the threads a host really uses: one processing blocks (the meters move), one
// changing parameters and loading state as a host does, and the user-interface thread running
// the editor's timer and drawing passes and dragging a knob. Checked for data races by the
// ThreadSanitizer tree; in every tree it checks that the editor ends up showing the last value.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include "editor/IGraphics.h"
#include "editor/VuControl.h"
#include "engine/Brelvane.h"

namespace {

constexpr int kBlocks = 400;
constexpr int kFrames = 256;
constexpr int kDraggedParam = Brelvane::kLowCut;  // the user's; the host leaves it alone
// The host leaves "Power" on as well: with it off the chain feeds the meters silence.
bool HostSets(int param) { return param != kDraggedParam && param != Brelvane::kPower; }
constexpr int kDraggedKnob = 2;

TEST(ThreadModel, ProcessingHostChangesStateLoadsAndTheEditorRunTogether) {
  std::unique_ptr<Brelvane> plug(static_cast<Brelvane*>(MakePlug(TestInstanceInfo{})));
  IGraphics& editor = *plug->Graphics();
  plug->SetSampleRateFromHost(48000.0);
  plug->NotifyAllParamsChanged();
  StateChunk saved;
  ASSERT_TRUE(plug->SaveProgramChunk(saved));

  std::atomic<bool> processing{true};
  std::thread audio([&] {
    std::vector<double> inL(kFrames), inR(kFrames), outL(kFrames), outR(kFrames);
    for (int block = 0; block < kBlocks; ++block) {
      for (int i = 0; i < kFrames; ++i) inL[i] = inR[i] = 1.5 * std::sin(0.05 * (block * kFrames + i));
      double* in[2] = {inL.data(), inR.data()};
      double* out[2] = {outL.data(), outR.data()};
      IPlugBase::ScopedLock lock(*plug);
      plug->ProcessDoubleBlock(in, out, kFrames);
    }
    processing = false;
  });
  std::thread host([&] {
    for (int step = 0; step < kBlocks; ++step) {
      if (HostSets(step % plug->NParams())) plug->SetParamFromHost(step % plug->NParams(), (step % 7) / 6.0);
      if (step % 25 == 0) plug->LoadStateFromHost(saved, false);
    }
  });

  // The user-interface thread: timer frames, and a knob dragged up and down meanwhile.
  const IControl* knob = editor.GetControl(kDraggedKnob);
  const int x = (knob->GetRect().left + knob->GetRect().right) / 2;
  const int y = (knob->GetRect().top + knob->GetRect().bottom) / 2;
  const MouseModifiers left{true, false, false, false, false};
  auto* meter = static_cast<VuControl*>(editor.GetControl(12));
  int frames = 0;
  while (processing) {
    if (frames % 8 == 0) editor.HandleMouseDown(x, y, left);
    editor.HandleMouseDrag(x, y + (frames % 8 < 4 ? -(frames % 8) : frames % 8) * 3, left);
    if (frames % 8 == 7) editor.HandleMouseUp(x, y, left);
    Rect dirty;
    if (editor.TimerStep(dirty)) editor.RedrawRegion(dirty);
    ++frames;
    std::this_thread::yield();
  }
  audio.join();
  host.join();
  editor.HandleMouseUp(x, y, left);
  Rect dirty;
  if (editor.TimerStep(dirty)) editor.RedrawRegion(dirty);

  EXPECT_GT(frames, 0);
  // The audio moved the final meter (the pres meter may rest, with the band the host left it),
  // and the last frame drew the level the audio left.
  const double level = plug->FinalMeter().Level();
  EXPECT_GT(level, 0.0);
  EXPECT_EQ(meter->LastShown().needleFrame, VuControl::NeedleFrame(level, 240));
  // Whatever interleaving happened, each control shows the host's last word on its parameter
  // (the last state load came before the last round of changes).
  for (int c = 1; c < editor.NControls(); ++c) {
    const IControl* control = editor.GetControl(c);
    const int i = control->ParamIndex();
    if (i < 0 || !HostSets(i)) continue;
    int last = kBlocks - 1;
    while (last % plug->NParams() != i) --last;
    EXPECT_EQ(control->GetValue(), (last % 7) / 6.0) << "control " << c;
  }
}

}  // namespace
