// The state a host stores with a project: program and bank chunks through effGetChunk and
// effSetChunk, byte for byte, and what restoring them into a fresh instance brings back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "tests/adapters/vst2/ModuleFixture.h"

using brel::VstHost;
using vst2test::DoubleAt;
using vst2test::FirstDifference;
using vst2test::Int32At;
using vst2test::kNumParams;
using vst2test::NormalizedValues;
using vst2test::PluginTest;
using vst2test::ProgramValues;
using vst2test::PutDouble;
using vst2test::RenderFloat;
using vst2test::SpeechLike;
using vst2test::StartPlugin;
using Bytes = std::vector<std::uint8_t>;
using Kind = VstHost::ChunkKind;

namespace {

class StateChunks : public PluginTest {
protected:
  void SetUp() override {
    PluginTest::SetUp();
    ASSERT_TRUE(StartPlugin(mFresh));
  }

  // Moves every parameter away from its default, some to values only text entry can give.
  void ChangeEverything(VstHost& target) {
    ASSERT_TRUE(target.String2Parameter(0, "3.14159"));
    target.SetParameter(1, 0.7f);
    ASSERT_TRUE(target.String2Parameter(2, "12.345678"));
    target.SetParameter(3, 0.9f);
    target.SetParameter(4, 0.5f);
    ASSERT_TRUE(target.String2Parameter(5, "-4.25"));
    target.SetParameter(6, 0.55f);
    target.SetParameter(7, 1.0f);
    target.SetParameter(8, 0.75f);
    target.SetParameter(9, 0.0f);
    target.SetParameter(10, 1.0f);
  }

  VstHost mFresh;
};

const Bytes kHeader = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};

Bytes Head(const Bytes& chunk, std::size_t n) { return Bytes(chunk.begin(), chunk.begin() + n); }

Bytes LittleEndian(double value) {
  Bytes bytes(8);
  PutDouble(bytes, 0, value);
  return bytes;
}

}  // namespace

TEST_F(StateChunks, ProgramChunkIsTheHeaderThenElevenPlainValues) {
  void* data = nullptr;
  ASSERT_EQ(mHost.Dispatch(effGetChunk, 1, 0, &data), 96);
  ASSERT_NE(data, nullptr);
  const Bytes chunk = mHost.GetChunk(Kind::Program);
  ASSERT_EQ(chunk.size(), 96u);
  EXPECT_EQ(Head(chunk, 8), kHeader);
  for (int i = 0; i < kNumParams; ++i)
    EXPECT_EQ(DoubleAt(chunk, 8 + 8 * i), kBrelvaneParams[i].defaultValue) << i;
}

TEST_F(StateChunks, ValuesAreStoredAsLittleEndianDoubles) {
  ASSERT_TRUE(mHost.String2Parameter(0, "3.14159"));
  const Bytes chunk = mHost.GetChunk(Kind::Program);
  EXPECT_EQ(Bytes(chunk.begin() + 8, chunk.begin() + 16), LittleEndian(3.14159));
  // 12.5 is 0x4029000000000000: the sign-and-exponent byte comes last.
  EXPECT_EQ(Bytes(chunk.begin() + 16, chunk.begin() + 24), LittleEndian(100.0));
  EXPECT_EQ(LittleEndian(12.5), (Bytes{0, 0, 0, 0, 0, 0, 0x29, 0x40}));
}

TEST_F(StateChunks, EveryNonZeroIndexAsksForTheProgram) {
  for (VstInt32 index : {1, 2, -1, 0x7FFFFFFF}) {
    void* data = nullptr;
    EXPECT_EQ(mHost.Dispatch(effGetChunk, index, 0, &data), 96) << index;
  }
}

TEST_F(StateChunks, BankChunkIsTheHeaderThenTheNamedPresetWithItsValues) {
  const Bytes chunk = mHost.GetChunk(Kind::Bank);
  ASSERT_EQ(chunk.size(), 102u);
  EXPECT_EQ(Head(chunk, 8), kHeader);
  EXPECT_EQ(Int32At(chunk, 8), 1);  // name length
  EXPECT_EQ(chunk[12], '-');        // the name, no terminator
  EXPECT_EQ(chunk[13], 1);          // initialized
  for (int i = 0; i < kNumParams; ++i)
    EXPECT_EQ(DoubleAt(chunk, 14 + 8 * i), kBrelvaneParams[i].defaultValue) << i;
}

