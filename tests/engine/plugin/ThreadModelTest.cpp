// The plug-in under the threads a host really uses: one processing blocks, one changing
// parameters and loading state, one reading what the editor reads. Checked for data races by the
// ThreadSanitizer tree; in every tree it checks that the editor ends up showing the last value.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include "core/EditorParamMailbox.h"
#include "core/IEditor.h"
#include "engine/Brelvane.h"

namespace {

// An editor reduced to its thread contract: host-side calls only post, the reader takes.
class MailboxEditor : public IEditor {
public:
  MailboxEditor(IPlugBase& plug) : mPlug(plug), mailbox(plug.NParams()) {}
  int GetWidth() const override { return 904; }
  int GetHeight() const override { return 416; }
  void ApplyPlugValueToControls(int index, double normalized) override { mailbox.Post(index, normalized); }
  void CreateDrawingSurfaces() override {}
  void ApplyParameterFromPlug(int index, double value, bool isNormalized) override {
    // Metadata is read-only after construction: normalizing needs no lock.
    mailbox.Post(index, isNormalized ? value : mPlug.GetParam(index)->ToNormalized(value));
  }

  IPlugBase& mPlug;
  EditorParamMailbox mailbox;
};

constexpr int kBlocks = 400;
constexpr int kFrames = 256;

TEST(ThreadModel, ProcessingParameterChangesStateLoadsAndEditorReadsRunTogether) {
  std::unique_ptr<Brelvane> plug(static_cast<Brelvane*>(MakePlug(TestInstanceInfo{})));
  auto* editor = new MailboxEditor(*plug);
  plug->AttachEditor(editor);
  plug->SetSampleRateFromHost(48000.0);
  plug->NotifyAllParamsChanged();
  StateChunk saved;
  ASSERT_TRUE(plug->SaveProgramChunk(saved));

  std::atomic<bool> processing{true};
  std::thread audio([&] {
    std::vector<double> inL(kFrames), inR(kFrames), outL(kFrames), outR(kFrames);
    for (int block = 0; block < kBlocks; ++block) {
      for (int i = 0; i < kFrames; ++i) inL[i] = inR[i] = std::sin(0.05 * (block * kFrames + i));
      double* in[2] = {inL.data(), inR.data()};
      double* out[2] = {outL.data(), outR.data()};
      IPlugBase::ScopedLock lock(*plug);
      plug->ProcessDoubleBlock(in, out, kFrames);
    }
    processing = false;
  });
  std::thread host([&] {
    for (int step = 0; step < kBlocks; ++step) {
      plug->SetParamFromHost(step % plug->NParams(), (step % 7) / 6.0);
      if (step % 25 == 0) plug->LoadStateFromHost(saved, false);
    }
  });
  double levels = 0.0;
  int taken = 0;
  while (processing) {
    taken +=
        editor->mailbox.TakePosted([&](int, double value) { EXPECT_TRUE(value >= 0.0 && value <= 1.0); });
    levels += plug->PresMeter().Level() + plug->FinalMeter().Level();
    std::this_thread::yield();
  }
  audio.join();
  host.join();
  EXPECT_TRUE(std::isfinite(levels));
  EXPECT_GT(taken, 0);
  // Whatever interleaving happened, the editor is left with the host's last word on every
  // parameter (the last state load came before the last round of changes).
  for (int i = 0; i < plug->NParams(); ++i) {
    int last = kBlocks - 1;
    while (last % plug->NParams() != i) --last;
    EXPECT_EQ(editor->mailbox.Latest(i), (last % 7) / 6.0) << i;
  }
}

}  // namespace
