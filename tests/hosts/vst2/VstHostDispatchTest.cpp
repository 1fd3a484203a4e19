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
  EXPECT_EQ(Ask(mHost, probe::kOpened), 1);
  mHost.SetSampleRate(96000.0f);
  mHost.SetBlockSize(333);
  EXPECT_EQ(Ask(mHost, probe::kSampleRate), 96000);
  EXPECT_EQ(Ask(mHost, probe::kBlockSize), 333);
  mHost.Resume();
  EXPECT_EQ(Ask(mHost, probe::kResumed), 1);
  mHost.Suspend();
  EXPECT_EQ(Ask(mHost, probe::kResumed), 0);
}

TEST_F(VstHostCalls, ParameterTextsAreReadInFullEvenBeyondTheirNominalSize) {
  EXPECT_EQ(mHost.ParamName(0), "Gain");
  EXPECT_EQ(mHost.ParamName(2), probe::kLongParamName);
  EXPECT_EQ(mHost.ParamLabel(0), "dB");
  EXPECT_EQ(mHost.ParamDisplay(0), "0.500");
  EXPECT_EQ(mHost.ParamName(probe::kNumParams), "");
  EXPECT_EQ(mHost.ParamName(-1), "");
}

TEST_F(VstHostCalls, ParametersAreSetAndReadNormalised) {
  mHost.SetParameter(1, 0.75f);
  EXPECT_EQ(mHost.GetParameter(1), 0.75f);
  EXPECT_EQ(mHost.ParamDisplay(1), "0.750");
  EXPECT_EQ(mHost.GetParameter(probe::kNumParams), 0.0f);
  EXPECT_TRUE(mHost.CanBeAutomated(0));
  EXPECT_FALSE(mHost.CanBeAutomated(probe::kNumParams));
}

TEST_F(VstHostCalls, String2ParameterReportsAcceptanceAndRejection) {
  EXPECT_TRUE(mHost.String2Parameter(0, "0.25"));
  EXPECT_EQ(mHost.GetParameter(0), 0.25f);
  EXPECT_FALSE(mHost.String2Parameter(0, "loud"));
  EXPECT_EQ(mHost.GetParameter(0), 0.25f);
  EXPECT_FALSE(mHost.String2Parameter(probe::kNumParams, "0.5"));
  // The raw call without a text asks whether the plug-in takes text at all.
  EXPECT_EQ(mHost.Dispatch(effString2Parameter, 0, 0, nullptr), 1);
}

TEST_F(VstHostCalls, ProgramsAreSwitchedAndNamed) {
  EXPECT_EQ(mHost.GetProgram(), 0);
  EXPECT_EQ(mHost.ProgramName(), "Init");
  EXPECT_EQ(mHost.ProgramNameIndexed(1), "Second");
  mHost.SetProgram(1);
  EXPECT_EQ(mHost.GetProgram(), 1);
  mHost.SetProgramName("Lead vocal");
  EXPECT_EQ(mHost.ProgramName(), "Lead vocal");
  EXPECT_EQ(mHost.ProgramNameIndexed(1), "Lead vocal");
  EXPECT_EQ(mHost.ProgramNameIndexed(0), "Init");
  EXPECT_EQ(mHost.ProgramNameIndexed(probe::kNumPrograms), "");
}

TEST_F(VstHostCalls, ChunksAreCopiedOutOfThePlugin) {
  const std::vector<uint8_t> program = mHost.GetChunk(VstHost::ChunkKind::Program);
  const std::string text = probe::kDefaultProgramChunk;
  EXPECT_EQ(program, std::vector<uint8_t>(text.begin(), text.end()));
  const std::vector<uint8_t> bank = mHost.GetChunk(VstHost::ChunkKind::Bank);
  ASSERT_EQ(bank.size(), static_cast<size_t>(probe::kDefaultBankChunkSize));
  for (size_t i = 0; i < bank.size(); ++i)
    ASSERT_EQ(bank[i], static_cast<uint8_t>((i * 7) & 0xFF)) << "byte " << i;
}

