#include "core/IPlugBase.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/core/TestPlug.h"

TEST(IPlugBase, ConstructionStoresIdentityAndDefaults) {
  VocalTestPlug plug;
  EXPECT_STREQ(plug.GetEffectName(), "Brelvane");
  EXPECT_STREQ(plug.GetProductName(), "");
  EXPECT_STREQ(plug.GetMakerName(), "Orrindale");
  EXPECT_EQ(plug.GetUniqueId(), 0x5176656C);
  EXPECT_EQ(plug.GetVersion(), 0x3F99999A);
  EXPECT_EQ(plug.GetVersionMajor(), 16281);
  EXPECT_EQ(plug.GetVersionMinor(), 153);
  EXPECT_EQ(plug.GetVersionPatch(), 154);
  EXPECT_EQ(plug.GetApiId(), ApiId::Vst2);
  EXPECT_EQ(plug.GetHostId(), HostId::NotAsked);
  EXPECT_EQ(plug.GetHostVersion(), 0);
  EXPECT_EQ(plug.GetSampleRate(), 44100.0);
  EXPECT_EQ(plug.GetMaxBlockSize(), 0);
  EXPECT_EQ(plug.GetLatency(), 0);
  EXPECT_EQ(plug.GetTailSize(), 0);
  EXPECT_EQ(plug.GetCurrentPresetIndex(), 0);
  EXPECT_EQ(plug.GetEditor(), nullptr);
  EXPECT_EQ(plug.NParams(), 11);
  EXPECT_EQ(plug.NPresets(), 1);
  EXPECT_STREQ(plug.PresetName(0), "-");
}

TEST(IPlugBase, NewPresetSlotsAreEmptyAndNamedEmpty) {
  RecordingPlug plug(2, 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(plug.GetPreset(i)->initialized);
    EXPECT_STREQ(plug.PresetName(i), "empty");
    EXPECT_EQ(plug.GetPreset(i)->state.GetSize(), 0);
  }
  EXPECT_STREQ(plug.PresetName(3), "");
  EXPECT_STREQ(plug.PresetName(-1), "");
}

TEST(IPlugBase, IdentityNamesAreCutTo127Characters) {
  const std::string longName(200, 'e');
  IPlugBase plug(0, 0, "", longName.c_str(), nullptr, "m", 0, 0, 0, ApiId::Vst3);
  EXPECT_EQ(std::string(plug.GetEffectName()), std::string(127, 'e'));
  EXPECT_STREQ(plug.GetProductName(), "");
  EXPECT_EQ(plug.GetApiId(), ApiId::Vst3);
}

TEST(IPlugBase, ParamOutsideTheListIsNone) {
  VocalTestPlug plug;
  EXPECT_EQ(plug.GetParam(-1), nullptr);
  EXPECT_EQ(plug.GetParam(11), nullptr);
  EXPECT_NE(plug.GetParam(10), nullptr);
}

TEST(IPlugBase, ChannelStringGivesConfigurationsAndChannelCounts) {
  RecordingPlug plug(0, 0, "1-1 2-2");
  ASSERT_EQ(plug.NChannelIOConfigs(), 2);
  EXPECT_EQ(plug.GetChannelIOConfig(0)->inputs, 1);
  EXPECT_EQ(plug.GetChannelIOConfig(0)->outputs, 1);
  EXPECT_EQ(plug.GetChannelIOConfig(1)->inputs, 2);
  EXPECT_EQ(plug.GetChannelIOConfig(1)->outputs, 2);
  EXPECT_EQ(plug.NInChannels(), 2);
  EXPECT_EQ(plug.NOutChannels(), 2);
}

TEST(IPlugBase, ChannelTokenWithoutOutputsReadsZero) {
  RecordingPlug plug(0, 0, "2");
  ASSERT_EQ(plug.NChannelIOConfigs(), 1);
  EXPECT_EQ(plug.GetChannelIOConfig(0)->inputs, 2);
  EXPECT_EQ(plug.GetChannelIOConfig(0)->outputs, 0);
  EXPECT_EQ(plug.NInChannels(), 2);
  EXPECT_EQ(plug.NOutChannels(), 0);
}

