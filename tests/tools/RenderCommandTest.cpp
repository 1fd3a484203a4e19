#include "BrelvaneRelease.h"
#include "tools/brelvane/BrelvaneCommand.h"
#include "tools/brelvane/HelpText.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <functional>
#include <sstream>

#include "tests/tools/FakePlugin.h"
#include "tests/tools/TestFiles.h"

namespace brel::cmd {
namespace {

using test::AudioData;

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class BrelvaneCommand : public ::testing::Test {
public:
  test::TempDir dir;
  test::FakePlugin fake;
  bool loadFails = false;
  bool interrupt = false;
  bool terminal = false;
  double clockValue = 0.0;
  std::string loadedPath;
  std::ostringstream out, err;

  CommandEnv Env() {
    CommandEnv e;
    e.loadPlugin = [this](const std::string& path, std::string& error) -> std::unique_ptr<PluginPort> {
      loadedPath = path;
      if (loadFails) {
        error = "no entry point";
        return nullptr;
      }
      return std::make_unique<test::BorrowedPlugin>(fake);
    };
    e.executableDir = dir.Path();
    e.terminal = terminal;
    e.clock = [this] { return clockValue += 0.5; };
    e.interrupted = [this] { return interrupt; };
    return e;
  }

  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return RunBrelvane(args, Env(), out, err);
  }

  // `brelvane render IN OUT --plugin fake.so EXTRA...`
  int Render(const std::string& in, const std::string& outFile, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"render", dir.File(in), dir.File(outFile), "--plugin", "fake.so"};
    args.insert(args.end(), extra.begin(), extra.end());
    return Run(args);
  }

  void Input(const std::string& name, const AudioData& audio) { test::WriteAudio(dir.File(name), audio); }

  // Frames of the constant `level` in `channels` channels.
  static AudioData Constant(int format, int channels, int frames, double level) {
    AudioData a;
    a.format = format;
    a.channels = channels;
    a.sampleRate = 48000;
    a.samples.assign(static_cast<std::size_t>(frames) * channels, level);
    return a;
  }

  std::vector<std::string> ProcessCalls() const {
    std::vector<std::string> calls;
    for (const std::string& line : fake.log)
      if (line.rfind("process", 0) == 0) calls.push_back(line);
    return calls;
  }
};

TEST_F(BrelvaneCommand, RendersAStereoFileThroughThePlugin) {
  Input("in.wav", test::Sine(SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, 48000, 4800, 0.25, 440.0));
  ASSERT_EQ(Render("in.wav", "out.wav", {"--param", "Gain=-6"}), kExitOk) << err.str();
  EXPECT_EQ(err.str(), "");
  AudioData in = test::ReadAudio(dir.File("in.wav")), result = test::ReadAudio(dir.File("out.wav"));
  EXPECT_EQ(result.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24) << "the input's format by default";
  EXPECT_EQ(result.channels, 2);
  EXPECT_EQ(result.sampleRate, 48000);
  ASSERT_EQ(result.samples.size(), in.samples.size());
  double g = std::pow(10.0, -6.0 / 20.0);
  for (std::size_t i = 0; i < in.samples.size(); ++i)
    ASSERT_NEAR(result.samples[i], in.samples[i] * g, 1.0 / 8388608.0) << i;
  EXPECT_EQ(loadedPath, "fake.so");
}

TEST_F(BrelvaneCommand, PrintsDurationRateLevelsAndSpeed) {
  Input("in.wav", test::Sine(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 48000, 48000, 0.25, 1000.0));
  ASSERT_EQ(Render("in.wav", "out.wav", {"--param", "Gain=-6"}), kExitOk) << err.str();
  std::vector<std::string> lines = LinesOf(out.str());
  ASSERT_EQ(lines.size(), 6u) << out.str();
  EXPECT_EQ(lines[0], "duration      1.000 s (48000 frames, stereo)");
  EXPECT_EQ(lines[1], "sample rate   48000 Hz");
  EXPECT_EQ(lines[2].substr(0, 27), "input         peak  -12.04 ");
  EXPECT_NE(lines[2].find("loudness  -12.03 LUFS   (WAV float)"), std::string::npos) << lines[2];
  EXPECT_EQ(lines[3].substr(0, 27), "output        peak  -18.04 ");
  EXPECT_NE(lines[3].find("loudness  -18.03 LUFS"), std::string::npos) << lines[3];
  EXPECT_EQ(lines[4].rfind("delay         ", 0), 0u);
  EXPECT_EQ(lines[5].rfind("realtime      ", 0), 0u);
}

