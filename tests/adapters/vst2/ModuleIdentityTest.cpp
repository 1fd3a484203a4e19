// Who the module says it is: the record a host reads after the entry call, the identity opcodes,
// its capabilities, and the answers a host gets while the plug-in has no editor.
#include <gtest/gtest.h>

#include <cstring>

#include "core/FourCC.h"
#include "hosts/module/LoadedModule.h"
#include "tests/adapters/vst2/ModuleFixture.h"

using brel::VstHost;
using vst2test::PluginTest;

namespace {

constexpr VstInt32 kQvel = FourCC('Q', 'v', 'e', 'l');
constexpr VstInt32 kDecimalVersion = 162825454;

class ModuleIdentity : public PluginTest {};

}  // namespace

TEST(ModuleEntry, HostFindsVSTPluginMainFirst) {
  VstHost host;
  ASSERT_TRUE(host.Load(vst2test::ModulePath())) << host.LastError();
  EXPECT_EQ(host.EntryName(), "VSTPluginMain");
}

TEST(ModuleEntry, LegacyMainMakesAnIndependentInstanceOfTheSamePlugin) {
  brel::LoadedModule module;
  std::string error;
  ASSERT_TRUE(module.Open(vst2test::ModulePath(), error)) << error;
  auto legacy = reinterpret_cast<VstEntryProc>(module.Find("main"));
  auto current = reinterpret_cast<VstEntryProc>(module.Find("VSTPluginMain"));
  ASSERT_NE(legacy, nullptr);
  ASSERT_NE(current, nullptr);
  AEffect* a = legacy(&VstHost::HostCallback);
  AEffect* b = current(&VstHost::HostCallback);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_NE(a->object, b->object);
  EXPECT_EQ(a->magic, kEffectMagic);
  EXPECT_EQ(a->uniqueID, b->uniqueID);
  EXPECT_EQ(a->numParams, b->numParams);
  EXPECT_EQ(a->flags, b->flags);
  EXPECT_EQ(a->dispatcher(a, effClose, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(b->dispatcher(b, effClose, 0, 0, nullptr, 0.0f), 0);
}

TEST(ModuleEntry, TheModuleExportsNothingButItsTwoEntryPoints) {
  brel::LoadedModule module;
  std::string error;
  ASSERT_TRUE(module.Open(vst2test::ModulePath(), error)) << error;
  for (const char* name : {"MakePlug", "InitDll", "GetPluginFactory", "CreateInstance"})
    EXPECT_EQ(module.Find(name), nullptr) << name;
}

TEST_F(ModuleIdentity, RecordCarriesTheIdentityAndChannelCounts) {
  const AEffect* effect = mHost.Effect();
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->magic, kEffectMagic);
  EXPECT_EQ(effect->numParams, 11);
  EXPECT_EQ(effect->numPrograms, 1);
  EXPECT_EQ(effect->numInputs, 2);
  EXPECT_EQ(effect->numOutputs, 2);
  EXPECT_EQ(effect->uniqueID, kQvel);
  EXPECT_EQ(effect->version, kDecimalVersion);
  EXPECT_EQ(effect->initialDelay, 0);
  EXPECT_EQ(effect->ioRatio, 1.0f);
  EXPECT_NE(effect->object, nullptr);
}

TEST_F(ModuleIdentity, RecordOffersEveryCallback) {
  const AEffect* effect = mHost.Effect();
  EXPECT_NE(effect->dispatcher, nullptr);
  EXPECT_NE(effect->process, nullptr);
  EXPECT_NE(effect->processReplacing, nullptr);
  EXPECT_NE(effect->processDoubleReplacing, nullptr);
  EXPECT_NE(effect->setParameter, nullptr);
  EXPECT_NE(effect->getParameter, nullptr);
}

// The editor flag is set where the editor has a window host (Win32 and X11 both have one).
TEST_F(ModuleIdentity, FlagsSayReplacingDoubleReplacingAndMonoWithoutChunkFlag) {
  EXPECT_EQ(mHost.Flags(), BREL_EXPECT_EDITOR_WINDOW ? 0x1019 : 0x1018);
  EXPECT_EQ(mHost.Flags() & effFlagsHasEditor, BREL_EXPECT_EDITOR_WINDOW ? effFlagsHasEditor : 0);
  EXPECT_EQ(mHost.Flags() & effFlagsProgramChunks, 0);
  EXPECT_EQ(mHost.Flags() & effFlagsIsSynth, 0);
}

TEST_F(ModuleIdentity, NamesTheEffectAndVendorWithAnEmptyProduct) {
  EXPECT_EQ(mHost.EffectName(), "Brelvane");
  EXPECT_EQ(mHost.VendorString(), "Orrindale");
  EXPECT_EQ(mHost.ProductString(), "");
  char text[64];
  std::memset(text, 'x', sizeof(text));
  EXPECT_EQ(mHost.Dispatch(effGetEffectName, 0, 0, text), 1);
  EXPECT_EQ(mHost.Dispatch(effGetVendorString, 0, 0, text), 1);
  std::memset(text, 'x', sizeof(text));
  EXPECT_EQ(mHost.Dispatch(effGetProductString, 0, 0, text), 1);
  EXPECT_EQ(text[0], '\0');
}

TEST_F(ModuleIdentity, VersionsAndIdentifierAreTheFixedNumbers) {
  EXPECT_EQ(mHost.VendorVersion(), kDecimalVersion);
  EXPECT_EQ(mHost.VstVersion(), 2400);
  EXPECT_EQ(mHost.Dispatch(effIdentify), 0x4E764566);  // 'NvEf'
}

TEST_F(ModuleIdentity, IsAnEffectWithoutTail) {
  EXPECT_EQ(mHost.PlugCategory(), kPlugCategEffect);
  EXPECT_EQ(mHost.TailSize(), 0);
}

TEST_F(ModuleIdentity, EditorOpcodesAnswerAsWithoutAnEditorWhereNoWindowCanOpen) {
  ERect* rect = reinterpret_cast<ERect*>(0x1234);
  if (BREL_EXPECT_EDITOR_WINDOW) {
    ASSERT_EQ(mHost.Dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 416);
    EXPECT_EQ(rect->right, 904);
  } else {
    EXPECT_EQ(mHost.Dispatch(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect, reinterpret_cast<ERect*>(0x1234));
  }
  // Without a parent window no editor window can open, on any platform.
  EXPECT_EQ(mHost.Dispatch(effEditOpen, 0, 0, nullptr), 0);
  EXPECT_EQ(mHost.Dispatch(effEditClose), BREL_EXPECT_EDITOR_WINDOW ? 1 : 0);
  EXPECT_EQ(mHost.Dispatch(effEditIdle), 0);
}

TEST_F(ModuleIdentity, CanDoAnswersOnlyTimeInfoExactly) {
  EXPECT_EQ(mHost.CanDo("receiveVstTimeInfo"), 1);
  for (const char* midi : {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent"})
    EXPECT_EQ(mHost.CanDo(midi), 0) << midi;
  for (const char* other : {"ReceiveVstTimeInfo", "receiveVstTimeInfo ", "receiveVstTime", "", "bypass",
                            "offline", "plugAsChannelInsert", "1in1out", "2in2out"})
    EXPECT_EQ(mHost.CanDo(other), 0) << "'" << other << "'";
  EXPECT_EQ(mHost.Dispatch(effCanDo, 0, 0, nullptr), 0);
}

TEST_F(ModuleIdentity, EveryParameterCanBeAutomated) {
  for (int i = 0; i < vst2test::kNumParams; ++i) EXPECT_TRUE(mHost.CanBeAutomated(i)) << i;
}

TEST_F(ModuleIdentity, ReportsStereoArrangementsOnBothSides) {
  VstSpeakerArrangement in{}, out{};
  ASSERT_TRUE(mHost.GetSpeakerArrangement(in, out));
  EXPECT_EQ(in.type, kSpeakerArrStereo);
  EXPECT_EQ(in.numChannels, 2);
  EXPECT_EQ(out.type, kSpeakerArrStereo);
  EXPECT_EQ(out.numChannels, 2);
}

TEST_F(ModuleIdentity, PinsAreOneStereoPairPerSide) {
  VstPinProperties pin{};
  ASSERT_TRUE(mHost.InputProperties(0, pin));
  EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
  EXPECT_STREQ(pin.label, "Input 1");
  ASSERT_TRUE(mHost.InputProperties(1, pin));
  EXPECT_EQ(pin.flags, kVstPinIsActive);
  EXPECT_STREQ(pin.label, "Input 2");
  ASSERT_TRUE(mHost.OutputProperties(0, pin));
  EXPECT_EQ(pin.flags, 3);
  EXPECT_STREQ(pin.label, "Output 1");
  ASSERT_TRUE(mHost.OutputProperties(1, pin));
  EXPECT_EQ(pin.flags, 1);
  EXPECT_STREQ(pin.label, "Output 2");
}

TEST_F(ModuleIdentity, PinsBeyondTheChannelsAreRefusedUntouched) {
  for (VstInt32 index : {2, 3, -1, 0x7FFFFFFF, -0x7FFFFFFF - 1}) {
    VstPinProperties pin;
    std::memset(&pin, 0x5A, sizeof(pin));
    EXPECT_EQ(mHost.Dispatch(effGetInputProperties, index, 0, &pin), 0) << index;
    EXPECT_EQ(mHost.Dispatch(effGetOutputProperties, index, 0, &pin), 0) << index;
    EXPECT_EQ(static_cast<unsigned char>(pin.label[0]), 0x5A) << index;
    EXPECT_EQ(pin.flags, 0x5A5A5A5A) << index;
  }
}

TEST_F(ModuleIdentity, VendorSpecific7FormatsANormalizedValueWithoutChangingTheParameter) {
  const float before = mHost.GetParameter(0);
  char text[64] = {};
  EXPECT_EQ(mHost.VendorSpecific(7, 0, text, 0.5f), 0xBEEF);
  EXPECT_STREQ(text, "10.00");  // "Pres Comp" halfway between -5 and 25
  EXPECT_EQ(mHost.GetParameter(0), before);
  EXPECT_EQ(mHost.ParamDisplay(0), "12.50");

  EXPECT_EQ(mHost.VendorSpecific(7, 8, text, 0.5f), 0xBEEF);
  EXPECT_STREQ(text, "B");  // "Mode" 2
  EXPECT_EQ(mHost.VendorSpecific(7, 7, text, 0.0f), 0xBEEF);
  EXPECT_STREQ(text, "off");  // "Power"
  EXPECT_EQ(mHost.VendorSpecific(7, 1, text, 1.0f), 0xBEEF);
  EXPECT_STREQ(text, "300.00");  // "LowCut" at its top
}

TEST_F(ModuleIdentity, VendorSpecific7OutOfRangeAnswersBeefAndWritesNothing) {
  // 2^32 would be parameter 0 if the value were cut to 32 bits on its way in.
  for (VstIntPtr index : {VstIntPtr(11), VstIntPtr(-1), VstIntPtr(1000), VstIntPtr(1) << 32}) {
    char text[64];
    std::memset(text, 'x', sizeof(text));
    EXPECT_EQ(mHost.VendorSpecific(7, index, text, 0.5f), 0xBEEF) << index;
    EXPECT_EQ(text[0], 'x') << index;
  }
  EXPECT_EQ(mHost.VendorSpecific(7, 0, nullptr, 0.5f), 0);
}

TEST_F(ModuleIdentity, VendorSpecific8TellsSteppedParametersFromContinuousOnes) {
  for (int i = 0; i <= 6; ++i) EXPECT_EQ(mHost.VendorSpecific(8, i, nullptr, 0.0f), 0) << i;
  for (int i = 7; i <= 10; ++i) EXPECT_EQ(mHost.VendorSpecific(8, i, nullptr, 0.0f), 0xBEEF) << i;
  EXPECT_EQ(mHost.VendorSpecific(8, 11, nullptr, 0.0f), 0);
  EXPECT_EQ(mHost.VendorSpecific(8, -1, nullptr, 0.0f), 0);
}

TEST_F(ModuleIdentity, OtherVendorSpecificRequestsAnswerZero) {
  char text[64] = {};
  for (VstInt32 index : {0, 1, 6, 9, 0x73744341})
    EXPECT_EQ(mHost.VendorSpecific(index, 0, text, 0.5f), 0) << index;
  EXPECT_EQ(text[0], '\0');
}

TEST_F(ModuleIdentity, MidiKeyNamesAreNotOfferedAndTheNameIsCleared) {
  MidiKeyName key{};
  key.thisKeyNumber = 60;
  std::strcpy(key.keyName, "stale");
  EXPECT_EQ(mHost.Dispatch(effGetMidiKeyName, 0, 0, &key), 0);
  EXPECT_STREQ(key.keyName, "");
}

TEST_F(ModuleIdentity, UnhandledOpcodesAnswerZeroAndChangeNothing) {
  const std::vector<double> before = vst2test::ProgramValues(mHost);
  char scratch[512] = {};
  for (VstInt32 opcode :
       {9,  16, 17, 18, 20, 21, 28, 30, 31, 32, 36, 37, 41, 43, 44, 46, 53, 54, 55, 56,  57, 59,
        60, 61, 62, 63, 64, 65, 67, 68, 70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 200, -1}) {
    EXPECT_EQ(mHost.Dispatch(opcode, 0, 0, scratch, 0.0f), 0) << "opcode " << opcode;
  }
  EXPECT_EQ(vst2test::ProgramValues(mHost), before);
  EXPECT_EQ(mHost.EffectName(), "Brelvane");
}
