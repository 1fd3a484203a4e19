// What the plug-in asks of its host and when: identifying the host once, on effOpen; nothing
// during ordinary calls; and the life cycle from the entry call to effClose.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/adapters/vst2/ModuleFixture.h"

using brel::HostRecord;
using brel::VstHost;

namespace {

int ProductStringRequests(const VstHost& host) { return host.Record().CountOf(audioMasterGetProductString); }

}  // namespace

TEST(HostConversation, TheHostIsIdentifiedOnceOnOpen) {
  VstHost host;
  ASSERT_TRUE(host.Load(vst2test::ModulePath())) << host.LastError();
  EXPECT_EQ(ProductStringRequests(host), 0);
  host.Open();
  EXPECT_EQ(ProductStringRequests(host), 1);
  EXPECT_EQ(host.Record().CountOf(audioMasterGetVendorVersion), 1);

  host.Open();
  host.SetSampleRate(44100.0f);
  host.Resume();
  vst2test::RenderFloat(host, vst2test::SpeechLike(2048), 512);
  host.SetParameter(0, 0.5f);
  host.String2Parameter(1, "50");
  host.GetChunk(VstHost::ChunkKind::Bank);
  host.SetProgram(0);
  EXPECT_EQ(ProductStringRequests(host), 1);
  EXPECT_EQ(host.Record().CountOf(audioMasterGetVendorVersion), 1);
}

TEST(HostConversation, EveryInstanceIdentifiesItsOwnHost) {
  VstHost first, second;
  ASSERT_TRUE(vst2test::StartPlugin(first));
  ASSERT_TRUE(vst2test::StartPlugin(second));
  EXPECT_EQ(ProductStringRequests(first), 1);
  EXPECT_EQ(ProductStringRequests(second), 1);
}

TEST(HostConversation, AHostWithoutAProductNameIsNotAskedForItsVersion) {
  VstHost host;
  host.SetProductString("");
  ASSERT_TRUE(vst2test::StartPlugin(host));
  EXPECT_EQ(ProductStringRequests(host), 1);
  EXPECT_EQ(host.Record().CountOf(audioMasterGetVendorVersion), 0);
  host.Open();
  EXPECT_EQ(ProductStringRequests(host), 1);  // an unknown host is still known to be unknown
}

TEST(HostConversation, ConstructionAsksNothingThatNeedsTheRecord) {
  VstHost host;
  ASSERT_TRUE(host.Load(vst2test::ModulePath())) << host.LastError();
  for (const brel::HostCall& call : host.Record().calls) {
    // Before the entry call returns the host has no record to pass: only harmless questions.
    EXPECT_NE(call.opcode, audioMasterAutomate);
    EXPECT_NE(call.opcode, audioMasterProcessEvents);
    EXPECT_NE(call.opcode, audioMasterIOChanged);
  }
}

TEST(HostConversation, OrdinaryCallsNeverCallTheHost) {
  VstHost host;
  ASSERT_TRUE(vst2test::StartPlugin(host));
  host.ClearRecord();
  vst2test::RenderFloat(host, vst2test::SpeechLike(4096), 512);
  vst2test::RenderDouble(host, vst2test::Widened(vst2test::SpeechLike(4096)), 512);
  for (int i = 0; i < vst2test::kNumParams; ++i) {
    host.SetParameter(i, 0.4f);
    host.GetParameter(i);
    host.ParamDisplay(i);
  }
  host.GetChunk(VstHost::ChunkKind::Program);
  const HostRecord record = host.Record();
  EXPECT_EQ(record.CountOf(audioMasterAutomate), 0);
  EXPECT_EQ(record.CountOf(audioMasterWantMidi), 0);
  EXPECT_EQ(record.CountOf(audioMasterProcessEvents), 0);
  EXPECT_EQ(record.CountOf(audioMasterIOChanged), 0);
  EXPECT_EQ(record.CountOf(audioMasterGetProductString), 0);
}

TEST(HostConversation, CloseEndsTheInstanceAndAnswersZero) {
  VstHost host;
  ASSERT_TRUE(vst2test::StartPlugin(host));
  vst2test::RenderFloat(host, vst2test::SpeechLike(2048), 512);
  host.Close();
  EXPECT_FALSE(host.IsLoaded());
  EXPECT_EQ(host.Effect(), nullptr);
}

TEST(HostConversation, ClosingOneInstanceLeavesTheOthersPlaying) {
  VstHost keep, drop, reference;
  ASSERT_TRUE(vst2test::StartPlugin(keep));
  ASSERT_TRUE(vst2test::StartPlugin(drop));
  ASSERT_TRUE(vst2test::StartPlugin(reference));
  const vst2test::Stereo<float> in = vst2test::SpeechLike(9600);
  vst2test::RenderFloat(drop, in, 512);
  drop.Close();
  EXPECT_EQ(vst2test::FirstDifference(vst2test::RenderFloat(keep, in, 512),
                                      vst2test::RenderFloat(reference, in, 512)),
            "");
}

TEST(HostConversation, InstancesComeAndGoRepeatedly) {
  // Each instance owns its buffers, chunks and record; a leak or a double release shows up here
  // under the sanitizers.
  for (int round = 0; round < 20; ++round) {
    VstHost host;
    ASSERT_TRUE(vst2test::StartPlugin(host)) << "round " << round;
    host.SetBlockSize(64 + round);
    vst2test::RenderFloat(host, vst2test::SpeechLike(512), 128);
    host.GetChunk(VstHost::ChunkKind::Bank);
    host.GetChunk(VstHost::ChunkKind::Program);
  }
}

TEST(HostConversation, InstancesDoNotShareTheirSettings) {
  VstHost a, b;
  ASSERT_TRUE(vst2test::StartPlugin(a));
  ASSERT_TRUE(vst2test::StartPlugin(b));
  a.SetParameter(0, 0.0f);
  a.SetProgramName("only a");
  EXPECT_EQ(b.ParamDisplay(0), "12.50");
  EXPECT_EQ(b.ProgramName(), "-");
}

TEST(HostConversation, AnInstanceCanBeClosedWithoutEverBeingOpened) {
  VstHost host;
  ASSERT_TRUE(host.Load(vst2test::ModulePath())) << host.LastError();
  host.Close();
  EXPECT_FALSE(host.IsLoaded());
}