// The delay is the plug-in's own answer: --align cuts exactly that much off the front, and a
// plug-in that tells none is rendered as it is, saying so in the summary and, for --align, once.
TEST_F(BrelvaneCommand, TheDelayIsWhatThePluginTells) {
  struct Case {
    int told;
    std::vector<std::string> options;
    int shift;
    std::string summary, warning;
  };
  const std::string unknown = "unknown (the plug-in does not tell it), not compensated";
  const Case cases[] = {
      {7, {}, 0, "7 samples (0.15 ms), not compensated (--align would)", ""},
      {7, {"--align"}, 7, "7 samples (0.15 ms), compensated (--align)", ""},
      {-1, {}, 0, unknown, ""},
      {-1,
       {"--align"},
       0,
       unknown,
       "brelvane: warning: the plug-in does not tell its delay, so --align could not compensate it\n"}};
  Input("in.wav", test::Sine(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 48000, 1000, 0.5, 440.0));
  const AudioData in = test::ReadAudio(dir.File("in.wav"));
  for (const Case& c : cases) {
    fake.processedDelay = c.told;
    ASSERT_EQ(Render("in.wav", "out.wav", c.options), kExitOk) << err.str();
    EXPECT_EQ(LinesOf(out.str()).at(4), "delay         " + c.summary);
    EXPECT_EQ(err.str(), c.warning);
    const AudioData got = test::ReadAudio(dir.File("out.wav"));
    ASSERT_EQ(got.Frames(), 1000);
    for (int f = 0; f < 1000; ++f)
      ASSERT_EQ(got.samples[f], f + c.shift < 1000 ? in.samples[f + c.shift] : 0.0) << c.summary << " " << f;
  }
}

TEST_F(BrelvaneCommand, DrivesThePluginThroughTheHostSequence) {
  test::FakePlugin saved;
  saved.SetParameterText(0, "-12");
  test::WriteBytes(dir.File("in.state"), saved.ProgramChunk());
  Input("in.wav", Constant(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 1000, 0.5));
  ASSERT_EQ(Render("in.wav", "out.wav",
                   {"--block", "256", "--load-state", dir.File("in.state"), "--param", "Mode=B",
                    "--save-state", dir.File("out.state"), "--preroll", "0.01"}),
            kExitOk)
      << err.str();
  // The plug-in's own chunk tells the state's shape; 480 frames of silence warm it up.
  EXPECT_EQ(fake.log, (std::vector<std::string>{"open", "rate 48000", "block 256", "channels 1", "get chunk",
                                                "set chunk 44", "set Mode=2", "resume", "process 256",
                                                "process 224", "process 256", "process 256", "process 256",
                                                "process 232", "suspend", "get chunk", "close"}));
}

TEST_F(BrelvaneCommand, MonoRendersFeedSilenceToTheUnusedInput) {
  Input("in.wav", Constant(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 300, 0.5));
  ASSERT_EQ(Render("in.wav", "out.wav"), kExitOk) << err.str();
  EXPECT_TRUE(fake.monoInputClean);
  AudioData result = test::ReadAudio(dir.File("out.wav"));
  EXPECT_EQ(result.channels, 1);
  EXPECT_EQ(result.samples, std::vector<double>(300, 0.5));
}

TEST_F(BrelvaneCommand, StereoRendersKeepTheTwoInTwoOutLayout) {
  Input("in.wav", Constant(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 100, 0.5));
  ASSERT_EQ(Render("in.wav", "out.wav"), kExitOk) << err.str();
  for (const std::string& line : fake.log) EXPECT_EQ(line.rfind("channels", 0), std::string::npos) << line;
}

