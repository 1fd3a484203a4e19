#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/tools/TestFiles.h"
#include "tools/brelvane/PendingFile.h"
#include "tools/brelvane/PluginLocator.h"
#include "tools/brelvane/RenderSummary.h"

#include <cmath>
#include <limits>
#include <sstream>

namespace brel::cmd {
namespace {

using test::TempDir;

std::string Text(const std::string& path) {
  std::vector<std::uint8_t> b = test::ReadBytes(path);
  return std::string(b.begin(), b.end());
}

TEST(PendingFile, LeavesTheTargetAloneUntilCommitted) {
  TempDir dir;
  std::string target = dir.File("out.wav");
  test::WriteText(target, "old");
  PendingFile file(target);
  std::string error;
  ASSERT_TRUE(file.Create(error)) << error;
  ASSERT_TRUE(file.WriteAll("new", 3, error));
  EXPECT_EQ(Text(target), "old");
  EXPECT_EQ(dir.Entries().size(), 2u);
  ASSERT_TRUE(file.Commit(error)) << error;
  EXPECT_EQ(Text(target), "new");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.wav"});
}

TEST(PendingFile, RemovesItsTemporaryWhenNotCommitted) {
  TempDir dir;
  std::string target = dir.File("out.wav");
  test::WriteText(target, "old");
  {
    PendingFile file(target);
    std::string error;
    ASSERT_TRUE(file.Create(error));
    file.WriteAll("partial", 7, error);
  }
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.wav"});
  EXPECT_EQ(Text(target), "old");
  PendingFile discarded(dir.File("new.wav"));
  std::string error;
  ASSERT_TRUE(discarded.Create(error));
  discarded.Discard();
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.wav"});
}

TEST(PendingFile, KeepsTheTargetsPermissionsAndGivesNewFilesTheUsualOnes) {
  TempDir dir;
  std::string target = dir.File("kept.wav");
  test::WriteText(target, "old");
  ::chmod(target.c_str(), 0640);
  PendingFile file(target);
  std::string error;
  ASSERT_TRUE(file.Create(error));
  ASSERT_TRUE(file.Commit(error));
  struct stat st {};
  ::stat(target.c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  mode_t mask = ::umask(022);
  PendingFile fresh(dir.File("fresh.wav"));
  ASSERT_TRUE(fresh.Create(error));
  ASSERT_TRUE(fresh.Commit(error));
  ::umask(mask);
  ::stat(dir.File("fresh.wav").c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST(PendingFile, RefusesDirectoriesAndMissingFolders) {
  TempDir dir;
  std::string error;
  PendingFile intoDir(dir.Path());
  EXPECT_FALSE(intoDir.Create(error));
  EXPECT_EQ(error, "cannot write '" + dir.Path() + "': it is a directory");
  PendingFile nowhere(dir.File("no/such/folder.wav"));
  EXPECT_FALSE(nowhere.Create(error));
  EXPECT_EQ(error, "cannot write '" + dir.File("no/such/folder.wav") + "': No such file or directory");
}

TEST(PluginLocator, TheOptionWinsOverTheDefaults) {
  std::string path, error;
  ASSERT_TRUE(LocatePlugin("/any/where.so", "/bin", path, error));
  EXPECT_EQ(path, "/any/where.so");
}

TEST(PluginLocator, TheOptionLosesTheTrailingSlashesOfAFolder) {
  const std::pair<const char*, const char*> spellings[] = {{"Brelvane.vst3/", "Brelvane.vst3"},
                                                           {"Brelvane.vst3//", "Brelvane.vst3"},
                                                           {"./Brelvane.vst3/", "./Brelvane.vst3"},
                                                           {"/x/Brelvane.so", "/x/Brelvane.so"},
                                                           {"/", "/"},
                                                           {"//", "/"}};
  for (const auto& [typed, meant] : spellings) {
    std::string path, error;
    ASSERT_TRUE(LocatePlugin(typed, "/bin", path, error)) << typed;
    EXPECT_EQ(path, meant);
  }
}

TEST(PluginLocator, LooksNextToTheExecutableThenInTheBuildTreeThenWhereAnInstallPutsIt) {
  TempDir dir;
  const char* const folders[] = {"bin", "adapters", "adapters/vst2", "modules",  "modules/vst2",
                                 "lib", "lib/vst",  "home",          "home/.vst"};
  for (const char* d : folders) ::mkdir(dir.File(d).c_str(), 0755);
  const std::string home = dir.File("home");
  std::string path, error;
  EXPECT_FALSE(LocatePlugin("", dir.File("bin"), home, path, error));
  EXPECT_EQ(error, "cannot find the plug-in (looked for " + dir.File("bin/Brelvane.so") + ", " +
                       dir.File("bin/../adapters/vst2/Brelvane.so") + ", " +
                       dir.File("bin/../modules/vst2/Brelvane.so") + ", " +
                       dir.File("bin/../lib/vst/Brelvane.so") + " and " + dir.File("home/.vst/Brelvane.so") +
                       "); name it with --plugin PATH");
  // Each one found wins over those after it.
  const char* const modules[] = {"home/.vst/Brelvane.so", "lib/vst/Brelvane.so", "modules/vst2/Brelvane.so",
                                 "adapters/vst2/Brelvane.so", "bin/Brelvane.so"};
  const char* const foundAs[] = {"home/.vst/Brelvane.so", "bin/../lib/vst/Brelvane.so",
                                 "bin/../modules/vst2/Brelvane.so", "bin/../adapters/vst2/Brelvane.so",
                                 "bin/Brelvane.so"};
  for (int i = 0; i < 5; ++i) {
    test::WriteText(dir.File(modules[i]), "");
    ASSERT_TRUE(LocatePlugin("", dir.File("bin"), home, path, error));
    EXPECT_EQ(path, dir.File(foundAs[i]));
  }
  for (const char* f : modules) ::unlink(dir.File(f).c_str());
  for (int i = 8; i >= 0; --i) ::rmdir(dir.File(folders[i]).c_str());
}

// A VST3 or LV2 bundle is a folder, of the kind's name in each place: modules/vst3 or modules/lv2
// in the build tree, lib/vst3 or lib/lv2 installed, ~/.vst3 or ~/.lv2.
TEST(PluginLocator, ABundleIsAFolderFoundNextToTheExecutableInTheBuildTreeOrWhereAnInstallPutsIt) {
  for (const auto& [api, kind] : {std::pair(PluginApi::Vst3, "vst3"), std::pair(PluginApi::Lv2, "lv2")}) {
    TempDir dir;
    const std::string name = std::string("Brelvane.") + kind, home = dir.File("home");
    const std::string user = "home/." + std::string(kind), built = "modules/" + std::string(kind);
    for (const std::string& d : {std::string("bin"), std::string("home"), user, user + "/" + name})
      ::mkdir(dir.File(d).c_str(), 0755);
    test::WriteText(dir.File("bin/" + name), "");  // a file of that name is no bundle
    std::string path, error;
    ASSERT_TRUE(LocatePlugin("", dir.File("bin"), home, path, error, api)) << error;
    EXPECT_EQ(path, dir.File(user + "/" + name));
    for (const std::string& d : {std::string("modules"), built, built + "/" + name})
      ::mkdir(dir.File(d).c_str(), 0755);
    ASSERT_TRUE(LocatePlugin("", dir.File("bin"), home, path, error, api)) << error;
    EXPECT_EQ(path, dir.File("bin/../" + built + "/" + name));
    ::unlink(dir.File("bin/" + name).c_str());
    for (const std::string& d : {built + "/" + name, built, std::string("modules"), user + "/" + name, user,
                                 std::string("home"), std::string("bin")})
      ::rmdir(dir.File(d).c_str());
    EXPECT_FALSE(LocatePlugin("", dir.File("bin"), path, error, api));
    EXPECT_EQ(error, "cannot find the plug-in (looked for " + dir.File("bin/" + name) + ", " +
                         dir.File("bin/../" + built + "/" + name) + " and " +
                         dir.File("bin/../lib/" + std::string(kind) + "/" + name) +
                         "); name it with --plugin PATH");
  }
}

TEST(PluginLocator, AnApiGivenWithAPathMustFitIt) {
  std::string path, error;
  EXPECT_TRUE(IsVst3Bundle("/x/Brelvane.vst3/"));
  EXPECT_FALSE(IsVst3Bundle("/x/Brelvane.so"));
  EXPECT_FALSE(IsVst3Bundle(".vst3"));
  ASSERT_TRUE(LocatePlugin("/x/Brelvane.vst3", "/bin", path, error, PluginApi::Vst3));
  EXPECT_FALSE(LocatePlugin("/x/Brelvane.so", "/bin", path, error, PluginApi::Vst3));
  EXPECT_EQ(error, "--api vst3 needs a VST3 bundle (a folder NAME.vst3), not '/x/Brelvane.so'");
  EXPECT_FALSE(LocatePlugin("/x/Brelvane.vst3", "/bin", path, error, PluginApi::Vst2));
  EXPECT_EQ(error, "--api vst2 needs a VST2 module, not the VST3 bundle '/x/Brelvane.vst3'");
  EXPECT_EQ(ApiOfPath("/x/Brelvane.clap"), PluginApi::Clap);
  ASSERT_TRUE(LocatePlugin("/x/Brelvane.clap", "/bin", path, error, PluginApi::Clap));
  EXPECT_FALSE(LocatePlugin("/x/Brelvane.clap", "/bin", path, error, PluginApi::Vst3));
  EXPECT_EQ(error,
            "--api vst3 needs a VST3 bundle (a folder NAME.vst3), not the CLAP module '/x/Brelvane.clap'");
  ASSERT_TRUE(LocatePlugin("/x/Brelvane.lv2/", "/bin", path, error, PluginApi::Lv2));
  EXPECT_EQ(path, "/x/Brelvane.lv2");
  EXPECT_FALSE(LocatePlugin("/x/Brelvane.so", "/bin", path, error, PluginApi::Lv2));
  EXPECT_EQ(error, "--api lv2 needs an LV2 bundle (a folder NAME.lv2), not '/x/Brelvane.so'");
  EXPECT_FALSE(LocatePlugin("/x/Brelvane.lv2", "/bin", path, error, PluginApi::Clap));
  EXPECT_EQ(error, "--api clap needs a CLAP module (a file NAME.clap), not the LV2 bundle '/x/Brelvane.lv2'");
}

TEST(RenderSummary, LevelsAndSpeedReadCleanly) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(FormatLevel(-3.2149), "-3.21");
  EXPECT_EQ(FormatLevel(-inf), "-inf");
  EXPECT_EQ(FormatLevel(std::nan("")), "n/a");
  EXPECT_EQ(FormatRealtimeFactor(10.0, 0.125), "80.0x");
  EXPECT_EQ(FormatRealtimeFactor(10.0, 0.0), "n/a");
}

TEST(RenderSummary, ListsDurationRateLevelsAndSpeed) {
  RenderSummary s;
  s.frames = 96000;
  s.sampleRate = 48000;
  s.channels = 2;
  s.inputFormat = "WAV pcm24";
  s.outputFormat = "FLAC pcm16";
  s.input = {-6.0206, -23.01};
  s.output = {-0.5, -std::numeric_limits<double>::infinity()};
  s.renderSeconds = 0.5;
  std::ostringstream out;
  PrintSummary(s, out);
  EXPECT_EQ(out.str(),
            "duration      2.000 s (96000 frames, stereo)\n"
            "sample rate   48000 Hz\n"
            "input         peak   -6.02 dBFS   loudness  -23.01 LUFS   (WAV pcm24)\n"
            "output        peak   -0.50 dBFS   loudness    -inf LUFS   (FLAC pcm16)\n"
            "delay         unknown (the plug-in does not tell it), not compensated\n"
            "realtime      4.0x (rendered in 0.500 s)\n");
}

}  // namespace
}  // namespace brel::cmd