TEST_F(StateChunks, BankChunkHoldsTheLiveValues) {
  ChangeEverything(mHost);
  const std::vector<double> live = ProgramValues(mHost);
  const Bytes bank = mHost.GetChunk(Kind::Bank);
  ASSERT_EQ(bank.size(), 102u);
  for (int i = 0; i < kNumParams; ++i) EXPECT_EQ(DoubleAt(bank, 14 + 8 * i), live[i]) << i;
  EXPECT_EQ(ProgramValues(mHost), live);  // saving changed nothing live
}

TEST_F(StateChunks, AProgramChunkStaysReadableWhileABankChunkIsMade) {
  void* program = nullptr;
  const VstIntPtr size = mHost.Dispatch(effGetChunk, 1, 0, &program);
  ASSERT_EQ(size, 96);
  const Bytes copy(static_cast<std::uint8_t*>(program), static_cast<std::uint8_t*>(program) + size);
  void* bank = nullptr;
  ASSERT_EQ(mHost.Dispatch(effGetChunk, 0, 0, &bank), 102);
  EXPECT_NE(bank, program);
  EXPECT_EQ(Bytes(static_cast<std::uint8_t*>(program), static_cast<std::uint8_t*>(program) + size), copy);
}

TEST_F(StateChunks, SavedProgramRestoresEveryValueInAFreshInstance) {
  ChangeEverything(mHost);
  const Bytes saved = mHost.GetChunk(Kind::Program);
  ASSERT_TRUE(mFresh.SetChunk(Kind::Program, saved));
  EXPECT_EQ(mFresh.GetChunk(Kind::Program), saved);
  EXPECT_EQ(NormalizedValues(mFresh), NormalizedValues(mHost));
  for (int i = 0; i < kNumParams; ++i) EXPECT_EQ(mFresh.ParamDisplay(i), mHost.ParamDisplay(i)) << i;
}

TEST_F(StateChunks, SavedBankRestoresValuesAndPresetNameInAFreshInstance) {
  ChangeEverything(mHost);
  mHost.SetProgramName("Lead vocal");
  const Bytes saved = mHost.GetChunk(Kind::Bank);
  ASSERT_EQ(saved.size(), 102u + 9u);
  ASSERT_TRUE(mFresh.SetChunk(Kind::Bank, saved));
  EXPECT_EQ(mFresh.GetChunk(Kind::Bank), saved);
  EXPECT_EQ(ProgramValues(mFresh), ProgramValues(mHost));
  EXPECT_EQ(mFresh.ProgramName(), "Lead vocal");
}

TEST_F(StateChunks, RestoredInstanceSoundsLikeTheOriginal) {
  ChangeEverything(mHost);
  ASSERT_TRUE(mFresh.SetChunk(Kind::Program, mHost.GetChunk(Kind::Program)));
  VstHost untouched;
  ASSERT_TRUE(StartPlugin(untouched));
  const vst2test::Stereo<float> in = SpeechLike(24000);
  const vst2test::Stereo<float> original = RenderFloat(mHost, in, 512);
  EXPECT_EQ(FirstDifference(RenderFloat(mFresh, in, 512), original), "");
  EXPECT_NE(FirstDifference(RenderFloat(untouched, in, 512), original), "");
}

TEST_F(StateChunks, RestoredBankSoundsLikeTheOriginal) {
  ChangeEverything(mHost);
  ASSERT_TRUE(mFresh.SetChunk(Kind::Bank, mHost.GetChunk(Kind::Bank)));
  const vst2test::Stereo<float> in = SpeechLike(24000);
  EXPECT_EQ(FirstDifference(RenderFloat(mFresh, in, 512), RenderFloat(mHost, in, 512)), "");
}

