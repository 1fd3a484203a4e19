#include "tools/brelvane/CommandLine.h"
#include "tools/brelvane/HelpText.h"

#include <gtest/gtest.h>

namespace brel::cmd {
namespace {

CommandLine Parsed(const std::vector<std::string>& args) {
  CommandLine cl;
  std::string error;
  EXPECT_TRUE(ParseCommandLine(args, cl, error)) << error;
  return cl;
}

std::string Failure(const std::vector<std::string>& args) {
  CommandLine cl;
  std::string error;
  EXPECT_FALSE(ParseCommandLine(args, cl, error));
  EXPECT_EQ(error.find('\n'), std::string::npos) << "errors are one line";
  return error;
}

TEST(CommandLine, RenderTakesFilesAndEveryOption) {
  CommandLine cl = Parsed({"render", "in.wav", "out.flac", "--param", "Pres Comp=3", "--at", "4800:Mode=B",
                           "--load-state", "a.state", "--save-state", "b.state", "--block", "256", "--format",
                           "pcm24", "--plugin", "/x/Brelvane.so"});
  EXPECT_EQ(cl.command, Command::Render);
  EXPECT_EQ(cl.input, "in.wav");
  EXPECT_EQ(cl.output, "out.flac");
  ASSERT_EQ(cl.params.size(), 1u);
  EXPECT_EQ(cl.params[0].name, "Pres Comp");
  EXPECT_EQ(cl.params[0].value, "3");
  ASSERT_EQ(cl.changes.size(), 1u);
  EXPECT_EQ(cl.changes[0].frame, 4800u);
  EXPECT_EQ(cl.changes[0].assignment.name, "Mode");
  EXPECT_EQ(cl.changes[0].assignment.value, "B");
  EXPECT_EQ(cl.loadState, "a.state");
  EXPECT_EQ(cl.saveState, "b.state");
  EXPECT_EQ(cl.blockSize, 256);
  EXPECT_EQ(cl.format, SampleFormat::Pcm24);
  EXPECT_EQ(cl.plugin, "/x/Brelvane.so");
}

TEST(CommandLine, RenderDefaultsToBlocksOf512AndTheInputsFormat) {
  CommandLine cl = Parsed({"render", "a.wav", "b.wav"});
  EXPECT_EQ(cl.blockSize, 512);
  EXPECT_FALSE(cl.format.has_value());
  EXPECT_TRUE(cl.params.empty());
  EXPECT_TRUE(cl.loadState.empty());
}

TEST(CommandLine, OptionsMayComeAnywhereAndTakeInlineValues) {
  CommandLine cl = Parsed({"render", "--block=64", "a.wav", "--param=Bass=-3", "b.wav", "--format=double"});
  EXPECT_EQ(cl.input, "a.wav");
  EXPECT_EQ(cl.output, "b.wav");
  EXPECT_EQ(cl.blockSize, 64);
  EXPECT_EQ(cl.params[0].name, "Bass");
  EXPECT_EQ(cl.params[0].value, "-3");
  EXPECT_EQ(cl.format, SampleFormat::Double);
}

TEST(CommandLine, RepeatedAssignmentsKeepTheirOrderAndSplitAtTheFirstEquals) {
  CommandLine cl = Parsed({"render", "a.wav", "b.wav", "--param", "0=1", "--param", "0=2", "--at",
                           "10:Bass=1", "--at", "5:Bass=a=b"});
  ASSERT_EQ(cl.params.size(), 2u);
  EXPECT_EQ(cl.params[1].value, "2");
  ASSERT_EQ(cl.changes.size(), 2u);
  EXPECT_EQ(cl.changes[0].frame, 10u);
  EXPECT_EQ(cl.changes[1].frame, 5u);
  EXPECT_EQ(cl.changes[1].assignment.value, "a=b");
}

TEST(CommandLine, DoubleDashEndsTheOptions) {
  CommandLine cl = Parsed({"render", "--", "-in.wav", "--out.wav"});
  EXPECT_EQ(cl.input, "-in.wav");
  EXPECT_EQ(cl.output, "--out.wav");
}

TEST(CommandLine, HelpAndParams) {
  EXPECT_EQ(Parsed({"help"}).command, Command::Help);
  EXPECT_EQ(Parsed({"--help"}).command, Command::Help);
  EXPECT_EQ(Parsed({"-h"}).command, Command::Help);
  CommandLine cl = Parsed({"params", "--plugin", "p.so"});
  EXPECT_EQ(cl.command, Command::Params);
  EXPECT_EQ(cl.plugin, "p.so");
  EXPECT_NE(UsageText().find("brelvane render IN OUT"), std::string::npos);
}

TEST(CommandLine, TheApiNamesTheInterfaceForEitherCommand) {
  EXPECT_FALSE(Parsed({"params"}).api.has_value());
  EXPECT_EQ(Parsed({"params", "--api", "vst3"}).api, PluginApi::Vst3);
  EXPECT_EQ(Parsed({"render", "a.wav", "b.wav", "--api=vst2"}).api, PluginApi::Vst2);
  EXPECT_EQ(Failure({"params", "--api", "VST3"}), "--api must be vst2, vst3, clap or lv2, got 'VST3'");
  EXPECT_EQ(Parsed({"params", "--api", "clap"}).api, PluginApi::Clap);
  EXPECT_EQ(Parsed({"render", "a.wav", "b.wav", "--api", "lv2"}).api, PluginApi::Lv2);
}

TEST(CommandLine, RejectsMissingOrUnknownCommands) {
  EXPECT_NE(Failure({}).find("no command"), std::string::npos);
  EXPECT_NE(Failure({"mix"}).find("unknown command 'mix'"), std::string::npos);
}

TEST(CommandLine, RejectsUnknownOptionsAndOptionsOfTheOtherCommand) {
  EXPECT_NE(Failure({"render", "a.wav", "b.wav", "--gain", "3"}).find("unknown option '--gain'"),
            std::string::npos);
  EXPECT_NE(Failure({"render", "a.wav", "b.wav", "-x"}).find("'-x'"), std::string::npos);
  EXPECT_NE(Failure({"params", "--block", "64"}).find("--block is not an option of 'params'"),
            std::string::npos);
}

TEST(CommandLine, RejectsWrongFileCounts) {
  EXPECT_NE(Failure({"render", "a.wav"}).find("input and an output"), std::string::npos);
  EXPECT_NE(Failure({"render", "a.wav", "b.wav", "c.wav"}).find("unexpected argument 'c.wav'"),
            std::string::npos);
  EXPECT_NE(Failure({"params", "x"}).find("unexpected argument 'x'"), std::string::npos);
}

TEST(CommandLine, RejectsBadOptionValues) {
  EXPECT_NE(Failure({"render", "a.wav", "b.wav", "--block"}).find("--block needs a value"),
            std::string::npos);
  for (const char* bad : {"0", "65537", "-5", "12x", "", "99999999999999999999"})
    EXPECT_NE(Failure({"render", "a.wav", "b.wav", "--block", bad}).find("--block needs a whole number"),
              std::string::npos)
        << bad;
  EXPECT_EQ(Parsed({"render", "a.wav", "b.wav", "--block", "65536"}).blockSize, 65536);
  EXPECT_EQ(Parsed({"render", "a.wav", "b.wav", "--block", "1"}).blockSize, 1);
  EXPECT_NE(Failure({"render", "a.wav", "b.wav", "--format", "pcm32"}).find("--format must be"),
            std::string::npos);
  EXPECT_NE(Failure({"render", "a.wav", "b.wav", "--load-state="}).find("needs a file name"),
            std::string::npos);
}

TEST(CommandLine, WarmUpIsASecondUnlessSetAndAlignIsAFlag) {
  CommandLine cl = Parsed({"render", "a.wav", "b.wav"});
  EXPECT_EQ(cl.prerollSeconds, 1.0);
  EXPECT_FALSE(cl.align);
  cl = Parsed({"render", "a.wav", "--align", "b.wav", "--preroll", "0"});
  EXPECT_EQ(cl.prerollSeconds, 0.0);
  EXPECT_TRUE(cl.align);
  EXPECT_EQ(cl.output, "b.wav") << "--align takes no argument";
  EXPECT_EQ(Parsed({"render", "a.wav", "b.wav", "--preroll=2.5"}).prerollSeconds, 2.5);
  for (const char* bad : {"-1", "600.5", "nan", "inf", "1s", ""})
    EXPECT_NE(
        Failure({"render", "a.wav", "b.wav", "--preroll", bad}).find("--preroll needs a number of seconds"),
        std::string::npos)
        << bad;
  EXPECT_NE(Failure({"render", "a.wav", "b.wav", "--align=yes"}).find("--align takes no value"),
            std::string::npos);
  EXPECT_NE(Failure({"params", "--align"}).find("not an option of 'params'"), std::string::npos);
}

TEST(CommandLine, RejectsMalformedAssignments) {
  for (const char* bad : {"Bass", "=3", "Bass=", ""})
    EXPECT_NE(Failure({"render", "a.wav", "b.wav", "--param", bad}).find("--param needs NAME=VALUE"),
              std::string::npos)
        << bad;
  for (const char* bad : {"Bass=3", "x:Bass=3", "-1:Bass=3", ":Bass=3", "10:Bass", "10:=3", "1.5:Bass=3"})
    EXPECT_NE(Failure({"render", "a.wav", "b.wav", "--at", bad}).find("--at needs FRAME:NAME=VALUE"),
              std::string::npos)
        << bad;
}

TEST(CommandLine, RefusesToSaveStateOverTheAudioOutput) {
  EXPECT_NE(Failure({"render", "a.wav", "b.wav", "--save-state", "b.wav"}).find("overwrite"),
            std::string::npos);
}

}  // namespace
}  // namespace brel::cmd