TEST_F(BrelvaneCommand, ChangesTakeEffectAtExactlyTheirFrame) {
  Input("in.wav", Constant(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 1000, 0.5));
  ASSERT_EQ(Render("in.wav", "out.wav", {"--at", "700:Power=off", "--at", "100:Gain=-6", "--preroll", "0"}),
            kExitOk)
      << err.str();
  EXPECT_EQ(ProcessCalls(),
            (std::vector<std::string>{"process 100", "process 412", "process 188", "process 300"}));
  std::vector<float> result = test::ReadAudioFloats(dir.File("out.wav"));
  const float reduced = static_cast<float>(0.5 * std::pow(10.0, -6.0 / 20.0));
  for (int f = 0; f < 1000; ++f) {
    float expected = f < 100 || f >= 700 ? 0.5f : reduced;
    ASSERT_EQ(result[2 * f], expected) << f;
    ASSERT_EQ(result[2 * f + 1], expected) << f;
  }
}

TEST_F(BrelvaneCommand, AChangeAtTheLastFrameReachesTheSavedState) {
  Input("in.wav", Constant(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 100, 0.5));
  ASSERT_EQ(Render("in.wav", "out.wav",
                   {"--at", "100:Mode=D", "--save-state", dir.File("s.state"), "--preroll", "0"}),
            kExitOk)
      << err.str();
  EXPECT_EQ(fake.params[3].value, 4.0);
  EXPECT_EQ(ProcessCalls(), std::vector<std::string>{"process 100"});
}

TEST_F(BrelvaneCommand, DoubleOutputIsThePluginsSixtyFourBitOutputBitForBit) {
  AudioData in = test::Sine(SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 2, 44100, 3000, 0.7, 123.4);
  Input("in.wav", in);
  ASSERT_EQ(Render("in.wav", "out.wav", {"--format", "double", "--param", "Gain=-3.3"}), kExitOk)
      << err.str();
  for (const std::string& call : ProcessCalls()) EXPECT_EQ(call.rfind("process64 ", 0), 0u) << call;
  AudioData result = test::ReadAudio(dir.File("out.wav"));
  EXPECT_EQ(result.format, SF_FORMAT_WAV | SF_FORMAT_DOUBLE);
  double g = std::pow(10.0, -3.3 / 20.0);
  ASSERT_EQ(result.samples.size(), in.samples.size());
  for (std::size_t i = 0; i < in.samples.size(); ++i) ASSERT_EQ(result.samples[i], in.samples[i] * g) << i;
}

