// Blocks through the module: the VST2 module's sound with changes at the same frames, in 32 and
// 64 bits, without allocating; blocks out of the life cycle and hostile events answered safely.

#include <cmath>
#include <tuple>

#include "tests/adapters/clap/ClapFixture.h"
#include "tests/adapters/vst2/ModuleFixture.h"
#include "tests/support/AllocationCounter.h"

using namespace claptest;
using vst2test::FirstDifference;
using vst2test::SpeechLike;

namespace {

const std::vector<Change> kChanges = {
    {100, P::kDbOutput, 0.3f}, {700, P::kPresComp, 0.9f}, {700, P::kMode, 0.75f}, {1100, P::kPower, 0.0f}};

// The VST2 module given the same changes, its blocks split at their frames.
template <class Sample>
Stereo<Sample> RenderVst2(brel::VstHost& host, Stereo<Sample> in) {
  Stereo<Sample> out(in.Frames(), Sample(0));
  int at = 0;
  const auto renderTo = [&](int end) {
    Sample* inputs[2] = {in.left.data() + at, in.right.data() + at};
    Sample* outputs[2] = {out.left.data() + at, out.right.data() + at};
    if constexpr (sizeof(Sample) == sizeof(float)) {
      host.ProcessReplacing(inputs, outputs, end - at);
    } else {
      host.ProcessDoubleReplacing(inputs, outputs, end - at);
    }
    at = end;
  };
  for (const Change& c : kChanges) {
    renderTo(c.frame);
    host.SetParameter(c.param, c.normalized);
  }
  renderTo(in.Frames());
  return out;
}

template <class Sample>
void ExpectTheVst2ModulesSound(const Stereo<Sample>& in) {
  brel::ClapHost clap;
  brel::VstHost vst2;
  ASSERT_TRUE(Created(clap) && Running(clap) && vst2test::StartPlugin(vst2));
  const Stereo<Sample> ours = Render(clap, in, kMaxBlock, kChanges);
  EXPECT_EQ(FirstDifference(ours, RenderVst2(vst2, in)), "");
  EXPECT_GT(vst2test::Peak(ours), 0.01);
}

TEST(ClapProcessing, ValueEventsApplyAtTheirFramesAsTheVst2ModuleDoesIn32And64Bits) {
  const Stereo<float> in = SpeechLike(3 * kMaxBlock);
  ExpectTheVst2ModulesSound(in);
  ExpectTheVst2ModulesSound(vst2test::Widened(in));
}

TEST_F(ClapTest, BlocksBeforeActivationOrOutsideProcessingAreRefusedUntouched) {
  Stereo<float> in = SpeechLike(64), out(64, 7.0f);
  float* inputs[2] = {in.left.data(), in.right.data()};
  float* outputs[2] = {out.left.data(), out.right.data()};
  EXPECT_EQ(host.Process(inputs, 2, outputs, 2, 64), CLAP_PROCESS_ERROR);
  ASSERT_TRUE(host.Activate(kRate, 1, kMaxBlock));
  EXPECT_FALSE(host.Activate(kRate, 1, kMaxBlock)) << "active already";
  EXPECT_EQ(host.Process(inputs, 2, outputs, 2, 64), CLAP_PROCESS_ERROR);
  EXPECT_EQ(out.left, std::vector<float>(64, 7.0f));
  host.Plugin()->deactivate(host.Plugin());
  host.Plugin()->deactivate(host.Plugin());
  using Setup = std::tuple<double, std::uint32_t, std::uint32_t>;
  for (const auto& [rate, minFrames, maxFrames] :
       {Setup{0.0, 1, 512}, Setup{NAN, 1, 512}, Setup{kRate, 0, 512}, Setup{kRate, 64, 32},
        Setup{kRate, 1, 0x80000000u}})
    EXPECT_FALSE(host.Plugin()->activate(host.Plugin(), rate, minFrames, maxFrames))
        << rate << " " << maxFrames;
}

// Hostile events are ignored; one late, or earlier than the one before it, neither stalls nor
// overruns the block: it applies at the block's end, as a flush between the blocks does.
TEST(ClapProcessing, HostileEventsChangeNothingAndLateOnesApplyAtTheBlocksEnd) {
  brel::ClapHost hostile, plain;
  ASSERT_TRUE(Created(hostile) && Running(hostile) && Created(plain) && Running(plain));
  clap_event_header_t shortValue{sizeof(clap_event_header_t), 2, CLAP_CORE_EVENT_SPACE_ID,
                                 CLAP_EVENT_PARAM_VALUE, 0};
  clap_event_header_t otherSpace = shortValue;
  otherSpace.space_id = CLAP_CORE_EVENT_SPACE_ID + 1;
  for (brel::ClapHost* host : {&hostile, &plain}) host->QueueParamValue(P::kBass, 3.0, 8);
  for (double bad : {NAN, INFINITY}) hostile.QueueParamValue(P::kDbOutput, bad, 3);
  hostile.QueueParamValue(kNumParams, 1.0, 5);
  hostile.QueueParamValue(P::kPresComp, 20.0, 1000);
  hostile.QueueRawEvent(shortValue);  // time 2, after the events at 8 and 1000
  hostile.QueueRawEvent(otherSpace);
  const Stereo<float> in = SpeechLike(128);
  const Stereo<float> heard = Render(hostile, in, 64);
  Stereo<float> source = in, expected(128, 0.0f);
  for (int at : {0, 64}) {
    float* inputs[2] = {source.left.data() + at, source.right.data() + at};
    float* outputs[2] = {expected.left.data() + at, expected.right.data() + at};
    plain.Process(inputs, 2, outputs, 2, 64);
    plain.QueueParamValue(P::kPresComp, 20.0);
    plain.Flush();
  }
  EXPECT_EQ(FirstDifference(heard, expected), "");
  double value = 0.0;
  ASSERT_TRUE(hostile.ParamValue(P::kDbOutput, value));
  EXPECT_EQ(value, kBrelvaneParams[P::kDbOutput].defaultValue);
}

TEST_F(ClapTest, BlocksWithTheirEventsAllocateNothing) {
  ASSERT_TRUE(Running(host));
  Stereo<float> narrow = SpeechLike(3000);
  Stereo<double> wide = vst2test::Widened(narrow);
  float* n[2] = {narrow.left.data(), narrow.right.data()};
  double* w[2] = {wide.left.data(), wide.right.data()};
  for (bool is64 : {false, true}) {
    host.QueueParamValue(P::kDbOutput, -3.0, 100);
    host.QueueParamValue(P::kMode, 3.0, 2000);
    AllocationCounter counter;
    is64 ? host.Process(w, 2, w, 2, 3000) : host.Process(n, 2, n, 2, 3000);
    counter.Stop();
    // The host library frees the events it queued once the block is done.
    EXPECT_EQ(counter.Allocations(), 0) << counter.Describe();
  }
}

}  // namespace
