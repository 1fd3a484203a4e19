#include <gtest/gtest.h>

#include <vector>

#include "core/IPlugBase.h"
#include "tests/core/TestPlug.h"

namespace {

// Adds 1000 to every input sample on its way out, so a test sees which path a sample took;
// remembers the input pointers it was given.
class OffsetPlug : public RecordingPlug {
public:
  OffsetPlug() : RecordingPlug(0, 0, "1-1 2-2") {}
  void ProcessDouble(double** inputs, double** outputs, int nFrames) override {
    seenInputs.assign(inputs, inputs + NInChannels());
    ++calls;
    for (int c = 0; c < NOutChannels(); ++c) {
      for (int i = 0; i < nFrames; ++i) outputs[c][i] = inputs[c][i] + 1000.0;
    }
  }
  std::vector<double*> seenInputs;
  int calls = 0;
};

struct FloatBlock {
  explicit FloatBlock(int frames)
      : left(frames), right(frames), outLeft(frames, -1.0f), outRight(frames, -1.0f) {
    for (int i = 0; i < frames; ++i) {
      left[i] = float(i);
      right[i] = float(-i);
    }
  }
  std::vector<float> left, right, outLeft, outRight;
  float* in[2] = {left.data(), right.data()};
  float* out[2] = {outLeft.data(), outRight.data()};
};

}  // namespace

TEST(ChannelBinding, SetMaxBlockSizeWithSameSizeKeepsScratchContents) {
  OffsetPlug plug;
  plug.SetMaxBlockSize(8);
  plug.SetInputConnections(2);
  FloatBlock block(8);
  plug.BindInputsFromFloat(block.in, 8);
  double* scratch = plug.GetInputPointers()[1];
  EXPECT_EQ(scratch[3], -3.0);
  plug.SetMaxBlockSize(8);
  EXPECT_EQ(plug.GetInputPointers()[1][3], -3.0);
  plug.SetMaxBlockSize(16);
  EXPECT_EQ(plug.GetMaxBlockSize(), 16);
  plug.SetInputConnections(1);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(plug.GetInputPointers()[1][i], 0.0) << i;
}

TEST(ChannelBinding, UnconnectedInputReadsItsScratchAndHostPointersGoToConnectedOnes) {
  OffsetPlug plug;
  plug.SetMaxBlockSize(4);
  plug.SetInputConnections(1);
  plug.SetOutputConnections(2);
  std::vector<float> mono = {1, 2, 3, 4};
  float* in[1] = {mono.data()};
  FloatBlock block(4);
  plug.BindInputsFromFloat(in, 4);
  plug.BindOutputsToScratch(block.out);
  plug.ProcessDouble(plug.GetInputPointers(), plug.GetOutputPointers(), 4);
  plug.WriteOutputsToFloat(4, false);
  EXPECT_EQ(block.outLeft, (std::vector<float>{1001, 1002, 1003, 1004}));
  EXPECT_EQ(block.outRight, (std::vector<float>{1000, 1000, 1000, 1000})) << "second input reads zeros";
  EXPECT_FALSE(plug.IsInputConnected(1));
}

