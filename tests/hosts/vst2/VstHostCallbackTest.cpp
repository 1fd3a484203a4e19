// What the host answers when the plug-in calls it, and what it records of those calls.
#include "tests/hosts/vst2/ProbeFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using brel::HostRecord;
using brel::VstHost;
using probe::Ask;

namespace {
// The probe loaded and opened.
class VstHostCallbacks : public probe::ProbeTest {};
}  // namespace
using probe::Relayed;

TEST(VstHostCallback, EntryCallsWithoutAnEffectAreAnsweredAndRecordedByTheLoadingHost) {
  VstHost host;
  ASSERT_TRUE(host.Load(probe::ModulePath())) << host.LastError();
  EXPECT_EQ(Ask(host, probe::kEntryVersion), 2400);
  const HostRecord record = host.Record();
  ASSERT_GE(record.calls.size(), 2u);
  EXPECT_EQ(record.calls[0].opcode, audioMasterVersion);
  EXPECT_TRUE(record.calls[0].nullEffect);
  EXPECT_TRUE(record.calls[0].duringEntry);
  EXPECT_EQ(record.calls[1].opcode, audioMasterGetProductString);
}

TEST(VstHostCallback, EntryCallsWithTheNewEffectUseTheLoadingHostsSettings) {
  VstHost host;
  host.SetVendorVersion(70503);
  ASSERT_TRUE(host.Load(probe::ModulePath())) << host.LastError();
  EXPECT_EQ(Ask(host, probe::kEntryVendorVersion), 70503);
  const HostRecord record = host.Record();
  ASSERT_EQ(record.CountOf(audioMasterGetVendorVersion), 1);
  EXPECT_FALSE(record.calls[2].nullEffect);
  EXPECT_TRUE(record.calls[2].duringEntry);
}

TEST(VstHostCallback, CallsAfterTheEntryAreNotMarkedAsEntryCalls) {
  VstHost host;
  ASSERT_TRUE(host.Load(probe::ModulePath())) << host.LastError();
  host.ClearRecord();
  Ask(host, probe::kUpdateDisplay);
  const HostRecord record = host.Record();
  ASSERT_EQ(record.calls.size(), 1u);
  EXPECT_FALSE(record.calls[0].duringEntry);
  EXPECT_FALSE(record.calls[0].nullEffect);
}

TEST(VstHostCallback, AnUnknownCallerLearnsOnlyTheVersion) {
  EXPECT_EQ(VstHost::HostCallback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f), 2400);
  char text[64] = {};
  EXPECT_EQ(VstHost::HostCallback(nullptr, audioMasterGetProductString, 0, 0, text, 0.0f), 0);
  EXPECT_STREQ(text, "");
  AEffect stranger;
  std::memset(&stranger, 0, sizeof(stranger));
  EXPECT_EQ(VstHost::HostCallback(&stranger, audioMasterGetVendorVersion, 0, 0, nullptr, 0.0f), 0);
}

TEST_F(VstHostCallbacks, AnEditGestureIsRecordedInOrder) {
  mHost.ClearRecord();
  EXPECT_EQ(Ask(mHost, probe::kEditGesture, 1, nullptr, 0.25f), 1);
  const HostRecord record = mHost.Record();
  ASSERT_EQ(record.calls.size(), 3u);
  EXPECT_EQ(record.calls[0].opcode, audioMasterBeginEdit);
  EXPECT_EQ(record.calls[1].opcode, audioMasterAutomate);
  EXPECT_EQ(record.calls[1].index, 1);
  EXPECT_EQ(record.calls[1].opt, 0.25f);
  EXPECT_EQ(record.calls[2].opcode, audioMasterEndEdit);
  ASSERT_EQ(record.automations.size(), 1u);
  EXPECT_EQ(record.automations[0].index, 1);
  EXPECT_EQ(record.automations[0].value, 0.25f);
  EXPECT_EQ(record.beginEdits, std::vector<VstInt32>{1});
  EXPECT_EQ(record.endEdits, std::vector<VstInt32>{1});
}

