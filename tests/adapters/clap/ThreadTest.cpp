// The module under the two threads a host really uses: one processing blocks with their value
// events, the main thread reading values and texts and saving and loading the state. Checked for
// data races by the ThreadSanitizer tree; in every tree it checks that both threads get through.

#include <atomic>
#include <thread>

#include "tests/adapters/clap/ClapFixture.h"

using namespace claptest;

namespace {

constexpr int kBlocks = 300;
constexpr std::uint32_t kFrames = 256;

TEST(ClapThreads, BlocksRunWhileTheMainThreadReadsValuesAndCarriesTheState) {
  brel::ClapHost host;
  ASSERT_TRUE(Created(host));
  ASSERT_TRUE(Running(host));
  std::vector<std::uint8_t> saved;
  ASSERT_TRUE(host.SaveState(saved));

  std::atomic<int> blocks{0};
  std::thread audio([&] {
    Stereo<float> in = vst2test::SpeechLike(kFrames), out(kFrames, 0.0f);
    float* inputs[2] = {in.left.data(), in.right.data()};
    float* outputs[2] = {out.left.data(), out.right.data()};
    for (int block = 0; block < kBlocks; ++block) {
      host.QueueParamValue(P::kDbOutput, PlainAt(P::kDbOutput, (block % 10) / 10.0), block % kFrames);
      host.QueueParamValue(P::kMode, 1 + block % 4, 17);
      if (host.Process(inputs, 2, outputs, 2, kFrames) == CLAP_PROCESS_CONTINUE) ++blocks;
    }
  });
  std::string text;
  double value = 0.0;
  for (int step = 0; step < kBlocks; ++step) {
    host.ParamValue(P::kDbOutput, value);
    host.ParamText(P::kDbOutput, value, text);
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(host.SaveState(bytes));
    if (step % 50 == 0) {
      EXPECT_TRUE(host.LoadState(saved, 5));
    }
  }
  audio.join();
  EXPECT_EQ(blocks.load(), kBlocks);
  EXPECT_EQ(host.Requests().wrongThreadCalls, 0);
}

}  // namespace
