#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "core/IPlugBase.h"
#include "tests/core/ChunkBytes.h"
#include "tests/core/TestPlug.h"

namespace {

// The eleven default values, little-endian doubles: 12.5, 100, 53.5, 0, 0, 0, 0, 1, 1, 1, 0.
const std::vector<std::uint8_t> kDefaultBlock = {
    0,    0,    0, 0, 0,    0,    0x29, 0x40, 0, 0, 0, 0, 0,    0,    0x59, 0x40, 0, 0, 0,    0,    0, 0xC0,
    0x4A, 0x40, 0, 0, 0,    0,    0,    0,    0, 0, 0, 0, 0,    0,    0,    0,    0, 0, 0,    0,    0, 0,
    0,    0,    0, 0, 0,    0,    0,    0,    0, 0, 0, 0, 0,    0,    0,    0,    0, 0, 0xF0, 0x3F, 0, 0,
    0,    0,    0, 0, 0xF0, 0x3F, 0,    0,    0, 0, 0, 0, 0xF0, 0x3F, 0,    0,    0, 0, 0,    0,    0, 0,
};
const std::vector<std::uint8_t> kHeader = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};

std::vector<std::uint8_t> Concat(std::initializer_list<std::vector<std::uint8_t>> parts) {
  std::vector<std::uint8_t> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace

TEST(ChunkFormat, ProgramChunkIsHeaderAndElevenDoubles) {
  VocalTestPlug plug;
  StateChunk chunk;
  ASSERT_TRUE(plug.SaveProgramChunk(chunk));
  ASSERT_EQ(chunk.GetSize(), 96);
  EXPECT_EQ(BytesOf(chunk), Concat({kHeader, kDefaultBlock}));
}

TEST(ChunkFormat, BankChunkHoldsEveryPresetWithItsNameAndState) {
  VocalTestPlug plug;
  StateChunk chunk;
  ASSERT_TRUE(plug.SaveBankChunk(chunk));
  ASSERT_EQ(chunk.GetSize(), 102);
  EXPECT_EQ(BytesOf(chunk), Concat({kHeader, {1, 0, 0, 0, '-', 1}, kDefaultBlock}));
}

TEST(ChunkFormat, BankChunkStoresLiveValuesIntoTheCurrentPresetFirst) {
  VocalTestPlug plug;
  plug.GetParam(VocalTestPlug::kBass)->SetValue(-4.0);
  StateChunk chunk;
  plug.SaveBankChunk(chunk);
  double stored = 0.0;
  EXPECT_EQ(chunk.ReadDouble(stored, 8 + 6 + 3 * 8), 8 + 6 + 4 * 8);
  EXPECT_EQ(stored, -4.0);
}

TEST(ChunkFormat, UninitialisedPresetIsStoredWithoutState) {
  VocalTestPlug plug(2);
  StateChunk chunk;
  plug.SaveBankChunk(chunk);
  EXPECT_EQ(chunk.GetSize(), 102 + 4 + 5 + 1);
  const std::vector<std::uint8_t> bytes = BytesOf(chunk);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.end() - 10, bytes.end()),
            (std::vector<std::uint8_t>{5, 0, 0, 0, 'e', 'm', 'p', 't', 'y', 0}));
}

TEST(ChunkFormat, SavingStartsFromAnEmptyChunk) {
  VocalTestPlug plug;
  StateChunk chunk;
  chunk.AppendBytes("leftover", 8);
  plug.SaveProgramChunk(chunk);
  EXPECT_EQ(chunk.GetSize(), 96);
}

