// The host's typed calls into the plug-in's dispatcher.
#include "tests/hosts/vst2/ProbeFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using brel::VstHost;
using probe::Ask;

namespace {
// The probe loaded and opened.
class VstHostCalls : public probe::ProbeTest {};
}  // namespace

TEST_F(VstHostCalls, OpenAndConfigurationReachThePlugin) {
  EXPECT_EQ(Ask(host, probe::kOpened), 1);
  host.SetSampleRate(96000.0f);
  host.SetBlockSize(333);
  EXPECT_EQ(Ask(host, probe::kSampleRate), 96000);
  EXPECT_EQ(Ask(host, probe::kBlockSize), 333);
  host.Resume();
  EXPECT_EQ(Ask(host, probe::kResumed), 1);
  host.Suspend();
  EXPECT_EQ(Ask(host, probe::kResumed), 0);
}

TEST_F(VstHostCalls, ParameterTextsAreReadInFullEvenBeyondTheirNominalSize) {
  EXPECT_EQ(host.ParamName(0), "Gain");
  EXPECT_EQ(host.ParamName(2), probe::kLongParamName);
  EXPECT_EQ(host.ParamLabel(0), "dB");
  EXPECT_EQ(host.ParamDisplay(0), "0.500");
  EXPECT_EQ(host.ParamName(probe::kNumParams), "");
  EXPECT_EQ(host.ParamName(-1), "");
}

TEST_F(VstHostCalls, ParametersAreSetAndReadNormalised) {
  host.SetParameter(1, 0.75f);
  EXPECT_EQ(host.GetParameter(1), 0.75f);
  EXPECT_EQ(host.ParamDisplay(1), "0.750");
  EXPECT_EQ(host.GetParameter(probe::kNumParams), 0.0f);
  EXPECT_TRUE(host.CanBeAutomated(0));
  EXPECT_FALSE(host.CanBeAutomated(probe::kNumParams));
}

TEST_F(VstHostCalls, String2ParameterReportsAcceptanceAndRejection) {
  EXPECT_TRUE(host.String2Parameter(0, "0.25"));
  EXPECT_EQ(host.GetParameter(0), 0.25f);
  EXPECT_FALSE(host.String2Parameter(0, "loud"));
  EXPECT_EQ(host.GetParameter(0), 0.25f);
  EXPECT_FALSE(host.String2Parameter(probe::kNumParams, "0.5"));
  // The raw call without a text asks whether the plug-in takes text at all.
  EXPECT_EQ(host.Dispatch(effString2Parameter, 0, 0, nullptr), 1);
}

TEST_F(VstHostCalls, ProgramsAreSwitchedAndNamed) {
  EXPECT_EQ(host.GetProgram(), 0);
  EXPECT_EQ(host.ProgramName(), "Init");
  EXPECT_EQ(host.ProgramNameIndexed(1), "Second");
  host.SetProgram(1);
  EXPECT_EQ(host.GetProgram(), 1);
  host.SetProgramName("Lead vocal");
  EXPECT_EQ(host.ProgramName(), "Lead vocal");
  EXPECT_EQ(host.ProgramNameIndexed(1), "Lead vocal");
  EXPECT_EQ(host.ProgramNameIndexed(0), "Init");
  EXPECT_EQ(host.ProgramNameIndexed(probe::kNumPrograms), "");
}

TEST_F(VstHostCalls, ChunksAreCopiedOutOfThePlugin) {
  const std::vector<uint8_t> program = host.GetChunk(VstHost::ChunkKind::Program);
  const std::string text = probe::kDefaultProgramChunk;
  EXPECT_EQ(program, std::vector<uint8_t>(text.begin(), text.end()));
  const std::vector<uint8_t> bank = host.GetChunk(VstHost::ChunkKind::Bank);
  ASSERT_EQ(bank.size(), static_cast<size_t>(probe::kDefaultBankChunkSize));
  for (size_t i = 0; i < bank.size(); ++i)
    ASSERT_EQ(bank[i], static_cast<uint8_t>((i * 7) & 0xFF)) << "byte " << i;
}

TEST_F(VstHostCalls, ChunksRoundTripPerKind) {
  const std::vector<uint8_t> program = {1, 2, 3, 0, 5};
  const std::vector<uint8_t> bank(3000, 0x5A);
  EXPECT_TRUE(host.SetChunk(VstHost::ChunkKind::Program, program));
  EXPECT_TRUE(host.SetChunk(VstHost::ChunkKind::Bank, bank));
  EXPECT_EQ(host.GetChunk(VstHost::ChunkKind::Program), program);
  EXPECT_EQ(host.GetChunk(VstHost::ChunkKind::Bank), bank);
}