TEST(IPlugBase, ChannelStringOddities) {
  RecordingPlug garbage(0, 0, "x-3");
  ASSERT_EQ(garbage.NChannelIOConfigs(), 1);
  EXPECT_EQ(garbage.GetChannelIOConfig(0)->inputs, 0);
  EXPECT_EQ(garbage.GetChannelIOConfig(0)->outputs, 0) << "reading stops at the first missing number";

  RecordingPlug sidechain(0, 0, "2-2 4-2 ");
  EXPECT_EQ(sidechain.NChannelIOConfigs(), 3) << "a trailing blank starts an empty token";
  EXPECT_EQ(sidechain.NInChannels(), 4);
  EXPECT_EQ(sidechain.NOutChannels(), 2);

  RecordingPlug none(0, 0, nullptr);
  EXPECT_EQ(none.NChannelIOConfigs(), 0);
  EXPECT_EQ(none.NInChannels(), 0);
}

TEST(IPlugBase, LegalIOMatchesAConfigurationWithMinusOneAsAny) {
  RecordingPlug plug(0, 0, "1-1 2-2");
  EXPECT_TRUE(plug.LegalIO(1, -1));
  EXPECT_TRUE(plug.LegalIO(2, 2));
  EXPECT_TRUE(plug.LegalIO(-1, 1));
  EXPECT_TRUE(plug.LegalIO(-1, -1));
  EXPECT_FALSE(plug.LegalIO(2, 1));
  EXPECT_FALSE(plug.LegalIO(3, -1));
}

TEST(IPlugBase, SetParamFromEditorStoresRoundedValueAndReportsTheGivenOne) {
  RecordingPlug plug(1, 1);
  plug.GetParam(0)->DefineInt("Mode", 1, 0, 4);
  plug.SetParamFromEditor(0, 0.6);
  EXPECT_EQ(plug.GetParam(0)->GetValue(), 2.0);
  ASSERT_EQ(plug.hostNotified.size(), 1u);
  EXPECT_EQ(plug.hostNotified[0].index, 0);
  EXPECT_EQ(plug.hostNotified[0].normalized, 0.6);
  EXPECT_EQ(plug.changed, (std::vector<int>{0}));
}

TEST(IPlugBase, SetParamFromEditorIgnoresUnknownIndex) {
  RecordingPlug plug(1, 1);
  plug.SetParamFromEditor(5, 0.5);
  plug.SetParamFromEditor(-1, 0.5);
  EXPECT_TRUE(plug.hostNotified.empty());
  EXPECT_TRUE(plug.changed.empty());
}