TEST_F(VstHostCalls, ChunksRoundTripPerKind) {
  const std::vector<uint8_t> program = {1, 2, 3, 0, 5};
  const std::vector<uint8_t> bank(3000, 0x5A);
  EXPECT_TRUE(mHost.SetChunk(VstHost::ChunkKind::Program, program));
  EXPECT_TRUE(mHost.SetChunk(VstHost::ChunkKind::Bank, bank));
  EXPECT_EQ(mHost.GetChunk(VstHost::ChunkKind::Program), program);
  EXPECT_EQ(mHost.GetChunk(VstHost::ChunkKind::Bank), bank);
}

TEST_F(VstHostCalls, RefusedChunksAreReportedAndChangeNothing) {
  const std::vector<uint8_t> before = mHost.GetChunk(VstHost::ChunkKind::Program);
  EXPECT_FALSE(mHost.SetChunk(VstHost::ChunkKind::Program, {probe::kRejectedChunkByte, 1, 2}));
  EXPECT_FALSE(mHost.SetChunk(VstHost::ChunkKind::Program, {}));
  EXPECT_EQ(mHost.GetChunk(VstHost::ChunkKind::Program), before);
}

TEST_F(VstHostCalls, IdentityAndCapabilitiesAreAnswered) {
  EXPECT_EQ(mHost.EffectName(), "Probe Effect");
  EXPECT_EQ(mHost.VendorString(), "Brelvane Tests");
  EXPECT_EQ(mHost.ProductString(), "Probe");
  EXPECT_EQ(mHost.VendorVersion(), probe::kVendorVersion);
  EXPECT_EQ(mHost.VstVersion(), 2400);
  EXPECT_EQ(mHost.PlugCategory(), kPlugCategEffect);
  EXPECT_EQ(mHost.TailSize(), probe::kTailSize);
  EXPECT_EQ(mHost.CanDo("probeYes"), 1);
  EXPECT_EQ(mHost.CanDo("probeNo"), -1);
  EXPECT_EQ(mHost.CanDo("receiveVstMidiEvent"), 0);
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
  EXPECT_TRUE(mHost.SetSpeakerArrangement(VstHost::MakeArrangement(1), VstHost::MakeArrangement(1)));
  EXPECT_EQ(mHost.NumInputs(), 1);
  EXPECT_EQ(mHost.NumOutputs(), 1);
  EXPECT_FALSE(mHost.SetSpeakerArrangement(VstHost::MakeArrangement(6), VstHost::MakeArrangement(2)));

  VstSpeakerArrangement in, out;
  ASSERT_TRUE(mHost.GetSpeakerArrangement(in, out));
  EXPECT_EQ(in.type, kSpeakerArrStereo);
  EXPECT_EQ(in.numChannels, 2);
  EXPECT_EQ(out.numChannels, 2);
}

TEST_F(VstHostCalls, PinPropertiesAreCopiedForValidPinsOnly) {
  VstPinProperties pin;
  ASSERT_TRUE(mHost.InputProperties(0, pin));
  EXPECT_STREQ(pin.label, "Probe In 1");
  EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
  ASSERT_TRUE(mHost.OutputProperties(1, pin));
  EXPECT_STREQ(pin.label, "Probe Out 2");
  EXPECT_EQ(pin.flags, kVstPinIsActive);
  EXPECT_FALSE(mHost.InputProperties(2, pin));
  EXPECT_FALSE(mHost.OutputProperties(-1, pin));
}

TEST_F(VstHostCalls, EditorRectIsCopiedOut) {
  ERect rect;
  ASSERT_TRUE(mHost.EditorRect(rect));
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.bottom, probe::kEditorHeight);
  EXPECT_EQ(rect.right, probe::kEditorWidth);
}

TEST_F(VstHostCalls, RawDispatchPassesEveryArgumentThrough) {
  EXPECT_EQ(mHost.Dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(mHost.Dispatch(effGetTailSize), probe::kTailSize);
  EXPECT_EQ(mHost.Dispatch(effVendorSpecific, probe::kReceivedEventStatus, -1), -1);
  EXPECT_EQ(mHost.Dispatch(12345), 0);
}
