// Loading a module, finding its entry, and the failures a host must report instead of crashing.
#include "tests/hosts/vst2/ProbeFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

using brel::VstHost;

TEST(VstHostLoading, LoadsTheModuleThroughVSTPluginMainAndReadsItsRecord) {
  VstHost host;
  ASSERT_TRUE(host.Load(probe::ModulePath())) << host.LastError();
  EXPECT_TRUE(host.IsLoaded());
  EXPECT_TRUE(host.LastError().empty());
  EXPECT_EQ(host.EntryName(), "VSTPluginMain");
  EXPECT_EQ(host.NumParams(), probe::kNumParams);
  EXPECT_EQ(host.NumPrograms(), probe::kNumPrograms);
  EXPECT_EQ(host.NumInputs(), 2);
  EXPECT_EQ(host.NumOutputs(), 2);
  EXPECT_EQ(host.UniqueId(), probe::kUniqueId);
  EXPECT_EQ(host.Version(), probe::kVersion);
  EXPECT_EQ(host.Flags() & effFlagsCanDoubleReplacing, effFlagsCanDoubleReplacing);
  ASSERT_NE(host.Effect(), nullptr);
  EXPECT_EQ(host.Effect()->magic, kEffectMagic);
}

TEST(VstHostLoading, FallsBackToMainWhenVSTPluginMainIsMissing) {
  VstHost host;
  ASSERT_TRUE(host.Load(probe::MainOnlyModulePath())) << host.LastError();
  EXPECT_EQ(host.EntryName(), "main");
  EXPECT_EQ(host.UniqueId(), probe::kUniqueId);
}

TEST(VstHostLoading, ReportsAMissingModuleByName) {
  VstHost host;
  const std::string path = probe::ModulePath() + ".missing";
  EXPECT_FALSE(host.Load(path));
  EXPECT_FALSE(host.IsLoaded());
  EXPECT_NE(host.LastError().find(path), std::string::npos) << host.LastError();
  EXPECT_NE(host.LastError().find("cannot load"), std::string::npos) << host.LastError();
}

TEST(VstHostLoading, ReportsAnEmptyPath) {
  VstHost host;
  EXPECT_FALSE(host.Load(""));
  EXPECT_FALSE(host.LastError().empty());
}

// The system's loader maps a module as its headers say, so a file cut short (an interrupted copy)
// would end the process once a missing page is touched: it is refused before the loader sees it.
TEST(VstHostLoading, RefusesAFileThatIsNoWholeModuleBeforeTheLoaderMapsIt) {
  namespace fs = std::filesystem;
  const fs::path module = probe::ModulePath();
  const fs::path cut = module.parent_path() / ("cut_" + module.filename().string());
  const fs::path text = module.parent_path() / ("text_" + module.filename().string());
  fs::copy_file(module, cut, fs::copy_options::overwrite_existing);
  fs::resize_file(cut, 4096);  // past the headers, short of the code
  std::ofstream(text) << "not a module\n";
  const std::pair<fs::path, std::string> cases[] = {
      {cut, "the file is cut short: its "},
      {text, "the file is not a "},
      {module.parent_path(), "the file is a directory"},
  };
  for (const auto& [path, says] : cases) {
    VstHost host;
    EXPECT_FALSE(host.Load(path.string()));
    EXPECT_FALSE(host.IsLoaded());
    EXPECT_NE(host.LastError().find("cannot load module '" + path.string() + "': " + says), std::string::npos)
        << host.LastError();
  }
  VstHost host;
  host.Load(cut.string());
  EXPECT_NE(host.LastError().find(" bytes but the file holds 4096"), std::string::npos) << host.LastError();
  fs::remove(cut);
  fs::remove(text);
}

TEST(VstHostLoading, ReportsAModuleWithoutEntryPoint) {
  VstHost host;
  EXPECT_FALSE(host.Load(probe::NoEntryModulePath()));
  EXPECT_FALSE(host.IsLoaded());
  EXPECT_NE(host.LastError().find("neither VSTPluginMain nor main"), std::string::npos) << host.LastError();
  EXPECT_TRUE(host.EntryName().empty());
}

TEST(VstHostLoading, ReportsAnEntryPointThatReturnsNoPlugin) {
  VstHost host;
  host.SetProductString(probe::kRefuseProduct);
  EXPECT_FALSE(host.Load(probe::ModulePath()));
  EXPECT_FALSE(host.IsLoaded());
  EXPECT_NE(host.LastError().find("returned no plug-in"), std::string::npos) << host.LastError();
  EXPECT_NE(host.LastError().find("VSTPluginMain"), std::string::npos) << host.LastError();
}

TEST(VstHostLoading, RefusesARecordWithTheWrongMagicWithoutCallingIt) {
  VstHost host;
  host.SetProductString(probe::kBadMagicProduct);
  EXPECT_FALSE(host.Load(probe::ModulePath()));
  EXPECT_FALSE(host.IsLoaded());
  EXPECT_NE(host.LastError().find("magic"), std::string::npos) << host.LastError();
  EXPECT_NE(host.LastError().find("0x12345678"), std::string::npos) << host.LastError();
  // The record has no dispatcher: anything the host still tried would crash here.
  host.Unload();
}

