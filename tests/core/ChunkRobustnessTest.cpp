#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <random>

#include "core/IPlugBase.h"
#include "tests/core/ChunkBytes.h"
#include "tests/core/TestPlug.h"

namespace {

void ExpectAllInRange(const IPlugBase& plug, const char* context) {
  for (int i = 0; i < plug.NParams(); ++i) {
    const IParamDef* param = plug.GetParam(i);
    const double v = param->GetValue();
    EXPECT_FALSE(std::isnan(v)) << context << " parameter " << i;
    EXPECT_GE(v, param->GetMin()) << context << " parameter " << i;
    EXPECT_LE(v, param->GetMax()) << context << " parameter " << i;
  }
}

// A value the parameter can really hold: anywhere in the range, whole steps for non-Double kinds.
double RandomValue(const IParamDef& param, std::mt19937& random) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const double v = param.GetMin() + unit(random) * (param.GetMax() - param.GetMin());
  return param.GetType() == ParamType::Double ? v : std::round(v);
}

void Randomise(IPlugBase& plug, std::mt19937& random) {
  for (int i = 0; i < plug.NParams(); ++i) plug.GetParam(i)->SetValue(RandomValue(*plug.GetParam(i), random));
}

std::vector<double> Values(const IPlugBase& plug) {
  std::vector<double> values;
  for (int i = 0; i < plug.NParams(); ++i) values.push_back(plug.GetParam(i)->GetValue());
  return values;
}

}  // namespace

TEST(ChunkRobustness, RandomStatesSurviveProgramChunksExactly) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 200; ++round) {
    VocalTestPlug source;
    Randomise(source, random);
    StateChunk chunk;
    ASSERT_TRUE(source.SaveProgramChunk(chunk));
    VocalTestPlug target;
    ASSERT_EQ(target.LoadChunk(chunk, false), chunk.GetSize());
    ASSERT_EQ(Values(target), Values(source)) << "round " << round;
  }
}

TEST(ChunkRobustness, RandomPresetsSurviveBankChunksExactly) {
  std::mt19937 random(7);
  for (int round = 0; round < 50; ++round) {
    VocalTestPlug source(4);
    std::vector<std::vector<double>> perSlot;
    for (int slot = 0; slot < 4; ++slot) {
      source.LoadPreset(slot);
      Randomise(source, random);
      source.ModifyCurrentPreset(("slot " + std::to_string(round * 4 + slot)).c_str());
      perSlot.push_back(Values(source));
    }
    source.LoadPreset(int(random() % 4));
    StateChunk chunk;
    ASSERT_TRUE(source.SaveBankChunk(chunk));

    VocalTestPlug target(4);
    ASSERT_EQ(target.LoadChunk(chunk, true), chunk.GetSize());
    EXPECT_EQ(Values(target), perSlot[0]) << "the live values are the target's current preset (0)";
    for (int slot = 0; slot < 4; ++slot) {
      ASSERT_TRUE(target.LoadPreset(slot));
      ASSERT_EQ(Values(target), perSlot[slot]) << "round " << round << " slot " << slot;
      EXPECT_STREQ(target.PresetName(slot), source.PresetName(slot));
    }
  }
}

TEST(ChunkRobustness, ProgramChunkCutAtEveryLengthFailsSafely) {
  VocalTestPlug source;
  std::mt19937 random(3);
  Randomise(source, random);
  StateChunk full;
  source.SaveProgramChunk(full);
  for (int length = 0; length < full.GetSize(); ++length) {
    StateChunk cut;
    cut.AppendBytes(full.GetData(), length);
    VocalTestPlug target;
    const int result = target.LoadChunk(cut, false);
    // Fewer than 8 bytes is read as a headerless block, so no length short of the full one succeeds.
    EXPECT_LT(result, 0) << length;
    EXPECT_EQ(target.changed.size(), 11u) << "every parameter is notified, length " << length;
    ExpectAllInRange(target, "program cut");
  }
}

TEST(ChunkRobustness, BankChunkCutAtEveryLengthFailsSafely) {
  VocalTestPlug source(3);
  std::mt19937 random(5);
  for (int slot = 0; slot < 3; ++slot) {
    source.LoadPreset(slot);
    Randomise(source, random);
    source.ModifyCurrentPreset("a name");
  }
  StateChunk full;
  source.SaveBankChunk(full);
  for (int length = 0; length < full.GetSize(); ++length) {
    StateChunk cut;
    cut.AppendBytes(full.GetData(), length);
    VocalTestPlug target(3);
    EXPECT_LT(target.LoadChunk(cut, true), 0) << length;
    ExpectAllInRange(target, "bank cut");
    for (int slot = 0; slot < 3; ++slot) EXPECT_LT(std::strlen(target.PresetName(slot)), 256u);
  }
}

TEST(ChunkRobustness, RandomBytesNeverCrashOrLeaveValuesOutOfRange) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 400; ++round) {
    std::vector<std::uint8_t> bytes;
    if (round % 2 == 0) bytes = {0x74, 0x66, 0x66, 0x70, 0, 0, 1, 0};
    const int length = int(random() % 300);
    for (int i = 0; i < length; ++i) bytes.push_back(std::uint8_t(byte(random)));
    StateChunk chunk;
    Fill(chunk, bytes);
    VocalTestPlug program(2);
    program.LoadChunk(chunk, false);
    ExpectAllInRange(program, "random program");
    VocalTestPlug bank(2);
    bank.LoadChunk(chunk, true);
    ExpectAllInRange(bank, "random bank");
    // Whatever was loaded can be saved and loaded again.
    StateChunk again;
    ASSERT_TRUE(bank.SaveBankChunk(again));
    VocalTestPlug copy(2);
    EXPECT_EQ(copy.LoadChunk(again, true), again.GetSize());
  }
}

TEST(ChunkRobustness, HugeAndNegativeStoredNameLengthsStopTheRead) {
  for (std::uint32_t length : {0x7FFFFFFFu, 0x7FFFFFF0u, 0x80000000u, 0xFFFFFFFFu, 0xFFFFFFF8u, 200u}) {
    std::vector<std::uint8_t> bytes = {0x74, 0x66, 0x66, 0x70, 0, 0, 1, 0};
    PushInt32(bytes, length);
    bytes.push_back('x');
    bytes.push_back(1);
    for (int i = 0; i < 11; ++i) PushDouble(bytes, 1e300);
    StateChunk chunk;
    Fill(chunk, bytes);
    VocalTestPlug plug;
    EXPECT_LT(plug.LoadChunk(chunk, true), 0) << length;
    ExpectAllInRange(plug, "huge name length");
    EXPECT_EQ(plug.GetParam(0)->GetValue(), 12.5) << "the slot kept its values";
  }
}

TEST(ChunkRobustness, ReadersRefuseEveryPositionNearTheLimits) {
  StateChunk chunk;
  chunk.AppendDouble(1.0);
  for (int position : {INT_MIN, -8, -1, 1, 8, INT_MAX - 7, INT_MAX}) {
    double value = 42.0;
    EXPECT_EQ(chunk.ReadDouble(value, position), -1) << position;
    EXPECT_EQ(value, 42.0);
  }
  VocalTestPlug plug;
  EXPECT_EQ(plug.UnserializeParams(chunk, INT_MAX), -1);
  EXPECT_EQ(plug.UnserializePresets(chunk, INT_MAX - 2), -1);
  ExpectAllInRange(plug, "limits");
}
