// The bundle under the two threads a host really uses: one processing blocks with their queues,
// one working the controller (values, texts, state, program names). Checked for data races by the
// ThreadSanitizer tree; in every tree it checks that both threads get through.

#include <atomic>
#include <thread>

#include "pluginterfaces/vst/ivstunits.h"
#include "tests/adapters/vst3/Vst3Fixture.h"

using namespace Steinberg;
using namespace vst3test;

namespace {

constexpr int kBlocks = 300;
constexpr int kFrames = 256;

TEST_F(PluginTest, BlocksAndControllerCallsRunTogether) {
  ASSERT_TRUE(Started());
  const std::vector<std::uint8_t> saved = host.GetState();
  Vst::ProcessContext context{};
  context.tempo = 120.0;
  host.SetProcessContext(&context);

  std::atomic<int> blocks{0};
  std::thread audio([&] {
    Stereo<float> in = vst2test::SpeechLike(kFrames), out(kFrames, 0.0f);
    float* inputs[2] = {in.left.data(), in.right.data()};
    float* outputs[2] = {out.left.data(), out.right.data()};
    for (int block = 0; block < kBlocks; ++block) {
      host.QueueParameter(kDbOutput, (block % 10) / 10.0);
      host.QueueParameter(kPresComp, (block % 3) / 3.0);
      host.QueueParameter(kBypass, block % 7 == 0 ? 1.0 : 0.0);
      if (host.Process(inputs, 2, outputs, 2, kFrames) == kResultOk) ++blocks;
    }
  });
  FUnknownPtr<Vst::IUnitInfo> units(host.Component());
  Vst::String128 text;
  for (int step = 0; step < kBlocks; ++step) {
    EditController().setParamNormalized(kPresComp, (step % 5) / 5.0);
    EditController().getParamNormalized(kBypass);
    EditController().getParamStringByValue(kDbOutput, EditController().getParamNormalized(kDbOutput), text);
    units->getProgramName(kPreset, 0, text);
    if (step % 50 == 0) host.SetState(saved);
    if (step % 30 == 0) {
      EXPECT_EQ(host.GetState().size(), 92u);
    }
  }
  audio.join();
  EXPECT_EQ(blocks.load(), kBlocks);
}

}  // namespace