TEST(ChunkFormat, ProgramChunkRestoresEveryValueAndNotifiesAll) {
  VocalTestPlug source;
  source.GetParam(0)->SetValue(-2.25);
  source.GetParam(8)->SetValue(3.0);
  source.GetParam(10)->SetValue(1.0);
  StateChunk chunk;
  source.SaveProgramChunk(chunk);

  VocalTestPlug target;
  EXPECT_EQ(target.LoadChunk(chunk, false), 96);
  EXPECT_EQ(target.GetParam(0)->GetValue(), -2.25);
  EXPECT_EQ(target.GetParam(8)->GetValue(), 3.0);
  EXPECT_EQ(target.GetParam(10)->GetValue(), 1.0);
  EXPECT_EQ(target.changed, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(target.GetPreset(0)->state.GetSize(), 88);
  double stored = 0.0;
  target.GetPreset(0)->state.ReadDouble(stored, 0);
  EXPECT_EQ(stored, -2.25) << "the current preset takes the loaded values";
}

TEST(ChunkFormat, ProgramChunkCutBeforeTheLastValueFailsAfterRestoringTheRest) {
  VocalTestPlug source;
  for (int i = 0; i < 7; ++i) source.GetParam(i)->SetValue(source.GetParam(i)->GetMin() + 1.0);
  source.GetParam(10)->SetValue(1.0);
  StateChunk chunk;
  source.SaveProgramChunk(chunk);
  chunk.Resize(95);

  VocalTestPlug target;
  EXPECT_LT(target.LoadChunk(chunk, false), 0);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(target.GetParam(i)->GetValue(), source.GetParam(i)->GetValue()) << i;
  EXPECT_EQ(target.GetParam(10)->GetValue(), 0.0) << "the unreadable value becomes 0 clamped into range";
  EXPECT_EQ(target.changed.size(), 11u);
}

TEST(ChunkFormat, UnreadableValueBecomesZeroClampedIntoItsRange) {
  VocalTestPlug plug;
  StateChunk chunk;
  Fill(chunk, Concat({kHeader,
                      std::vector<std::uint8_t>(kDefaultBlock.begin(), kDefaultBlock.begin() + 8),
                      {1, 2, 3}}));
  EXPECT_LT(plug.LoadChunk(chunk, false), 0);
  EXPECT_EQ(plug.GetParam(0)->GetValue(), 12.5);
  EXPECT_EQ(plug.GetParam(1)->GetValue(), 20.0) << "LowCut's range starts at 20";
  EXPECT_EQ(plug.GetParam(2)->GetValue(), 53.5) << "parameters after the damage keep their values";
}

TEST(ChunkFormat, HeaderlessBlockIsReadFromTheStart) {
  VocalTestPlug plug;
  std::vector<std::uint8_t> block = kDefaultBlock;
  block[6] = 0x2A;  // 12.5 becomes 13.0
  StateChunk chunk;
  Fill(chunk, block);
  plug.GetParam(0)->SetValue(0.0);
  EXPECT_EQ(plug.LoadChunk(chunk, false), 88);
  EXPECT_EQ(plug.GetParam(0)->GetValue(), 13.0);
  VocalTestPlug bank;
  EXPECT_EQ(bank.LoadChunk(chunk, true), 88) << "a headerless bank is one parameter block";
  EXPECT_EQ(bank.GetParam(0)->GetValue(), 13.0);
}

TEST(ChunkFormat, BankWithOlderVersionIsReadAsProgramAfterTheHeader) {
  VocalTestPlug plug;
  std::vector<std::uint8_t> bytes = {0x74, 0x66, 0x66, 0x70, 0xFF, 0xFF, 0x00, 0x00};
  PushDouble(bytes, 7.0);
  bytes.insert(bytes.end(), kDefaultBlock.begin() + 8, kDefaultBlock.end());
  StateChunk chunk;
  Fill(chunk, bytes);
  EXPECT_EQ(plug.LoadChunk(chunk, true), 96);
  EXPECT_EQ(plug.GetParam(0)->GetValue(), 7.0);
  EXPECT_STREQ(plug.PresetName(0), "-");
}

TEST(ChunkFormat, StoredValuesOutsideTheRangeAreClamped) {
  VocalTestPlug plug;
  std::vector<std::uint8_t> bytes = kHeader;
  for (int i = 0; i < 11; ++i) PushDouble(bytes, i == 6 ? 1000.0 : -1000.0);
  StateChunk chunk;
  Fill(chunk, bytes);
  EXPECT_EQ(plug.LoadChunk(chunk, false), 96);
  EXPECT_EQ(plug.GetParam(VocalTestPlug::kDbOutput)->GetValue(), 20.0);
  EXPECT_EQ(plug.GetParam(VocalTestPlug::kPresComp)->GetValue(), -5.0);
  EXPECT_EQ(plug.GetParam(VocalTestPlug::kMode)->GetValue(), 0.0);
}

TEST(ChunkFormat, NonNumbersInTheChunkLoadAsDefaults) {
  VocalTestPlug plug;
  std::vector<std::uint8_t> bytes = kHeader;
  for (int i = 0; i < 11; ++i) PushDouble(bytes, std::numeric_limits<double>::quiet_NaN());
  StateChunk chunk;
  Fill(chunk, bytes);
  plug.GetParam(VocalTestPlug::kTighten)->SetValue(1.0);
  plug.LoadChunk(chunk, false);
  EXPECT_EQ(plug.GetParam(VocalTestPlug::kTighten)->GetValue(), 53.5);
}

TEST(ChunkFormat, BankRoundTripRestoresNamesFlagsAndValues) {
  VocalTestPlug source(3);
  source.GetParam(3)->SetValue(5.0);
  source.ModifyCurrentPreset("Bright");
  source.LoadPreset(1);  // takes the live values, named "user preset 1"
  source.GetParam(3)->SetValue(-5.0);
  StateChunk chunk;
  source.SaveBankChunk(chunk);

  VocalTestPlug target(3);
  EXPECT_EQ(target.LoadChunk(chunk, true), chunk.GetSize());
  EXPECT_STREQ(target.PresetName(0), "Bright");
  EXPECT_STREQ(target.PresetName(1), "user preset 1");
  EXPECT_STREQ(target.PresetName(2), "empty");
  EXPECT_TRUE(target.GetPreset(1)->initialized);
  EXPECT_FALSE(target.GetPreset(2)->initialized);
  EXPECT_EQ(target.GetParam(3)->GetValue(), 5.0) << "the live values are the current preset's (slot 0)";
}

TEST(ChunkFormat, SecondPresetWithEmptyStoredNameTakesTheFirstName) {
  VocalTestPlug plug(2);
  std::vector<std::uint8_t> bytes = kHeader;
  PushInt32(bytes, 5);
  bytes.insert(bytes.end(), {'V', 'o', 'c', 'a', 'l', 1});
  bytes.insert(bytes.end(), kDefaultBlock.begin(), kDefaultBlock.end());
  PushInt32(bytes, 0);
  bytes.push_back(0);
  StateChunk chunk;
  Fill(chunk, bytes);
  EXPECT_EQ(plug.LoadChunk(chunk, true), chunk.GetSize());
  EXPECT_STREQ(plug.PresetName(0), "Vocal");
  EXPECT_STREQ(plug.PresetName(1), "Vocal");
  EXPECT_FALSE(plug.GetPreset(1)->initialized);
}

TEST(ChunkFormat, StoredPresetNameLongerThan255IsCut) {
  VocalTestPlug plug;
  std::vector<std::uint8_t> bytes = kHeader;
  PushInt32(bytes, 300);
  bytes.insert(bytes.end(), 300, 'n');
  bytes.push_back(1);
  bytes.insert(bytes.end(), kDefaultBlock.begin(), kDefaultBlock.end());
  StateChunk chunk;
  Fill(chunk, bytes);
  EXPECT_EQ(plug.LoadChunk(chunk, true), chunk.GetSize());
  EXPECT_EQ(std::string(plug.PresetName(0)), std::string(255, 'n'));
}

TEST(ChunkFormat, BankOfANewerLayoutStoresTheSlotInTheCurrentLayout) {
  VocalTestPlug plug;
  std::vector<std::uint8_t> bytes = kHeader;
  PushInt32(bytes, 1);
  bytes.push_back('-');
  bytes.push_back(1);
  bytes.insert(bytes.end(), kDefaultBlock.begin(), kDefaultBlock.end());
  StateChunk chunk;
  Fill(chunk, bytes);
  plug.GetParam(0)->SetValue(0.0);
  EXPECT_EQ(plug.LoadChunk(chunk, true), 102);
  EXPECT_EQ(plug.GetParam(0)->GetValue(), 12.5);
  EXPECT_EQ(BytesOf(plug.GetPreset(0)->state), kDefaultBlock);
}

TEST(ChunkFormat, HeaderReaderReportsVersionOrHeaderless) {
  VocalTestPlug plug;
  StateChunk chunk;
  Fill(chunk, kHeader);
  int position = 0;
  EXPECT_EQ(plug.ReadChunkHeader(chunk, position), 0x00010000);
  EXPECT_EQ(position, 8);

  Fill(chunk, {0x74, 0x66, 0x66, 0x70, 0, 0});
  position = 0;
  EXPECT_EQ(plug.ReadChunkHeader(chunk, position), 0);
  EXPECT_EQ(position, -1) << "magic without a version";

  Fill(chunk, {1, 2, 3, 4, 5, 6, 7, 8});
  position = 0;
  EXPECT_EQ(plug.ReadChunkHeader(chunk, position), 0);
  EXPECT_EQ(position, 0) << "no magic: headerless, read from the start";
}

TEST(ChunkFormat, SlotWhoseStateIsCutOffKeepsItsFormerFlagSoLaterBanksStayWhole) {
  VocalTestPlug plug(2);  // slot 1 starts uninitialised, with no stored values
  std::vector<std::uint8_t> bytes = kHeader;
  PushInt32(bytes, 1);
  bytes.push_back('-');
  bytes.push_back(1);
  bytes.insert(bytes.end(), kDefaultBlock.begin(), kDefaultBlock.end());
  PushInt32(bytes, 1);
  bytes.push_back('B');
  bytes.push_back(1);  // claims values, then the chunk ends after two of them
  PushDouble(bytes, 1.0);
  PushDouble(bytes, 30.0);
  StateChunk chunk;
  Fill(chunk, bytes);
  EXPECT_LT(plug.LoadChunk(chunk, true), 0);
  EXPECT_FALSE(plug.GetPreset(1)->initialized);

  StateChunk saved;
  ASSERT_TRUE(plug.SaveBankChunk(saved));
  VocalTestPlug copy(2);
  EXPECT_EQ(copy.LoadChunk(saved, true), saved.GetSize()) << "the saved bank is complete";
  EXPECT_EQ(copy.GetParam(0)->GetValue(), 12.5);
}
