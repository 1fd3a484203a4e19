// The three processing calls and events sent to the plug-in.
#include "tests/hosts/vst2/ProbeFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using brel::VstHost;
using probe::Ask;

namespace {
// The probe loaded and opened.
class VstHostAudio : public probe::ProbeTest {};
}  // namespace

namespace {

constexpr VstInt32 kFrames = 64;

template <typename Sample>
struct StereoBuffers {
  std::vector<Sample> data[4];
  Sample* in[2];
  Sample* out[2];

  StereoBuffers(Sample input, Sample output) {
    for (int c = 0; c < 4; ++c) data[c].assign(kFrames, c < 2 ? input * Sample(c + 1) : output);
    in[0] = data[0].data();
    in[1] = data[1].data();
    out[0] = data[2].data();
    out[1] = data[3].data();
  }
};

}  // namespace

TEST_F(VstHostAudio, ProcessReplacingOverwritesTheOutputs) {
  mHost.SetParameter(0, 0.25f);  // gain 0.5
  StereoBuffers<float> b(0.5f, 9.0f);
  ASSERT_TRUE(mHost.ProcessReplacing(b.in, b.out, kFrames));
  for (VstInt32 i = 0; i < kFrames; ++i) {
    ASSERT_EQ(b.out[0][i], 0.25f);
    ASSERT_EQ(b.out[1][i], 0.5f);
  }
}

TEST_F(VstHostAudio, ProcessAccumulatingAddsToTheOutputs) {
  StereoBuffers<float> b(0.5f, 9.0f);  // gain 1
  ASSERT_TRUE(mHost.ProcessAccumulating(b.in, b.out, kFrames));
  for (VstInt32 i = 0; i < kFrames; ++i) {
    ASSERT_EQ(b.out[0][i], 9.5f);
    ASSERT_EQ(b.out[1][i], 10.0f);
  }
}

TEST_F(VstHostAudio, ProcessDoubleReplacingKeepsDoublePrecision) {
  const double input = 1.0 + 1e-12;  // not representable as a float
  StereoBuffers<double> b(input, -1.0);
  ASSERT_TRUE(mHost.ProcessDoubleReplacing(b.in, b.out, kFrames));
  EXPECT_EQ(b.out[0][0], input);
  EXPECT_EQ(b.out[1][kFrames - 1], 2.0 * input);
}

TEST_F(VstHostAudio, ProcessingFollowsTheChannelCountsOfTheArrangement) {
  ASSERT_TRUE(mHost.SetSpeakerArrangement(VstHost::MakeArrangement(1), VstHost::MakeArrangement(1)));
  float in[kFrames], out[kFrames];
  std::fill(in, in + kFrames, 0.125f);
  float* inputs[1] = {in};
  float* outputs[1] = {out};
  ASSERT_TRUE(mHost.ProcessReplacing(inputs, outputs, kFrames));
  EXPECT_EQ(out[kFrames - 1], 0.125f);
}

TEST_F(VstHostAudio, ZeroFramesIsAValidCall) {
  StereoBuffers<float> b(1.0f, 3.0f);
  const VstIntPtr before = Ask(mHost, probe::kProcessCalls);
  EXPECT_TRUE(mHost.ProcessReplacing(b.in, b.out, 0));
  EXPECT_EQ(Ask(mHost, probe::kProcessCalls), before + 1);
  EXPECT_EQ(b.out[0][0], 3.0f);
}

TEST_F(VstHostAudio, ProcessingRefusesMissingBuffersAndNegativeFrames) {
  StereoBuffers<float> f(1.0f, 3.0f);
  StereoBuffers<double> d(1.0, 3.0);
  float* halfMissing[2] = {f.data[0].data(), nullptr};
  const VstIntPtr before = Ask(mHost, probe::kProcessCalls);
  EXPECT_FALSE(mHost.ProcessReplacing(nullptr, f.out, kFrames));
  EXPECT_FALSE(mHost.ProcessReplacing(f.in, nullptr, kFrames));
  EXPECT_FALSE(mHost.ProcessReplacing(halfMissing, f.out, kFrames));
  EXPECT_FALSE(mHost.ProcessAccumulating(f.in, halfMissing, kFrames));
  EXPECT_FALSE(mHost.ProcessReplacing(f.in, f.out, -1));
  EXPECT_FALSE(mHost.ProcessDoubleReplacing(d.in, nullptr, kFrames));
  EXPECT_FALSE(mHost.ProcessDoubleReplacing(d.in, d.out, -5));
  EXPECT_EQ(Ask(mHost, probe::kProcessCalls), before);
  EXPECT_EQ(f.out[0][0], 3.0f);
}

TEST_F(VstHostAudio, SendEventsDeliversEveryEventInOrder) {
  VstMidiEvent notes[3];
  std::vector<const VstEvent*> list;
  for (int i = 0; i < 3; ++i) {
    std::memset(&notes[i], 0, sizeof(notes[i]));
    notes[i].type = kVstMidiType;
    notes[i].byteSize = sizeof(VstMidiEvent);
    notes[i].midiData[0] = static_cast<char>(0x90 + i);
    list.push_back(reinterpret_cast<const VstEvent*>(&notes[i]));
  }
  EXPECT_EQ(mHost.SendEvents(list), 1);
  ASSERT_EQ(Ask(mHost, probe::kReceivedEvents), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Ask(mHost, probe::kReceivedEventStatus, i), 0x90 + i);
}

TEST_F(VstHostAudio, SendEventsWithAnEmptyListSendsNone) {
  EXPECT_EQ(mHost.SendEvents({}), 1);
  EXPECT_EQ(Ask(mHost, probe::kReceivedEvents), 0);
}