// A host switching from stereo to mono must not leave the last stereo block replaying on the
// now unfed input: it reads silence from the switch on.
TEST(ChannelBinding, InputThatStopsBeingFedReadsSilenceNotItsLastBlock) {
  OffsetPlug plug;
  plug.SetMaxBlockSize(4);
  plug.SetInputConnections(2);
  FloatBlock block(4);
  plug.BindInputsFromFloat(block.in, 4);
  ASSERT_EQ(plug.GetInputPointers()[1][3], -3.0);
  plug.SetInputConnections(1);
  plug.BindInputsFromFloat(block.in, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(plug.GetInputPointers()[1][i], 0.0);
}

TEST(ChannelBinding, AccumulatingWriteAddsToHostOutput) {
  OffsetPlug plug;
  plug.SetMaxBlockSize(4);
  plug.SetInputConnections(2);
  plug.SetOutputConnections(2);
  FloatBlock block(4);
  block.outLeft.assign(4, 0.5f);
  plug.BindInputsFromFloat(block.in, 4);
  plug.BindOutputsToScratch(block.out);
  plug.ProcessDouble(plug.GetInputPointers(), plug.GetOutputPointers(), 4);
  plug.WriteOutputsToFloat(4, true);
  EXPECT_EQ(block.outLeft, (std::vector<float>{1000.5f, 1001.5f, 1002.5f, 1003.5f}));
}

TEST(ChannelBinding, UnconnectedOutputIsDiscarded) {
  OffsetPlug plug;
  plug.SetMaxBlockSize(4);
  plug.SetInputConnections(2);
  plug.SetOutputConnections(1);
  FloatBlock block(4);
  plug.BindInputsFromFloat(block.in, 4);
  plug.BindOutputsToScratch(block.out);
  plug.ProcessDouble(plug.GetInputPointers(), plug.GetOutputPointers(), 4);
  plug.WriteOutputsToFloat(4, false);
  EXPECT_EQ(block.outLeft[2], 1002.0f);
  EXPECT_EQ(block.outRight, (std::vector<float>(4, -1.0f)));
}

TEST(ChannelBinding, DirectBindingHandsHostBuffersThrough) {
  OffsetPlug plug;
  plug.SetMaxBlockSize(4);
  plug.SetInputConnections(2);
  plug.SetOutputConnections(2);
  std::vector<double> l = {1, 2}, r = {3, 4}, ol(2), orr(2);
  double* in[2] = {l.data(), r.data()};
  double* out[2] = {ol.data(), orr.data()};
  plug.BindInputsDirect(in);
  plug.BindOutputsDirect(out);
  EXPECT_EQ(plug.GetInputPointers()[0], l.data());
  EXPECT_EQ(plug.GetOutputPointers()[1], orr.data());
  plug.ProcessDouble(plug.GetInputPointers(), plug.GetOutputPointers(), 2);
  EXPECT_EQ(orr, (std::vector<double>{1003, 1004}));
}

TEST(ChannelBinding, PassThroughCopiesMatchingChannelsAndZeroesTheRest) {
  RecordingPlug plug(0, 0, "1-2");
  plug.SetMaxBlockSize(3);
  plug.SetInputConnections(1);
  plug.SetOutputConnections(2);
  std::vector<double> in = {1, 2, 3}, o0(3, 9.0), o1(3, 9.0);
  double* ins[1] = {in.data()};
  double* outs[2] = {o0.data(), o1.data()};
  plug.BindInputsDirect(ins);
  plug.BindOutputsDirect(outs);
  plug.PassThrough(3);
  EXPECT_EQ(o0, in);
  EXPECT_EQ(o1, (std::vector<double>(3, 0.0)));
}

TEST(ChannelBinding, DefaultProcessingPassesThroughInBothWidths) {
  RecordingPlug plug(0, 0, "2-2");
  std::vector<float> l = {1, 2}, r = {3, 4}, ol(2), orr(2);
  float* in[2] = {l.data(), r.data()};
  float* out[2] = {ol.data(), orr.data()};
  plug.ProcessSingle(in, out, 2);
  EXPECT_EQ(ol, l);
  EXPECT_EQ(orr, r);
  std::vector<double> d = {5, 6}, od(2);
  double* din[2] = {d.data(), d.data()};
  double* dout[2] = {od.data(), d.data()};  // in place on the second channel
  plug.ProcessDouble(din, dout, 2);
  EXPECT_EQ(od, d);
}

TEST(ChannelBinding, SingleChannelOperationsForBusAdapters) {
  OffsetPlug plug;
  plug.SetMaxBlockSize(2);
  plug.SetOutputConnections(2);
  plug.SetOutputConnected(1, false);
  EXPECT_TRUE(plug.IsOutputConnected(0));
  EXPECT_FALSE(plug.IsOutputConnected(1));
  EXPECT_FALSE(plug.IsOutputConnected(7));
  std::vector<float> host(2, -1.0f);
  plug.BindOutputToScratch(0, host.data());
  plug.GetOutputPointers()[0][0] = 0.25;
  plug.GetOutputPointers()[0][1] = 0.5;
  plug.WriteOutputsToFloat(2, false);
  EXPECT_EQ(host, (std::vector<float>{0.25f, 0.5f}));
  std::vector<double> direct(2);
  plug.BindOutputDirect(0, direct.data());
  EXPECT_EQ(plug.GetOutputPointers()[0], direct.data());
}

TEST(ChannelBinding, LabelsAreKeptPerChannel) {
  OffsetPlug plug;
  EXPECT_STREQ(plug.GetInputLabel(0), "");
  plug.SetInputLabel(1, "Side");
  EXPECT_STREQ(plug.GetInputLabel(1), "Side");
  EXPECT_STREQ(plug.GetOutputLabel(5), "");
  plug.SetOutputLabel(0, "Main L");
  plug.SetOutputLabel(99, "nowhere");  // no such channel: nothing happens
  EXPECT_STREQ(plug.GetOutputLabel(0), "Main L");
  EXPECT_STREQ(plug.GetInputLabel(0), "");
}

TEST(ChannelBinding, BlockLargerThanTheMaximumIsProcessedInSlices) {
  OffsetPlug plug;
  plug.SetMaxBlockSize(4);
  plug.SetInputConnections(2);
  plug.SetOutputConnections(2);
  FloatBlock block(10);
  plug.ProcessFloatBlock(block.in, block.out, 10, false);
  EXPECT_EQ(plug.calls, 3);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(block.outLeft[i], 1000.0f + i);
    EXPECT_EQ(block.outRight[i], 1000.0f - i);
  }
  std::vector<double> l(10, 1.0), r(10, 2.0), ol(10), orr(10);
  double* din[2] = {l.data(), r.data()};
  double* dout[2] = {ol.data(), orr.data()};
  plug.ProcessDoubleBlock(din, dout, 10);
  EXPECT_EQ(orr, std::vector<double>(10, 1002.0));
}