TEST_F(BrelvaneCommand, OtherFormatsRenderInThirtyTwoBits) {
  Input("in.wav", test::Sine(SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 1, 44100, 600, 0.5, 100.0));
  ASSERT_EQ(Render("in.wav", "out.flac", {"--format", "pcm16"}), kExitOk) << err.str();
  for (const std::string& call : ProcessCalls()) EXPECT_EQ(call.rfind("process ", 0), 0u) << call;
  EXPECT_EQ(test::ReadAudio(dir.File("out.flac")).format, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
  ASSERT_EQ(Render("in.wav", "out.aiff", {"--format", "pcm24"}), kExitOk) << err.str();
  EXPECT_EQ(test::ReadAudio(dir.File("out.aiff")).format, SF_FORMAT_AIFF | SF_FORMAT_PCM_24);
}

TEST_F(BrelvaneCommand, RealValuesReachThePluginUnrounded) {
  Input("in.wav", Constant(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 10, 0.5));
  ASSERT_EQ(Render("in.wav", "out.wav", {"--param", "LowCut=100.00000000000001", "--param", "0=-0.1"}),
            kExitOk)
      << err.str();
  EXPECT_EQ(fake.params[1].value, 100.00000000000001);
  EXPECT_EQ(fake.params[0].value, -0.1);
}

TEST_F(BrelvaneCommand, ASharedDisplayTextSelectsItsHighestValue) {
  Input("in.wav", Constant(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 10, 0.5));
  fake.params[3].value = 3;
  ASSERT_EQ(Render("in.wav", "out.wav", {"--param", "Mode=A"}), kExitOk) << err.str();
  EXPECT_EQ(fake.params[3].value, 1.0);
}

TEST_F(BrelvaneCommand, StateIsLoadedBeforeParametersAndSavedAsThePluginReturnsIt) {
  test::FakePlugin saved;
  saved.SetParameterText(0, "-12");
  saved.SetParameterText(1, "250");
  test::WriteBytes(dir.File("in.state"), saved.ProgramChunk());
  Input("in.wav", Constant(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 10, 0.5));
  ASSERT_EQ(Render("in.wav", "out.wav",
                   {"--load-state", dir.File("in.state"), "--param", "Gain=-6", "--save-state",
                    dir.File("out.state")}),
            kExitOk)
      << err.str();
  EXPECT_EQ(fake.lastChunkSet, test::ReadBytes(dir.File("in.state")));
  EXPECT_EQ(fake.params[0].value, -6.0);
  EXPECT_EQ(fake.params[1].value, 250.0);
  EXPECT_EQ(test::ReadBytes(dir.File("out.state")), fake.ProgramChunk());
}

TEST_F(BrelvaneCommand, ReplacesAnExistingOutputOnlyOnSuccess) {
  test::WriteText(dir.File("out.wav"), "previous render");
  Input("in.wav", Constant(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 10, 0.5));
  ASSERT_EQ(Render("in.wav", "out.wav"), kExitOk) << err.str();
  EXPECT_EQ(test::ReadAudio(dir.File("out.wav")).Frames(), 10);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.wav", "out.wav"}));
}

TEST_F(BrelvaneCommand, RendersEmptyFiles) {
  Input("in.wav", Constant(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 0, 0.0));
  ASSERT_EQ(Render("in.wav", "out.wav", {"--at", "0:Mode=C"}), kExitOk) << err.str();
  EXPECT_EQ(test::ReadAudio(dir.File("out.wav")).Frames(), 0);
  EXPECT_TRUE(ProcessCalls().empty());
  EXPECT_EQ(fake.params[3].value, 3.0);
  EXPECT_NE(out.str().find("peak    -inf dBFS"), std::string::npos) << out.str();
}

TEST_F(BrelvaneCommand, WarnsWhenAnIntegerOutputHadToClip) {
  Input("in.wav", Constant(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 50, 0.75));
  ASSERT_EQ(Render("in.wav", "out.wav", {"--param", "Gain=6"}), kExitOk);
  EXPECT_EQ(err.str(), "brelvane: warning: 50 samples beyond full scale were clipped in '" +
                           dir.File("out.wav") + "' (WAV pcm16)\n");
  EXPECT_EQ(test::ReadAudio(dir.File("out.wav")).samples, std::vector<double>(50, 32767.0 / 32768.0));
}

TEST_F(BrelvaneCommand, ShowsProgressOnATerminalForLongRenders) {
  terminal = true;
  Input("in.wav", Constant(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 5000, 0.5));
  ASSERT_EQ(Render("in.wav", "out.wav"), kExitOk) << err.str();
  std::string e = err.str();
  EXPECT_NE(e.find("\r["), std::string::npos);
  EXPECT_EQ(e.substr(e.size() - 4), "\r\033[K") << "the bar is gone before the summary";
}

struct ErrorCase {
  const char* name;
  std::vector<std::string> extra;
  const char* message;  // the start of the one error line, after "brelvane: "
  std::function<void(BrelvaneCommand*)> setup;
};

class RenderErrors : public BrelvaneCommand, public ::testing::WithParamInterface<int> {};

const std::vector<ErrorCase>& ErrorCases() {
  static const std::vector<ErrorCase> cases = {
      {"unknown parameter", {"--param", "Volume=3"}, "unknown parameter 'Volume'", nullptr},
      {"real value out of range",
       {"--param", "Gain=21"},
       "21 is outside the range of 'Gain' (-30.00 to 20.00 dB)",
       nullptr},
      {"whole value out of range",
       {"--at", "5:Mode=5"},
       "5 is outside the range of 'Mode' (0 to 4)",
       nullptr},
      {"unknown display text",
       {"--param", "Power=yes"},
       "'yes' is not a value of 'Power' (values: off, on)",
       nullptr},
      {"bad option", {"--gain", "3"}, "unknown option '--gain'", nullptr},
      {"change beyond the end", {"--at", "1001:Mode=B"}, "--at frame 1001 lies beyond the end of", nullptr},
      {"missing state",
       {"--load-state", "/nonexistent/s.state"},
       "cannot read the state file '/nonexistent/s.state'",
       nullptr},
      {"plug-in not loadable",
       {},
       "cannot load the plug-in 'fake.so': no entry point",
       [](BrelvaneCommand* t) { t->loadFails = true; }},
      {"no 64-bit processing",
       {"--format", "double"},
       "the plug-in cannot process 64-bit samples",
       [](BrelvaneCommand* t) { t->fake.offerDouble = false; }},
      {"state rejected",
       {"--load-state", "STATE"},
       "the plug-in rejected the state in",
       [](BrelvaneCommand* t) { t->fake.rejectChunks = true; }},
      {"plug-in rejects a text",
       {"--param", "Gain=0.5"},
       "the plug-in rejected Gain = 0.5 dB",
       [](BrelvaneCommand* t) {
         t->fake.params[0].texts = {{-30, "-inf"}};
       }},
  };
  return cases;
}

TEST_P(RenderErrors, FailWithOneLineAndStatusTwoAndLeaveTheOutputsAlone) {
  const ErrorCase& c = ErrorCases()[GetParam()];
  SCOPED_TRACE(c.name);
  Input("in.wav", Constant(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 1000, 0.5));
  test::WriteText(dir.File("out.wav"), "good render");
  test::WriteText(dir.File("out.state"), "good state");
  test::WriteBytes(dir.File("STATE"), fake.ProgramChunk());
  if (c.setup) c.setup(this);
  std::vector<std::string> extra = c.extra;
  for (std::string& e : extra)
    if (e == "STATE") e = dir.File("STATE");
  extra.push_back("--save-state");
  extra.push_back(dir.File("out.state"));
  std::vector<std::string> before = dir.Entries();
  EXPECT_EQ(Render("in.wav", "out.wav", extra), kExitError);
  std::string expected = std::string("brelvane: ") + c.message;
  EXPECT_EQ(err.str().substr(0, expected.size()), expected) << err.str();
  EXPECT_EQ(LinesOf(err.str()).size(), 1u) << err.str();
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(dir.Entries(), before) << "no temporary file is left behind";
  std::vector<std::uint8_t> kept = test::ReadBytes(dir.File("out.wav"));
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "good render");
  kept = test::ReadBytes(dir.File("out.state"));
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "good state");
}