TEST_F(VstHostCallbacks, UpdateDisplayIsCountedAndAnswered) {
  mHost.ClearRecord();
  EXPECT_EQ(Ask(mHost, probe::kUpdateDisplay), 1);
  EXPECT_EQ(Ask(mHost, probe::kUpdateDisplay), 1);
  EXPECT_EQ(mHost.Record().updateDisplays, 2);
}

TEST_F(VstHostCallbacks, ClearRecordForgetsEverything) {
  Ask(mHost, probe::kEditGesture, 0, nullptr, 1.0f);
  Ask(mHost, probe::kSendEvents);
  mHost.ClearRecord();
  const HostRecord record = mHost.Record();
  EXPECT_TRUE(record.calls.empty());
  EXPECT_TRUE(record.automations.empty());
  EXPECT_TRUE(record.beginEdits.empty());
  EXPECT_TRUE(record.events.empty());
  EXPECT_EQ(record.processEventsCalls, 0);
}

TEST_F(VstHostCallbacks, GetTimeAnswersZeroUntilATimeIsConfigured) {
  VstTimeInfo seen;
  EXPECT_EQ(Ask(mHost, probe::kReadTime, kVstTempoValid, &seen), 0);
  VstTimeInfo time;
  std::memset(&time, 0, sizeof(time));
  time.samplePos = 4410.0;
  time.sampleRate = 44100.0;
  time.tempo = 123.5;
  time.timeSigNumerator = 7;
  time.timeSigDenominator = 8;
  time.flags = kVstTempoValid | kVstTimeSigValid | kVstTransportPlaying;
  mHost.SetTimeInfo(time);
  std::memset(&seen, 0, sizeof(seen));
  EXPECT_EQ(Ask(mHost, probe::kReadTime, kVstTempoValid | kVstTimeSigValid, &seen), 1);
  EXPECT_EQ(seen.samplePos, 4410.0);
  EXPECT_EQ(seen.tempo, 123.5);
  EXPECT_EQ(seen.timeSigNumerator, 7);
  EXPECT_EQ(seen.timeSigDenominator, 8);
  EXPECT_EQ(seen.flags, time.flags);
  const HostRecord record = mHost.Record();
  EXPECT_EQ(record.calls.back().value, kVstTempoValid | kVstTimeSigValid);  // the mask asked
  mHost.ClearTimeInfo();
  EXPECT_EQ(Ask(mHost, probe::kReadTime, 0, &seen), 0);
}

TEST_F(VstHostCallbacks, EventsFromThePluginAreCopiedBeforeItReusesItsMemory) {
  mHost.ClearRecord();
  EXPECT_EQ(Ask(mHost, probe::kSendEvents), 1);
  const HostRecord record = mHost.Record();
  EXPECT_EQ(record.processEventsCalls, 1);
  ASSERT_EQ(record.events.size(), 3u);

  const brel::HostEvent& on = record.events[0];
  EXPECT_EQ(on.type, kVstMidiType);
  EXPECT_EQ(on.byteSize, 32);
  EXPECT_EQ(on.deltaFrames, 5);
  EXPECT_EQ(on.flags, kVstMidiEventIsRealtime);
  EXPECT_EQ(on.noteLength, 100);
  EXPECT_EQ(on.noteOffset, 3);
  EXPECT_EQ(on.midiData[0], 0x90);
  EXPECT_EQ(on.midiData[1], 60);
  EXPECT_EQ(on.midiData[2], 100);
  EXPECT_EQ(on.detune, -12);
  EXPECT_EQ(on.noteOffVelocity, 64);

  EXPECT_EQ(record.events[1].midiData[0], 0x80);
  EXPECT_EQ(record.events[1].deltaFrames, 9);

  const brel::HostEvent& sysex = record.events[2];
  EXPECT_EQ(sysex.type, kVstSysExType);
  EXPECT_EQ(sysex.byteSize, 48);
  EXPECT_EQ(sysex.deltaFrames, 11);
  EXPECT_EQ(sysex.sysex, (std::vector<unsigned char>{0xF0, 0x7D, 0x01, 0x02, 0xF7}));
}

