// What the core does with a host's request, whichever adapter brought it.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/core/ChunkBytes.h"
#include "tests/core/TestPlug.h"

namespace {

class HostRequestTest : public ::testing::Test {
protected:
  HostRequestTest() { plug.AttachEditor(new FakeEditor(log)); }
  EditorLog log;  // outlives the plug-in, whose editor writes to it while it goes
  VocalTestPlug plug;
};

TEST_F(HostRequestTest, ParameterValueMovesEditorThenParameterThenPlugin) {
  EXPECT_TRUE(plug.SetParamFromHost(VocalTestPlug::kMode, 0.5));
  EXPECT_EQ(plug.GetParam(VocalTestPlug::kMode)->GetValue(), 2.0);
  ASSERT_EQ(log.fromPlug.size(), 1u);
  EXPECT_EQ(log.fromPlug[0].value, 0.5);
  EXPECT_TRUE(log.fromPlug[0].isNormalized);
  EXPECT_EQ(plug.changed, std::vector<int>{VocalTestPlug::kMode});
  EXPECT_EQ(plug.GetParamNormalized(VocalTestPlug::kMode), 0.5);
  EXPECT_TRUE(plug.hostNotified.empty());
}

TEST_F(HostRequestTest, RequestsThatAreNoValueChangeNothing) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double bad : {std::nan(""), inf, -inf}) EXPECT_FALSE(plug.SetParamFromHost(0, bad));
  EXPECT_FALSE(plug.SetParamFromHost(-1, 0.5));
  EXPECT_FALSE(plug.SetParamFromHost(11, 0.5));
  EXPECT_FALSE(plug.SetParamFromHostText(VocalTestPlug::kPower, "On"));
  EXPECT_FALSE(plug.SetParamFromHostText(VocalTestPlug::kBass, nullptr));
  EXPECT_FALSE(plug.SetSampleRateFromHost(0.0));
  EXPECT_FALSE(plug.SetSampleRateFromHost(-44100.0));
  EXPECT_FALSE(plug.SetSampleRateFromHost(std::nan("")));
  EXPECT_FALSE(plug.SetBlockSizeFromHost(0));
  EXPECT_FALSE(plug.SetBlockSizeFromHost(1LL << 31));
  EXPECT_EQ(plug.GetParamNormalized(11), 0.0);
  EXPECT_TRUE(plug.changed.empty());
  EXPECT_TRUE(log.fromPlug.empty());
  EXPECT_EQ(plug.GetSampleRate(), 44100.0);
}

TEST_F(HostRequestTest, TypedValueIsClampedAndShownAsPlainValue) {
  EXPECT_TRUE(plug.SetParamFromHostText(VocalTestPlug::kBass, "42"));
  EXPECT_EQ(plug.GetParam(VocalTestPlug::kBass)->GetValue(), 10.0);
  ASSERT_EQ(log.fromPlug.size(), 1u);
  EXPECT_FALSE(log.fromPlug[0].isNormalized);
  EXPECT_EQ(plug.changed, std::vector<int>{VocalTestPlug::kBass});
}

TEST_F(HostRequestTest, ChunkCutShortStillShowsWhatItApplied) {
  StateChunk chunk;
  std::vector<std::uint8_t> bytes;
  PushDouble(bytes, 20.0);  // Pres Comp, then nothing more
  Fill(chunk, bytes);
  EXPECT_LT(plug.LoadStateFromHost(chunk, false), 0);
  EXPECT_EQ(plug.GetParam(VocalTestPlug::kPresComp)->GetValue(), 20.0);
  ASSERT_EQ(log.fromPlug.size(), 11u);
  EXPECT_EQ(log.fromPlug[0].value, 20.0);
}

TEST_F(HostRequestTest, PresetBeingLeftKeepsItsValues) {
  plug.SetParamFromHost(VocalTestPlug::kBass, 1.0);
  EXPECT_TRUE(plug.SelectPresetFromHost(0));
  EXPECT_EQ(plug.GetParam(VocalTestPlug::kBass)->GetValue(), 10.0);
  EXPECT_FALSE(plug.SelectPresetFromHost(1));
}

}  // namespace

namespace {

TEST(HostBlockSize, HugeBlockSizesCostNoMoreThanOneSliceAndLongBlocksStillPlay) {
  VocalTestPlug plug;
  plug.SetInputConnections(2);
  plug.SetOutputConnections(2);
  EXPECT_TRUE(plug.SetBlockSizeFromHost(16777216));
  EXPECT_EQ(plug.GetMaxBlockSize(), IPlugBase::kMaxSliceFrames);
  std::vector<float> inL(20000), inR(20000), outL(20000), outR(20000);
  for (int i = 0; i < 20000; ++i) inL[i] = inR[i] = static_cast<float>(i % 100) / 100.0f;
  float* in[2] = {inL.data(), inR.data()};
  float* out[2] = {outL.data(), outR.data()};
  plug.ProcessFloatBlock(in, out, 20000, false);
  EXPECT_EQ(outL, inL);  // the core passes through, slice after slice
  EXPECT_EQ(outR, inR);
}

}  // namespace