TEST_F(StateChunks, ProgramCutShortIsRefusedAfterApplyingWhatItHeld) {
  ChangeEverything(mHost);  // "F Limit", the last value, is on
  Bytes cut = mHost.GetChunk(Kind::Program);
  cut.pop_back();
  ASSERT_EQ(cut.size(), 95u);
  EXPECT_FALSE(mFresh.SetChunk(Kind::Program, cut));
  const std::vector<double> expected = ProgramValues(mHost);
  const std::vector<double> restored = ProgramValues(mFresh);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(restored[i], expected[i]) << i;
  EXPECT_EQ(restored[10], 0.0);  // the unreadable one becomes 0, within its range
}

TEST_F(StateChunks, BankCutShortIsRefused) {
  Bytes cut = mHost.GetChunk(Kind::Bank);
  cut.pop_back();
  EXPECT_FALSE(mFresh.SetChunk(Kind::Bank, cut));
  for (std::size_t size : {0u, 4u, 8u, 11u, 13u})
    EXPECT_FALSE(mFresh.SetChunk(Kind::Bank, Head(mHost.GetChunk(Kind::Bank), size))) << size;
}

TEST_F(StateChunks, ABareParameterBlockIsReadAsAProgram) {
  ChangeEverything(mHost);
  const Bytes chunk = mHost.GetChunk(Kind::Program);
  const Bytes bare(chunk.begin() + 8, chunk.end());
  ASSERT_EQ(bare.size(), 88u);
  EXPECT_TRUE(mFresh.SetChunk(Kind::Program, bare));
  EXPECT_EQ(ProgramValues(mFresh), ProgramValues(mHost));
}

TEST_F(StateChunks, AProgramChunkHandedInAsABankIsReadAsAProgramWhenItsVersionIsOld) {
  ChangeEverything(mHost);
  Bytes chunk = mHost.GetChunk(Kind::Program);
  chunk[6] = 0x00;  // version 0x00000000 instead of 0x00010000
  EXPECT_TRUE(mFresh.SetChunk(Kind::Bank, chunk));
  EXPECT_EQ(ProgramValues(mFresh), ProgramValues(mHost));
}

TEST_F(StateChunks, StoredValuesOutsideTheRangesAreClampedNotRounded) {
  Bytes chunk = mHost.GetChunk(Kind::Program);
  PutDouble(chunk, 8 + 8 * 6, 1000.0);   // "Db Output", -30..20
  PutDouble(chunk, 8 + 8 * 0, -1000.0);  // "Pres Comp", -5..25
  PutDouble(chunk, 8 + 8 * 8, 2.7);      // "Mode": kept as stored, shown by its whole part
  ASSERT_TRUE(mFresh.SetChunk(Kind::Program, chunk));
  const std::vector<double> values = ProgramValues(mFresh);
  EXPECT_EQ(values[6], 20.0);
  EXPECT_EQ(values[0], -5.0);
  EXPECT_EQ(values[8], 2.7);
  EXPECT_EQ(mFresh.ParamDisplay(6), "20.00");
  EXPECT_EQ(mFresh.ParamDisplay(8), "B");
}

TEST_F(StateChunks, NonFiniteStoredValuesNeverReachTheParameters) {
  Bytes chunk = mHost.GetChunk(Kind::Program);
  PutDouble(chunk, 8 + 8 * 0, std::numeric_limits<double>::quiet_NaN());
  PutDouble(chunk, 8 + 8 * 1, std::numeric_limits<double>::infinity());
  PutDouble(chunk, 8 + 8 * 2, -std::numeric_limits<double>::infinity());
  mFresh.SetChunk(Kind::Program, chunk);
  const std::vector<double> values = ProgramValues(mFresh);
  EXPECT_EQ(values[0], 12.5);  // no number: the default
  EXPECT_EQ(values[1], 300.0);
  EXPECT_EQ(values[2], 0.0);
  for (float x : NormalizedValues(mFresh)) EXPECT_TRUE(x >= 0.0f && x <= 1.0f) << x;
  const vst2test::Stereo<float> out = RenderFloat(mFresh, SpeechLike(4800), 512);
  EXPECT_TRUE(vst2test::AllFinite(out));
}