TEST(IPlugBase, NotifyAllParamsChangedGoesInIndexOrder) {
  VocalTestPlug plug;
  plug.NotifyAllParamsChanged();
  EXPECT_EQ(plug.changed, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST(IPlugBase, AttachEditorShowsNormalizedValuesThenCreatesSurfaces) {
  EditorLog log;
  VocalTestPlug plug;
  FakeEditor* editor = new FakeEditor(log);
  plug.AttachEditor(editor);
  EXPECT_EQ(plug.GetEditor(), editor);
  ASSERT_EQ(log.controlValues.size(), 11u);
  for (int i = 0; i < 11; ++i) {
    EXPECT_EQ(log.controlValues[i].index, i);
    EXPECT_EQ(log.controlValues[i].value, plug.GetParam(i)->GetNormalizedValue());
  }
  EXPECT_EQ(log.controlValues[0].value, 17.5 / 30.0);
  EXPECT_EQ(log.events.back(), "surfaces");
  EXPECT_EQ(std::count(log.events.begin(), log.events.end(), "surfaces"), 1);
}

TEST(IPlugBase, AttachingNoEditorChangesNothing) {
  VocalTestPlug plug;
  plug.AttachEditor(nullptr);
  EXPECT_EQ(plug.GetEditor(), nullptr);
}

TEST(IPlugBase, RefreshEditorParamsSendsPlainValues) {
  EditorLog log;
  VocalTestPlug plug;
  plug.RefreshEditorParams();  // no editor: nothing to do, nothing breaks
  plug.AttachEditor(new FakeEditor(log));
  plug.GetParam(VocalTestPlug::kLowCut)->SetValue(250.0);
  plug.RefreshEditorParams();
  ASSERT_EQ(log.fromPlug.size(), 11u);
  EXPECT_EQ(log.fromPlug[1].index, 1);
  EXPECT_EQ(log.fromPlug[1].value, 250.0);
  EXPECT_FALSE(log.fromPlug[1].isNormalized);
}

TEST(IPlugBase, DestructionDestroysTheEditorWhileParametersStillExist) {
  EditorLog log;
  {
    VocalTestPlug plug;
    plug.AttachEditor(new FakeEditor(log, &plug));
  }
  EXPECT_EQ(log.events.back(), "destroyed");
  EXPECT_EQ(log.paramsSeenAtDestruction, 11);
}

TEST(IPlugBase, ReplacingTheEditorDestroysTheOldOne) {
  EditorLog first;
  EditorLog second;
  VocalTestPlug plug;
  plug.AttachEditor(new FakeEditor(first));
  plug.AttachEditor(new FakeEditor(second));
  EXPECT_EQ(first.events.back(), "destroyed");
  EXPECT_NE(second.events.back(), "destroyed");
}

TEST(IPlugBase, StateMatchesWithinTolerance) {
  VocalTestPlug plug;
  double values[12] = {99.0, 12.5, 100.0, 53.5, 0.0, 0.0, 0.0, 0.0, 1.0, 1.0, 1.0, 0.0};
  EXPECT_TRUE(plug.StateMatches(values, 1));
  values[3] += 0.000009;
  EXPECT_TRUE(plug.StateMatches(values, 1));
  values[3] += 0.00001;
  EXPECT_FALSE(plug.StateMatches(values, 1));
  EXPECT_FALSE(plug.StateMatches(values, 0));
  EXPECT_FALSE(plug.StateMatches(nullptr, 0));
}

TEST(IPlugBase, MidiInIsSentBackOut) {
  RecordingPlug plug(0, 0);
  MidiMessage note;
  note.offset = 12;
  note.status = 0x90;
  note.data1 = 60;
  note.data2 = 100;
  plug.OnMidiMessage(note);
  ASSERT_EQ(plug.sentMidi.size(), 1u);
  EXPECT_EQ(plug.sentMidi[0].offset, 12);
  EXPECT_EQ(plug.sentMidi[0].data1, 60);
}

TEST(IPlugBase, NeutralHostOperations) {
  IPlugBase plug(1, 1, "2-2", "n", "p", "m", 0x00010203, 1, 2, ApiId::Vst2);
  char name[8] = "x";
  EXPECT_FALSE(plug.GetMidiNoteName(60, name));
  EXPECT_STREQ(name, "");
  EXPECT_FALSE(plug.SendSysExMessage(SysExMessage{}));
  EXPECT_FALSE(plug.IsOfflineRender());
  TransportInfo info;
  info.tempo = 99.0;
  plug.GetHostTransport(info);
  EXPECT_EQ(info.tempo, 99.0) << "fields the host does not supply keep their values";
  plug.SetLatencySamples(64);
  EXPECT_EQ(plug.GetLatency(), 64);
}

TEST(IPlugBase, LockCanBeTakenAgainByTheThreadHoldingIt) {
  VocalTestPlug plug;
  IPlugBase::ScopedLock outer(plug);
  plug.Lock();                      // the state-loading path takes it again
  plug.SetParamFromEditor(0, 0.5);  // and takes it a third time
  plug.Unlock();
  EXPECT_EQ(plug.GetParam(0)->GetValue(), 10.0);
}