TEST_F(VstHostCalls, RefusedChunksAreReportedAndChangeNothing) {
  const std::vector<uint8_t> before = host.GetChunk(VstHost::ChunkKind::Program);
  EXPECT_FALSE(host.SetChunk(VstHost::ChunkKind::Program, {probe::kRejectedChunkByte, 1, 2}));
  EXPECT_FALSE(host.SetChunk(VstHost::ChunkKind::Program, {}));
  EXPECT_EQ(host.GetChunk(VstHost::ChunkKind::Program), before);
}

TEST_F(VstHostCalls, IdentityAndCapabilitiesAreAnswered) {
  EXPECT_EQ(host.EffectName(), "Probe Effect");
  EXPECT_EQ(host.VendorString(), "Brelvane Tests");
  EXPECT_EQ(host.ProductString(), "Probe");
  EXPECT_EQ(host.VendorVersion(), probe::kVendorVersion);
  EXPECT_EQ(host.VstVersion(), 2400);
  EXPECT_EQ(host.PlugCategory(), kPlugCategEffect);
  EXPECT_EQ(host.TailSize(), probe::kTailSize);
  EXPECT_EQ(host.CanDo("probeYes"), 1);
  EXPECT_EQ(host.CanDo("probeNo"), -1);
  EXPECT_EQ(host.CanDo("receiveVstMidiEvent"), 0);
}

TEST(VstHostDispatch, MakeArrangementDerivesTheTypeFromTheCount) {
  EXPECT_EQ(VstHost::MakeArrangement(0).type, kSpeakerArrEmpty);
  EXPECT_EQ(VstHost::MakeArrangement(1).type, kSpeakerArrMono);
  EXPECT_EQ(VstHost::MakeArrangement(2).type, kSpeakerArrStereo);
  EXPECT_EQ(VstHost::MakeArrangement(6).type, kSpeakerArrUserDefined);
  EXPECT_EQ(VstHost::MakeArrangement(6).numChannels, 6);
  EXPECT_EQ(VstHost::MakeArrangement(-3).numChannels, 0);
  EXPECT_EQ(VstHost::MakeArrangement(40).numChannels, 8);
}

TEST_F(VstHostCalls, SpeakerArrangementsAreSetAndCopiedBack) {
  EXPECT_TRUE(host.SetSpeakerArrangement(VstHost::MakeArrangement(1), VstHost::MakeArrangement(1)));
  EXPECT_EQ(host.NumInputs(), 1);
  EXPECT_EQ(host.NumOutputs(), 1);
  EXPECT_FALSE(host.SetSpeakerArrangement(VstHost::MakeArrangement(6), VstHost::MakeArrangement(2)));

  VstSpeakerArrangement in, out;
  ASSERT_TRUE(host.GetSpeakerArrangement(in, out));
  EXPECT_EQ(in.type, kSpeakerArrStereo);
  EXPECT_EQ(in.numChannels, 2);
  EXPECT_EQ(out.numChannels, 2);
}

TEST_F(VstHostCalls, PinPropertiesAreCopiedForValidPinsOnly) {
  VstPinProperties pin;
  ASSERT_TRUE(host.InputProperties(0, pin));
  EXPECT_STREQ(pin.label, "Probe In 1");
  EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
  ASSERT_TRUE(host.OutputProperties(1, pin));
  EXPECT_STREQ(pin.label, "Probe Out 2");
  EXPECT_EQ(pin.flags, kVstPinIsActive);
  EXPECT_FALSE(host.InputProperties(2, pin));
  EXPECT_FALSE(host.OutputProperties(-1, pin));
}

TEST_F(VstHostCalls, EditorRectIsCopiedOut) {
  ERect rect;
  ASSERT_TRUE(host.EditorRect(rect));
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.bottom, probe::kEditorHeight);
  EXPECT_EQ(rect.right, probe::kEditorWidth);
}

TEST_F(VstHostCalls, RawDispatchPassesEveryArgumentThrough) {
  EXPECT_EQ(host.Dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(host.Dispatch(effGetTailSize), probe::kTailSize);
  EXPECT_EQ(host.Dispatch(effVendorSpecific, probe::kReceivedEventStatus, -1), -1);
  EXPECT_EQ(host.Dispatch(12345), 0);
}