TEST(ChannelBinding, BlockWithoutScratchIsSilencedNotProcessed) {
  OffsetPlug plug;
  plug.SetInputConnections(2);
  plug.SetOutputConnections(2);
  FloatBlock block(4);
  plug.ProcessFloatBlock(block.in, block.out, 4, false);
  EXPECT_EQ(plug.calls, 0);
  EXPECT_EQ(block.outLeft, std::vector<float>(4, 0.0f));
}

TEST(ChannelBinding, MissingHostBuffersReadAsSilenceAndAreNotWritten) {
  OffsetPlug plug;
  plug.SetMaxBlockSize(4);
  plug.SetInputConnections(2);
  plug.SetOutputConnections(2);
  std::vector<float> right = {5, 5, 5, 5}, outRight(4, -1.0f);
  float* in[2] = {nullptr, right.data()};
  float* out[2] = {nullptr, outRight.data()};
  plug.ProcessFloatBlock(in, out, 4, false);
  EXPECT_EQ(outRight, std::vector<float>(4, 1005.0f));
  plug.ProcessFloatBlock(nullptr, nullptr, 4, false);
  EXPECT_EQ(plug.calls, 2);
}

TEST(ChannelBinding, ConversionNeverRunsPastTheScratch) {
  OffsetPlug plug;
  plug.SetMaxBlockSize(2);
  plug.SetInputConnections(2);
  plug.SetOutputConnections(2);
  FloatBlock block(8);
  plug.BindInputsFromFloat(block.in, 8);  // more than the scratch holds
  plug.BindOutputsToScratch(block.out);
  plug.WriteOutputsToFloat(8, false);
  EXPECT_EQ(block.outLeft[2], -1.0f) << "only the two scratch frames are written";
}