INSTANTIATE_TEST_SUITE_P(Render, RenderErrors, ::testing::Range(0, 11),
                         [](const ::testing::TestParamInfo<int>& info) {
                           std::string n = ErrorCases()[info.param].name;
                           for (char& ch : n)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return n;
                         });

TEST_F(BrelvaneCommand, FileProblemsAreFoundBeforeThePluginIsLoaded) {
  Input("in.wav", Constant(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 10, 0.5));
  Input("six.wav", Constant(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 6, 10, 0.5));
  test::WriteText(dir.File("words.wav"), "this is not audio");
  test::WriteText(dir.File("empty.state"), "");
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"render", dir.File("missing.wav"), dir.File("o.wav")},
       "cannot read '" + dir.File("missing.wav") + "': No such file"},
      {{"render", dir.File("words.wav"), dir.File("o.wav")},
       "cannot read '" + dir.File("words.wav") + "' as audio"},
      {{"render", dir.File("six.wav"), dir.File("o.wav")},
       "'" + dir.File("six.wav") + "' has 6 channels; only mono and stereo"},
      {{"render", dir.File("in.wav"), dir.File("o.mp3")},
       "unsupported output format for '" + dir.File("o.mp3") + "'"},
      {{"render", dir.File("in.wav"), dir.File("o.flac"), "--format", "float"},
       "FLAC cannot hold float samples"},
      {{"render", dir.File("in.wav"), dir.File("o.wav"), "--load-state", dir.File("empty.state")},
       "the state file '" + dir.File("empty.state") + "' is empty"},
      {{"render", dir.File("in.wav"), dir.File("no/dir/o.wav")},
       "cannot write '" + dir.File("no/dir/o.wav") + "'"},
      {{"render", dir.File("in.wav"), dir.File("o.wav"), "--at", "11:Mode=B"},
       "--at frame 11 lies beyond the end of '" + dir.File("in.wav") + "' (10 frames)"},
  };
  std::vector<std::string> before = dir.Entries();
  for (const auto& c : cases) {
    loadedPath.clear();
    EXPECT_EQ(Run(c.first), kExitError) << c.second;
    std::string expected = "brelvane: " + c.second;
    EXPECT_EQ(err.str().substr(0, expected.size()), expected) << err.str();
    EXPECT_EQ(LinesOf(err.str()).size(), 1u);
    EXPECT_EQ(loadedPath, "") << c.second;
  }
  EXPECT_EQ(dir.Entries(), before);
}