TEST(VstHostLoading, AFailedLoadLeavesTheHostUsableForTheNextLoad) {
  VstHost host;
  ASSERT_FALSE(host.Load(probe::NoEntryModulePath()));
  ASSERT_TRUE(host.Load(probe::ModulePath())) << host.LastError();
  EXPECT_TRUE(host.LastError().empty());
  EXPECT_EQ(host.UniqueId(), probe::kUniqueId);
}

TEST(VstHostLoading, EveryCallAnswersNeutrallyWithoutAPlugin) {
  VstHost host;
  EXPECT_FALSE(host.IsLoaded());
  EXPECT_EQ(host.Effect(), nullptr);
  EXPECT_EQ(host.Open(), 0);
  EXPECT_EQ(host.NumParams(), 0);
  EXPECT_EQ(host.NumInputs(), 0);
  EXPECT_EQ(host.Flags(), 0);
  EXPECT_FALSE(host.SetSampleRate(48000.0f));
  EXPECT_FALSE(host.SetBlockSize(256));
  EXPECT_FALSE(host.Resume());
  EXPECT_FALSE(host.Suspend());
  EXPECT_EQ(host.ParamName(0), "");
  EXPECT_EQ(host.ParamDisplay(0), "");
  EXPECT_EQ(host.GetParameter(0), 0.0f);
  host.SetParameter(0, 1.0f);
  EXPECT_FALSE(host.String2Parameter(0, "1"));
  EXPECT_TRUE(host.GetChunk(VstHost::ChunkKind::Program).empty());
  EXPECT_FALSE(host.SetChunk(VstHost::ChunkKind::Bank, std::vector<uint8_t>(4, 1)));
  EXPECT_EQ(host.CanDo("probeYes"), 0);
  EXPECT_EQ(host.Dispatch(effGetVstVersion), 0);
  VstPinProperties pin;
  EXPECT_FALSE(host.InputProperties(0, pin));
  VstSpeakerArrangement in, out;
  EXPECT_FALSE(host.GetSpeakerArrangement(in, out));
  ERect rect;
  EXPECT_FALSE(host.EditorRect(rect));
  float* none[2] = {nullptr, nullptr};
  EXPECT_FALSE(host.ProcessReplacing(none, none, 0));
  EXPECT_EQ(host.SendEvents({}), 0);
  host.Close();
  host.Unload();
}

TEST(VstHostLoading, CloseDestroysThePluginAndLaterCallsDoNotReachIt) {
  probe::ModuleCounters counters;
  VstHost host;
  ASSERT_TRUE(host.Load(probe::ModulePath())) << host.LastError();
  const int alive = counters.LiveInstances();
  EXPECT_GE(alive, 1);
  host.Close();
  EXPECT_EQ(counters.LiveInstances(), alive - 1);
  EXPECT_FALSE(host.IsLoaded());
  EXPECT_EQ(host.VstVersion(), 0);
  EXPECT_EQ(host.NumParams(), 0);
  host.Close();  // a second close is harmless
  EXPECT_EQ(counters.LiveInstances(), alive - 1);
}

TEST(VstHostLoading, DispatchingEffCloseClosesThroughTheHost) {
  probe::ModuleCounters counters;
  VstHost host;
  ASSERT_TRUE(host.Load(probe::ModulePath())) << host.LastError();
  const int alive = counters.LiveInstances();
  EXPECT_EQ(host.Dispatch(effClose), 0);
  EXPECT_FALSE(host.IsLoaded());
  EXPECT_EQ(counters.LiveInstances(), alive - 1);
}

TEST(VstHostLoading, DestroyingTheHostClosesThePlugin) {
  probe::ModuleCounters counters;
  const int before = counters.LiveInstances();
  {
    VstHost host;
    ASSERT_TRUE(host.Load(probe::ModulePath())) << host.LastError();
    EXPECT_EQ(counters.LiveInstances(), before + 1);
  }
  EXPECT_EQ(counters.LiveInstances(), before);
}

TEST(VstHostLoading, ClosingAResumedPluginSuspendsItFirst) {
  probe::ModuleCounters counters;
  const int before = counters.ClosedWhileResumed();
  VstHost host;
  ASSERT_TRUE(host.Load(probe::ModulePath())) << host.LastError();
  host.Open();
  ASSERT_TRUE(host.Resume());
  EXPECT_TRUE(host.IsResumed());
  host.Close();
  EXPECT_FALSE(host.IsResumed());
  EXPECT_EQ(counters.ClosedWhileResumed(), before);
}

TEST(VstHostLoading, LoadingAgainClosesThePreviousPlugin) {
  probe::ModuleCounters counters;
  const int before = counters.LiveInstances();
  VstHost host;
  ASSERT_TRUE(host.Load(probe::ModulePath())) << host.LastError();
  ASSERT_TRUE(host.Load(probe::ModulePath())) << host.LastError();
  EXPECT_EQ(counters.LiveInstances(), before + 1);
}
