// Audio blocks through the bundle: parameter queues, bypass and preset parameters, buses and
// their arrangements, the processing setup and blocks of every length.

#include <cmath>

#include "tests/adapters/vst3/Vst3Fixture.h"
#include "tests/support/AllocationCounter.h"

using namespace Steinberg;
using namespace vst3test;
using vst2test::FirstDifference;
using vst2test::SpeechLike;
using vst2test::Widened;

namespace {

class Processing : public PluginTest {
protected:
  void SetUp() override {
    PluginTest::SetUp();
    ASSERT_TRUE(Started());
  }
  double Normalized(ParamID id) { return EditController().getParamNormalized(id); }
};

TEST_F(Processing, OnlyTheLastPointOfAQueueCountsAndBeforeTheBlock) {
  const Stereo<float> in = SpeechLike(kMaxBlock);
  host.QueueParameter(kDbOutput, 1.0, 0);
  host.QueueParameter(kDbOutput, 0.0, 100);
  const Stereo<float> queued = Render(host, in, kMaxBlock);
  EXPECT_DOUBLE_EQ(Normalized(kDbOutput), 0.0);

  brel::Vst3Host other;
  ASSERT_TRUE(CreateFromBundle(other));
  ASSERT_TRUE(other.Setup(kRate, kMaxBlock) && other.Start());
  other.QueueParameter(kDbOutput, 0.0, 0);
  EXPECT_EQ(FirstDifference(queued, Render(other, in, kMaxBlock)), "");
}

TEST_F(Processing, BypassFollowsItsQueueAboveOneHalfAndPassesTheInputUntouched) {
  host.QueueParameter(kBypass, 0.5);
  Flush(host);
  EXPECT_EQ(Normalized(kBypass), 0.0);
  host.QueueParameter(kBypass, 0.51);
  Flush(host);
  EXPECT_EQ(Normalized(kBypass), 1.0);
  const Stereo<float> in = SpeechLike(3 * kMaxBlock + 17);
  EXPECT_EQ(FirstDifference(Render(host, in, 3 * kMaxBlock + 17), in), "") << "one call past the block size";

  host.Stop();
  ASSERT_TRUE(host.Setup(kRate, kMaxBlock, Vst::kSample64) && host.Start());
  const Stereo<double> wide = Widened(in);
  EXPECT_EQ(FirstDifference(Render(host, wide, kMaxBlock), wide), "");
}

TEST_F(Processing, APresetValueSelectsByItsShareOfThePresetCount) {
  ASSERT_EQ(EditController().setParamNormalized(kPresComp, 1.0), kResultOk);
  host.QueueParameter(kPreset, 1.0);  // index 1 of one preset: none
  Flush(host);
  EXPECT_DOUBLE_EQ(Normalized(kPresComp), 1.0);
  host.QueueParameter(kPreset, 0.99);
  Flush(host);
  EXPECT_NEAR(Normalized(kPresComp), 17.5 / 30.0, 1e-12);
}

TEST_F(Processing, ABlockOfNoSamplesAppliesItsQueuesAndRendersNothing) {
  float left[4] = {7, 7, 7, 7}, right[4] = {7, 7, 7, 7};
  float* outputs[2] = {left, right};
  float* inputs[2] = {left, right};
  host.QueueParameter(kPower, 0.0);
  EXPECT_EQ(host.Process(inputs, 2, outputs, 2, 0), kResultOk);
  EXPECT_EQ(Normalized(kPower), 0.0);
  EXPECT_EQ(host.Process(inputs, 2, outputs, 2, -4), kResultOk);
  EXPECT_EQ(left[3], 7.0f);
}

TEST_F(Processing, ASecondInputChannelTheHostDoesNotFeedReadsSilence) {
  host.QueueParameter(kBypass, 1.0);
  Stereo<float> in = SpeechLike(64);
  Stereo<float> out(64, 7.0f);
  float* inputs[1] = {in.left.data()};
  float* outputs[2] = {out.left.data(), out.right.data()};
  ASSERT_EQ(host.Process(inputs, 1, outputs, 2, 64), kResultOk);
  EXPECT_EQ(out.left, in.left);
  EXPECT_EQ(out.right, std::vector<float>(64, 0.0f));
}

TEST_F(Processing, AnInactiveOutputBusKeepsWhatItsBuffersHeld) {
  host.Component()->activateBus(Vst::kAudio, Vst::kOutput, 0, false);
  const Stereo<float> in = SpeechLike(kMaxBlock);
  EXPECT_EQ(FirstDifference(Render(host, in, kMaxBlock, 7.0f), Stereo<float>(kMaxBlock, 7.0f)), "");
}

TEST_F(Processing, BuffersOfTheSampleSizeNotSetUpAreLeftAlone) {
  const Stereo<double> in = Widened(SpeechLike(kMaxBlock));
  EXPECT_EQ(FirstDifference(Render(host, in, kMaxBlock, 7.0), Stereo<double>(kMaxBlock, 7.0)), "");
}

TEST_F(Processing, CallsLongerThanTheSetUpBlockAreServedInSlices) {
  const Stereo<float> in = SpeechLike(5000);
  const Stereo<float> long32 = Render(host, in, 5000);
  host.Stop();
  ASSERT_TRUE(host.Setup(kRate, kMaxBlock, Vst::kSample64) && host.Start());
  const Stereo<double> long64 = Render(host, Widened(in), 5000);

  brel::Vst3Host blocks;
  ASSERT_TRUE(CreateFromBundle(blocks));
  ASSERT_TRUE(blocks.Setup(kRate, kMaxBlock) && blocks.Start());
  EXPECT_EQ(FirstDifference(long32, Render(blocks, in, 300)), "");
  EXPECT_TRUE(vst2test::AllFinite(long64));
  EXPECT_GT(vst2test::Peak(long64), 0.01);
}

template <class Sample>
std::string HeapUseOfABlock(brel::Vst3Host& host, Stereo<Sample>& in, double bypass) {
  Stereo<Sample> out(in.Frames(), 0);
  Sample* inputs[2] = {in.left.data(), in.right.data()};
  Sample* outputs[2] = {out.left.data(), out.right.data()};
  host.QueueParameter(kDbOutput, 0.3);
  host.QueueParameter(kPreset, 0.0);
  host.QueueParameter(kBypass, bypass);
  AllocationCounter counter;
  host.Process(inputs, 2, outputs, 2, in.Frames());
  counter.Stop();
  return counter.Allocations() + counter.Releases() == 0 ? std::string() : counter.Describe();
}

TEST_F(Processing, BlocksWithTheirQueuesAllocateNothing) {
  Stereo<float> in32 = SpeechLike(3000);
  Stereo<double> in64 = Widened(in32);
  for (double bypass : {0.0, 1.0}) EXPECT_EQ(HeapUseOfABlock(host, in32, bypass), "") << bypass;
  host.Stop();
  ASSERT_TRUE(host.Setup(kRate, kMaxBlock, Vst::kSample64) && host.Start());
  for (double bypass : {0.0, 1.0}) EXPECT_EQ(HeapUseOfABlock(host, in64, bypass), "") << bypass;
}

TEST_F(Processing, ASetupIsTakenWholeOrRefusedWithoutAChange) {
  host.QueueParameter(kBypass, 1.0);
  Flush(host);
  Vst::IAudioProcessor& processor = *host.Processor();
  const double rates[] = {0.0, -48000.0, NAN, INFINITY};
  for (double rate : rates) {
    Vst::ProcessSetup setup{Vst::kRealtime, Vst::kSample32, kMaxBlock, rate};
    EXPECT_EQ(processor.setupProcessing(setup), kResultFalse) << rate;
  }
  Vst::ProcessSetup noBlock{Vst::kRealtime, Vst::kSample32, 0, kRate};
  EXPECT_EQ(processor.setupProcessing(noBlock), kResultFalse);
  Vst::ProcessSetup badSize{Vst::kRealtime, 2, kMaxBlock, kRate};
  EXPECT_EQ(processor.setupProcessing(badSize), kResultFalse);
  EXPECT_EQ(Normalized(kBypass), 1.0) << "a refused setup clears nothing";

  EXPECT_EQ(processor.canProcessSampleSize(Vst::kSample32), kResultOk);
  EXPECT_EQ(processor.canProcessSampleSize(Vst::kSample64), kResultOk);
  EXPECT_EQ(processor.canProcessSampleSize(2), kResultFalse);
  EXPECT_EQ(processor.getLatencySamples(), 0u);
  EXPECT_EQ(processor.getTailSamples(), 0u);
}

TEST_F(Processing, ArrangementsMustFormADeclaredChannelPair) {
  Vst::IAudioProcessor& processor = *host.Processor();
  Vst::SpeakerArrangement stereo = Vst::SpeakerArr::kStereo, mono = Vst::SpeakerArr::kMono;
  EXPECT_EQ(processor.setBusArrangements(&stereo, 1, &mono, 1), kResultFalse);
  Vst::SpeakerArrangement arrangement = 0;
  ASSERT_EQ(processor.getBusArrangement(Vst::kInput, 0, arrangement), kResultOk);
  EXPECT_EQ(arrangement, stereo) << "a refused pair rearranges nothing";

  Vst::BusInfo bus;
  ASSERT_EQ(host.Component()->getBusInfo(Vst::kAudio, Vst::kInput, 0, bus), kResultOk);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(bus.name)), u"Main Input");
  EXPECT_EQ(bus.flags, Vst::BusInfo::kDefaultActive);
  ASSERT_EQ(host.Component()->getBusInfo(Vst::kAudio, Vst::kOutput, 0, bus), kResultOk);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(bus.name)), u"Output");

  EXPECT_EQ(processor.setBusArrangements(&mono, 1, &mono, 1), kResultOk);
  ASSERT_EQ(processor.getBusArrangement(Vst::kInput, 0, arrangement), kResultOk);
  EXPECT_EQ(arrangement, mono);
  ASSERT_EQ(host.Component()->getBusInfo(Vst::kAudio, Vst::kInput, 0, bus), kResultOk);
  EXPECT_EQ(bus.channelCount, 1);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(bus.name)), u"Input");
}

}  // namespace