TEST_F(BrelvaneCommand, AnInterruptedRenderLeavesNothingBehind) {
  Input("in.wav", Constant(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 1000, 0.5));
  test::WriteText(dir.File("out.wav"), "good render");
  interrupt = true;
  EXPECT_EQ(Render("in.wav", "out.wav"), kExitInterrupted);
  EXPECT_EQ(err.str(), "brelvane: interrupted\n");
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.wav", "out.wav"}));
  EXPECT_EQ(fake.log.back(), "close");
}

TEST_F(BrelvaneCommand, ParamsListsTheTableUnderTheNameOfThePlugin) {
  fake.params[0].value = 5.0;  // not a default: the table must not show it
  fake.params[0].defaultValue = 5.0;
  ASSERT_EQ(Run({"params", "--plugin", "fake.so"}), kExitOk) << err.str();
  std::vector<std::string> lines = LinesOf(out.str());
  ASSERT_EQ(lines.size(), 8u) << out.str();
  EXPECT_EQ(lines[0], "Fake by Tests, 5 parameters");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2].rfind("#  name", 0), 0u);
  EXPECT_NE(lines[3].find("5.00"), std::string::npos) << lines[3];
  EXPECT_EQ(fake.log, (std::vector<std::string>{"open", "close"}));
}

TEST_F(BrelvaneCommand, ParamsFailsCleanlyWithoutAPlugin) {
  EXPECT_EQ(Run({"params"}), kExitError);
  EXPECT_EQ(err.str().rfind("brelvane: cannot find the plug-in (looked for " + dir.File("Brelvane.so"), 0),
            0u);
  loadFails = true;
  EXPECT_EQ(Run({"params", "--plugin", "x.so"}), kExitError);
  EXPECT_EQ(err.str(), "brelvane: cannot load the plug-in 'x.so': no entry point\n");
}

TEST_F(BrelvaneCommand, HelpGoesToStandardOutput) {
  EXPECT_EQ(Run({"help"}), kExitOk);
  EXPECT_NE(out.str().find("usage:"), std::string::npos);
  EXPECT_EQ(Run({}), kExitError);
  EXPECT_EQ(err.str(), "brelvane: no command given; try 'brelvane help'\n");
}

// Every command answers --help and `help COMMAND` alike, on standard output, even beside
// arguments it would refuse; an option no command has is still one line and the error status.
TEST_F(BrelvaneCommand, EveryCommandHasItsOwnHelpAndRefusesUnknownOptionsInOneLine) {
  for (const std::string command : {"render", "params", "snapshot", "help", "--version"}) {
    ASSERT_EQ(Run({command, "--help"}), kExitOk) << command << ": " << err.str();
    const std::string help = out.str();
    EXPECT_EQ(help.rfind("usage: brelvane " + command, 0), 0u) << help;
    EXPECT_EQ(Run({"help", command}), kExitOk) << command;
    EXPECT_EQ(out.str(), help) << command;
    EXPECT_EQ(Run({command, "-h", "--no-such"}), kExitOk) << command;
    EXPECT_EQ(Run({command, "--no-such"}), kExitError) << command;
    EXPECT_EQ(err.str(), "brelvane: unknown option '--no-such'\n") << command;
  }
  EXPECT_NE(UsageText().find("brelvane snapshot OUT.png"), std::string::npos);
  EXPECT_NE(UsageText().find("8 kHz to 768 kHz"), std::string::npos);
  EXPECT_EQ(Run({"--version"}), kExitOk);
  EXPECT_EQ(out.str().rfind(std::string("brelvane ") + release::kVersion + " (", 0), 0u) << out.str();
  EXPECT_EQ(Run({"help", "mix"}), kExitError);
  EXPECT_EQ(err.str(), "brelvane: no command 'mix' to help with; try 'brelvane help'\n");
}

}  // namespace
}  // namespace brel::cmd
