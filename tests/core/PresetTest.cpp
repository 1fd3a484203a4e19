#include <gtest/gtest.h>

#include "core/IPlugBase.h"
#include "tests/core/ChunkBytes.h"
#include "tests/core/TestPlug.h"

TEST(Presets, FillEmptyPresetsInitialisesFreeSlotsWithLiveValues) {
  VocalTestPlug plug(3);
  EXPECT_TRUE(plug.GetPreset(0)->initialized);
  EXPECT_EQ(plug.GetPreset(0)->state.GetSize(), 88);
  plug.GetParam(0)->SetValue(1.0);
  plug.FillEmptyPresets(nullptr, 5);  // more than are free
  EXPECT_STREQ(plug.PresetName(1), "Empty");
  EXPECT_STREQ(plug.PresetName(2), "Empty");
  double stored = 0.0;
  plug.GetPreset(2)->state.ReadDouble(stored, 0);
  EXPECT_EQ(stored, 1.0);
  plug.FillEmptyPresets("Empty", 1);  // nothing left to fill
  EXPECT_STREQ(plug.PresetName(0), "-");
}

TEST(Presets, LoadingAnInitialisedPresetRestoresItsValues) {
  EditorLog log;
  VocalTestPlug plug(2);
  plug.FillEmptyPresets("B", 1);
  plug.GetParam(4)->SetValue(3.0);
  plug.ModifyCurrentPreset();
  plug.GetParam(4)->SetValue(5.0);
  plug.AttachEditor(new FakeEditor(log));
  plug.changed.clear();
  EXPECT_TRUE(plug.LoadPreset(0));
  EXPECT_EQ(plug.GetParam(4)->GetValue(), 3.0);
  EXPECT_EQ(plug.changed.size(), 11u);
  EXPECT_EQ(plug.presetsChanged, 1);
  EXPECT_EQ(log.fromPlug.size(), 11u) << "the editor shows the loaded values";
}

TEST(Presets, LoadingAnUninitialisedSlotNamesItAndStoresLiveValues) {
  VocalTestPlug plug(3);
  plug.GetParam(2)->SetValue(77.0);
  EXPECT_TRUE(plug.LoadPreset(1));
  EXPECT_STREQ(plug.PresetName(1), "user preset 1");
  EXPECT_TRUE(plug.GetPreset(1)->initialized);
  EXPECT_EQ(plug.GetCurrentPresetIndex(), 1);
  EXPECT_EQ(plug.GetParam(2)->GetValue(), 77.0) << "live values are kept, not changed";
  double stored = 0.0;
  plug.GetPreset(1)->state.ReadDouble(stored, 16);
  EXPECT_EQ(stored, 77.0);
}

TEST(Presets, UserPresetNumberCountsSlotsAlreadyNamedSo) {
  VocalTestPlug plug(4);
  plug.LoadPreset(1);
  plug.LoadPreset(0);
  plug.ModifyCurrentPreset("my user preset");
  EXPECT_TRUE(plug.LoadPreset(3));
  EXPECT_STREQ(plug.PresetName(3), "user preset 3");
}

TEST(Presets, LoadPresetRefusesIndexOutsideTheList) {
  VocalTestPlug plug;
  EXPECT_FALSE(plug.LoadPreset(1));
  EXPECT_FALSE(plug.LoadPreset(-1));
  EXPECT_EQ(plug.GetCurrentPresetIndex(), 0);
  EXPECT_EQ(plug.presetsChanged, 0);
}

TEST(Presets, ModifyCurrentPresetWithEmptyNameKeepsNameAndReplacesValues) {
  VocalTestPlug plug;
  plug.GetParam(0)->SetValue(20.0);
  plug.ModifyCurrentPreset("");
  EXPECT_STREQ(plug.PresetName(0), "-");
  double stored = 0.0;
  plug.GetPreset(0)->state.ReadDouble(stored, 0);
  EXPECT_EQ(stored, 20.0);
  EXPECT_EQ(plug.GetPreset(0)->state.GetSize(), 88) << "replaced, not appended";
  plug.ModifyCurrentPreset("Lead vocal");
  EXPECT_STREQ(plug.PresetName(0), "Lead vocal");
}

TEST(Presets, ModifyCurrentPresetLeavesTheInitialisedFlag) {
  RecordingPlug plug(1, 1);
  plug.ModifyCurrentPreset("Named");
  EXPECT_FALSE(plug.GetPreset(0)->initialized);
  EXPECT_STREQ(plug.PresetName(0), "Named");
}

TEST(Presets, PresetNameIsCutTo255Characters) {
  VocalTestPlug plug;
  const std::string longName(400, 'p');
  plug.ModifyCurrentPreset(longName.c_str());
  EXPECT_EQ(std::string(plug.PresetName(0)), std::string(255, 'p'));
}

TEST(Presets, SlotMarkedUninitialisedByABankIsRewrittenNotAppendedOnFirstUse) {
  VocalTestPlug plug;
  // A bank that clears the only slot's flag; its old state bytes stay in the slot.
  std::vector<std::uint8_t> bytes = {0x74, 0x66, 0x66, 0x70, 0, 0, 1, 0, 1, 0, 0, 0, 'x', 0};
  StateChunk chunk;
  Fill(chunk, bytes);
  plug.GetParam(0)->SetValue(3.0);
  plug.LoadChunk(chunk, true);  // ends with LoadPreset of the now uninitialised slot
  EXPECT_EQ(plug.GetPreset(0)->state.GetSize(), 88);
  double stored = 0.0;
  plug.GetPreset(0)->state.ReadDouble(stored, 0);
  EXPECT_EQ(stored, 3.0);
}

// A plug-in without parameters stores empty states: loading one reads nothing from position 0,
// which is a success, not a state cut short.
TEST(Presets, EmptyStatesOfAPlugInWithoutParametersLoad) {
  RecordingPlug plug(0, 2);
  plug.FillEmptyPresets("Plain", 2);
  EXPECT_EQ(plug.GetPreset(1)->state.GetSize(), 0);
  EXPECT_TRUE(plug.LoadPreset(1));
  EXPECT_EQ(plug.GetCurrentPresetIndex(), 1);
  EXPECT_EQ(plug.presetsChanged, 1);

  StateChunk bank;
  ASSERT_TRUE(plug.SaveBankChunk(bank));
  RecordingPlug fresh(0, 2);
  EXPECT_EQ(fresh.LoadStateFromHost(bank, true), bank.GetSize());
  EXPECT_STREQ(fresh.PresetName(1), "Plain");
  EXPECT_TRUE(fresh.GetPreset(1)->initialized);
}