TEST_F(VstHostCallbacks, ProcessEventsAnswersAsConfiguredAndZeroWithoutEvents) {
  brel::HostSettings settings = mHost.Settings();
  settings.processEventsAnswer = 0;
  mHost.SetSettings(settings);
  EXPECT_EQ(Ask(mHost, probe::kSendEvents), 0);
  mHost.ClearRecord();
  EXPECT_EQ(Relayed(mHost, audioMasterProcessEvents), 0);
  EXPECT_EQ(mHost.Record().processEventsCalls, 0);
}

TEST_F(VstHostCallbacks, ProcessEventsSkipsEmptySlots) {
  VstMidiEvent note;
  std::memset(&note, 0, sizeof(note));
  note.type = kVstMidiType;
  note.midiData[0] = static_cast<char>(0xB0);
  struct {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[3];
  } list = {3, 0, {nullptr, reinterpret_cast<VstEvent*>(&note), nullptr}};
  mHost.ClearRecord();
  EXPECT_EQ(Relayed(mHost, audioMasterProcessEvents, 0, 0, &list), 1);
  const HostRecord record = mHost.Record();
  ASSERT_EQ(record.events.size(), 1u);
  EXPECT_EQ(record.events[0].midiData[0], 0xB0);
}

TEST_F(VstHostCallbacks, ProductAndVendorTextsAreConfigurableAndKeptWithin64Bytes) {
  char text[256];
  std::memset(text, 'x', sizeof(text));
  mHost.SetProductString("REAPER");
  EXPECT_EQ(Relayed(mHost, audioMasterGetProductString, 0, 0, text), 1);
  EXPECT_STREQ(text, "REAPER");

  const std::string longName(100, 'v');
  mHost.SetVendorString(longName);
  std::memset(text, 'x', sizeof(text));
  EXPECT_EQ(Relayed(mHost, audioMasterGetVendorString, 0, 0, text), 1);
  EXPECT_EQ(std::string(text), longName.substr(0, 63));
  EXPECT_EQ(text[64], 'x');  // nothing written past the 64-byte field

  EXPECT_EQ(Relayed(mHost, audioMasterGetProductString), 0);  // no buffer, no answer
}

TEST_F(VstHostCallbacks, VersionVendorVersionAndProcessLevelAreAnswered) {
  EXPECT_EQ(Relayed(mHost, audioMasterVersion), 2400);
  mHost.SetVendorVersion(60012);
  EXPECT_EQ(Relayed(mHost, audioMasterGetVendorVersion), 60012);
  EXPECT_EQ(Relayed(mHost, audioMasterGetCurrentProcessLevel), kVstProcessLevelRealtime);
  mHost.SetProcessLevel(kVstProcessLevelOffline);
  EXPECT_EQ(Relayed(mHost, audioMasterGetCurrentProcessLevel), kVstProcessLevelOffline);
}

TEST_F(VstHostCallbacks, CanDoAnswersFromTheSettings) {
  char timeInfo[] = "sendVstTimeInfo";
  char unknown[] = "openFileSelector";
  EXPECT_EQ(Relayed(mHost, audioMasterCanDo, 0, 0, timeInfo), 1);
  EXPECT_EQ(Relayed(mHost, audioMasterCanDo, 0, 0, unknown), 0);
  mHost.SetHostCanDo("openFileSelector", 1);
  mHost.SetHostCanDo("sendVstTimeInfo", 0);
  EXPECT_EQ(Relayed(mHost, audioMasterCanDo, 0, 0, unknown), 1);
  EXPECT_EQ(Relayed(mHost, audioMasterCanDo, 0, 0, timeInfo), 0);
  EXPECT_EQ(Relayed(mHost, audioMasterCanDo), 0);
}