TEST_F(StateChunks, RestoringAChunkTellsTheHostNothing) {
  ChangeEverything(mHost);
  const Bytes chunk = mHost.GetChunk(Kind::Program);
  mFresh.ClearRecord();
  ASSERT_TRUE(mFresh.SetChunk(Kind::Program, chunk));
  ASSERT_TRUE(mFresh.SetChunk(Kind::Bank, mHost.GetChunk(Kind::Bank)));
  const brel::HostRecord record = mFresh.Record();
  EXPECT_TRUE(record.automations.empty());
  EXPECT_TRUE(record.beginEdits.empty());
}

TEST_F(StateChunks, ChunkRequestsWithoutAPointerAreRefused) {
  EXPECT_EQ(mHost.Dispatch(effGetChunk, 1, 0, nullptr), 0);
  EXPECT_EQ(mHost.Dispatch(effGetChunk, 0, 0, nullptr), 0);
  const std::vector<double> before = ProgramValues(mHost);
  EXPECT_EQ(mHost.Dispatch(effSetChunk, 1, 96, nullptr), 0);
  EXPECT_EQ(mHost.Dispatch(effSetChunk, 0, 102, nullptr), 0);
  EXPECT_EQ(ProgramValues(mHost), before);
}

TEST_F(StateChunks, NegativeOrImpossibleSizesAreRefusedBeforeAnythingChanges) {
  ChangeEverything(mFresh);
  Bytes chunk = mHost.GetChunk(Kind::Program);
  const std::vector<double> before = ProgramValues(mFresh);
  for (VstIntPtr size : {VstIntPtr(-1), VstIntPtr(-96), VstIntPtr(-0x7FFFFFFF) - 1, VstIntPtr(1) << 32,
                         (VstIntPtr(1) << 32) + 96}) {
    EXPECT_EQ(mFresh.Dispatch(effSetChunk, 1, size, chunk.data()), 0) << size;
    EXPECT_EQ(mFresh.Dispatch(effSetChunk, 0, size, chunk.data()), 0) << size;
  }
  EXPECT_EQ(ProgramValues(mFresh), before);
}

TEST_F(StateChunks, AnEmptyChunkIsRefused) {
  std::uint8_t nothing = 0;
  EXPECT_EQ(mHost.Dispatch(effSetChunk, 1, 0, &nothing), 0);
  EXPECT_EQ(mHost.Dispatch(effSetChunk, 0, 0, &nothing), 0);
}

TEST_F(StateChunks, ALongerChunkReadsOnlyWhatItNeeds) {
  ChangeEverything(mHost);
  Bytes chunk = mHost.GetChunk(Kind::Program);
  chunk.resize(4096, 0xEE);
  EXPECT_TRUE(mFresh.SetChunk(Kind::Program, chunk));
  EXPECT_EQ(ProgramValues(mFresh), ProgramValues(mHost));
}

TEST_F(StateChunks, AStoredPresetNameLongerThanAnyFieldIsCutNotOverrun) {
  const std::string longName(300, 'n');
  Bytes bank = Head(kHeader, 8);
  const Bytes length = {0x2C, 0x01, 0x00, 0x00};  // 300
  bank.insert(bank.end(), length.begin(), length.end());
  bank.insert(bank.end(), longName.begin(), longName.end());
  bank.push_back(1);
  const Bytes program = mHost.GetChunk(Kind::Program);
  bank.insert(bank.end(), program.begin() + 8, program.end());
  EXPECT_TRUE(mFresh.SetChunk(Kind::Bank, bank));
  const std::string name = mFresh.ProgramNameIndexed(0);
  EXPECT_FALSE(name.empty());
  EXPECT_LT(name.size(), 300u);
  EXPECT_EQ(name, longName.substr(0, name.size()));
  const Bytes again = mFresh.GetChunk(Kind::Bank);
  ASSERT_GE(again.size(), 12u);
  EXPECT_GT(Int32At(again, 8), 0);
  EXPECT_LE(Int32At(again, 8), 255);
}
