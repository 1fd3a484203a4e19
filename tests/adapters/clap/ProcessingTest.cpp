// Blocks through the module: the same sound as the VST2 module with changes at the same frames,
// in 32 and 64 bits, without allocating, and hostile blocks and events answered safely.

#include <cmath>

#include "hosts/vst2/VstHost.h"
#include "tests/adapters/clap/ClapFixture.h"
#include "tests/adapters/vst2/ModuleFixture.h"
#include "tests/support/AllocationCounter.h"

using namespace claptest;
using vst2test::FirstDifference;
using vst2test::SpeechLike;

namespace {

const std::vector<Change> kChanges = {
    {100, P::kDbOutput, 0.3f}, {700, P::kPresComp, 0.9f}, {700, P::kMode, 0.75f}, {1100, P::kPower, 0.0f}};

// The VST2 module given the same changes by splitting its blocks at their frames.
template <class Sample>
Stereo<Sample> RenderVst2(brel::VstHost& host, const Stereo<Sample>& in) {
  Stereo<Sample> source = in, out(in.Frames(), Sample(0));
  int at = 0;
  const auto renderTo = [&](int end) {
    Sample* inputs[2] = {source.left.data() + at, source.right.data() + at};
    Sample* outputs[2] = {out.left.data() + at, out.right.data() + at};
    if constexpr (sizeof(Sample) == sizeof(float)) {
      EXPECT_TRUE(end == at || host.ProcessReplacing(inputs, outputs, end - at));
    } else {
      EXPECT_TRUE(end == at || host.ProcessDoubleReplacing(inputs, outputs, end - at));
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
void ExpectSameSoundAsVst2(const Stereo<Sample>& in) {
  brel::ClapHost clap;
  ASSERT_TRUE(Created(clap) && Running(clap));
  brel::VstHost vst2;
  ASSERT_TRUE(vst2test::StartPlugin(vst2));
  const Stereo<Sample> ours = Render(clap, in, kMaxBlock, kChanges);
  EXPECT_EQ(FirstDifference(ours, RenderVst2(vst2, in)), "");
  EXPECT_GT(vst2test::Peak(ours), 0.01);
}

TEST(ClapProcessing, ValueEventsApplyAtTheirFramesAsTheVst2ModuleDoesIn32And64Bits) {
  const Stereo<float> in = SpeechLike(3 * kMaxBlock);
  ExpectSameSoundAsVst2(in);
  ExpectSameSoundAsVst2(vst2test::Widened(in));
}

TEST_F(ClapTest, BlocksAreRefusedUntouchedBeforeActivationAndOutsideProcessing) {
  Stereo<float> in = SpeechLike(64), out(64, 7.0f);
  float* inputs[2] = {in.left.data(), in.right.data()};
  float* outputs[2] = {out.left.data(), out.right.data()};
  EXPECT_EQ(host.Process(inputs, 2, outputs, 2, 64), CLAP_PROCESS_ERROR) << "not active";
  ASSERT_TRUE(host.Activate(kRate, 1, kMaxBlock));
  EXPECT_FALSE(host.Activate(kRate, 1, kMaxBlock)) << "active already";
  EXPECT_EQ(host.Process(inputs, 2, outputs, 2, 64), CLAP_PROCESS_ERROR) << "not processing";
  EXPECT_EQ(out.left, std::vector<float>(64, 7.0f));
  host.Plugin()->deactivate(host.Plugin());
  host.Plugin()->deactivate(host.Plugin());  // harmless twice
  for (const auto& [rate, minFrames, maxFrames] :
       std::vector<std::tuple<double, std::uint32_t, std::uint32_t>>{{0.0, 1, 512},
                                                                     {-1.0, 1, 512},
                                                                     {NAN, 1, 512},
                                                                     {kRate, 0, 512},
                                                                     {kRate, 64, 32},
                                                                     {kRate, 1, 0x80000000u}})
    EXPECT_FALSE(host.Plugin()->activate(host.Plugin(), rate, minFrames, maxFrames))
        << rate << " " << maxFrames;
}

// The hostile events are ignored and the late ones applied at the block's end, which sounds as
// a flush between the blocks does.
TEST(ClapProcessing, HostileEventsChangeNothingAndLateOnesNeitherStallNorOverrun) {
  brel::ClapHost hostile, plain;
  ASSERT_TRUE(Created(hostile) && Running(hostile) && Created(plain) && Running(plain));
  const clap_event_header_t shortValue{sizeof(clap_event_header_t), 2, CLAP_CORE_EVENT_SPACE_ID,
                                       CLAP_EVENT_PARAM_VALUE, 0};
  clap_event_header_t otherSpace = shortValue;
  otherSpace.space_id = CLAP_CORE_EVENT_SPACE_ID + 1;
  for (brel::ClapHost* host : {&hostile, &plain}) host->QueueParamValue(P::kBass, 3.0, 8);
  hostile.QueueParamValue(P::kDbOutput, NAN, 3);
  hostile.QueueParamValue(P::kDbOutput, INFINITY, 4);
  hostile.QueueParamValue(kNumParams, 1.0, 5);
  hostile.QueueParamValue(P::kPresComp, 20.0, 1000);  // past the block's end
  hostile.QueueRawEvent(shortValue);                  // and earlier than the one before it
  hostile.QueueRawEvent(otherSpace);
  const Stereo<float> in = SpeechLike(2 * 64);
  const Stereo<float> first = Render(hostile, in, 64);
  Stereo<float> source = in, expected(2 * 64, 0.0f);
  for (int at : {0, 64}) {
    float* inputs[2] = {source.left.data() + at, source.right.data() + at};
    float* outputs[2] = {expected.left.data() + at, expected.right.data() + at};
    plain.Process(inputs, 2, outputs, 2, 64);
    plain.QueueParamValue(P::kPresComp, 20.0);
    plain.Flush();
  }
  EXPECT_EQ(FirstDifference(first, expected), "");
  double value = 0.0;
  ASSERT_TRUE(hostile.ParamValue(P::kDbOutput, value));
  EXPECT_EQ(value, kBrelvaneParams[P::kDbOutput].defaultValue);
  ASSERT_TRUE(hostile.ParamValue(P::kPresComp, value));
  EXPECT_EQ(value, 20.0);
}

TEST_F(ClapTest, BlocksWithTheirEventsAllocateNothing) {
  ASSERT_TRUE(Running(host));
  Stereo<float> in32 = SpeechLike(3000), out32(3000, 0.0f);
  Stereo<double> in64 = vst2test::Widened(in32), out64(3000, 0.0);
  float* in32s[2] = {in32.left.data(), in32.right.data()};
  float* out32s[2] = {out32.left.data(), out32.right.data()};
  double* in64s[2] = {in64.left.data(), in64.right.data()};
  double* out64s[2] = {out64.left.data(), out64.right.data()};
  for (int wide = 0; wide < 2; ++wide) {
    host.QueueParamValue(P::kDbOutput, -3.0, 100);
    host.QueueParamValue(P::kMode, 3.0, 2000);
    AllocationCounter counter;
    wide ? host.Process(in64s, 2, out64s, 2, 3000) : host.Process(in32s, 2, out32s, 2, 3000);
    counter.Stop();
    // The host library frees the events it queued once the block is done.
    EXPECT_EQ(counter.Allocations(), 0) << counter.Describe();
  }
}

}  // namespace