TEST_F(VstHostCallbacks, SampleRateAndBlockSizeAreReportedBackToThePlugin) {
  EXPECT_TRUE(mHost.SetSampleRate(48000.0f));
  EXPECT_TRUE(mHost.SetBlockSize(256));
  EXPECT_EQ(Relayed(mHost, audioMasterGetSampleRate), 48000);
  EXPECT_EQ(Relayed(mHost, audioMasterGetBlockSize), 256);
}

TEST_F(VstHostCallbacks, WantMidiAndIOChangedAreCounted) {
  mHost.ClearRecord();
  EXPECT_EQ(Relayed(mHost, audioMasterWantMidi), 1);
  EXPECT_EQ(Relayed(mHost, audioMasterIOChanged), 1);
  EXPECT_EQ(Relayed(mHost, audioMasterIOChanged), 1);
  const HostRecord record = mHost.Record();
  EXPECT_EQ(record.wantMidiCalls, 1);
  EXPECT_EQ(record.ioChangedCalls, 2);
}

TEST_F(VstHostCallbacks, UnhandledOpcodesAnswerZeroButAreRecorded) {
  mHost.ClearRecord();
  EXPECT_EQ(Relayed(mHost, 5, 3, 9), 0);
  EXPECT_EQ(Relayed(mHost, audioMasterSizeWindow, 100, 200), 0);
  EXPECT_EQ(Relayed(mHost, 9999), 0);
  const HostRecord record = mHost.Record();
  ASSERT_EQ(record.calls.size(), 3u);
  EXPECT_EQ(record.calls[0].opcode, 5);
  EXPECT_EQ(record.calls[0].index, 3);
  EXPECT_EQ(record.calls[0].value, 9);
}

TEST(VstHostCallback, TwoHostsKeepTheirOwnAnswersAndRecords) {
  VstHost first;
  VstHost second;
  first.SetProductString("first");
  second.SetProductString("second");
  ASSERT_TRUE(first.Load(probe::ModulePath())) << first.LastError();
  ASSERT_TRUE(second.Load(probe::ModulePath())) << second.LastError();
  first.ClearRecord();
  second.ClearRecord();
  char text[256] = {};
  Relayed(second, audioMasterGetProductString, 0, 0, text);
  EXPECT_STREQ(text, "second");
  Relayed(first, audioMasterGetProductString, 0, 0, text);
  EXPECT_STREQ(text, "first");
  Ask(first, probe::kUpdateDisplay);
  EXPECT_EQ(first.Record().updateDisplays, 1);
  EXPECT_EQ(second.Record().updateDisplays, 0);
}

TEST_F(VstHostCallbacks, WithRecordingOffCallsAreAnsweredButNotKept) {
  mHost.ClearRecord();
  mHost.SetRecording(false);
  EXPECT_EQ(Ask(mHost, probe::kEditGesture, 2, nullptr, 0.5f), 1);
  EXPECT_EQ(Ask(mHost, probe::kSendEvents), 1);
  EXPECT_EQ(Ask(mHost, probe::kUpdateDisplay), 1);
  EXPECT_EQ(Relayed(mHost, audioMasterVersion), 2400);
  const HostRecord quiet = mHost.Record();
  EXPECT_TRUE(quiet.calls.empty());
  EXPECT_TRUE(quiet.automations.empty());
  EXPECT_TRUE(quiet.events.empty());
  EXPECT_EQ(quiet.updateDisplays, 0);
  mHost.SetRecording(true);
  Ask(mHost, probe::kUpdateDisplay);
  EXPECT_EQ(mHost.Record().updateDisplays, 1);
}
