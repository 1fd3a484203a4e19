// The command against the real plug-in module (BREL_TEST_PLUGIN names it).
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstring>
#include <sstream>
#include <tuple>

#include "engine/BrelvaneParams.h"
#include "engine/VocalChain.h"
#include "hosts/vst2/VstHost.h"
#include "tests/tools/TestFiles.h"
#include "tools/brelvane/BrelvaneCommand.h"
#include "tools/brelvane/PluginLoader.h"
#include "tools/brelvane/VstPluginPort.h"

namespace brel::cmd {
namespace {

using test::AudioData;

class PluginCommand : public ::testing::Test {
protected:
  test::TempDir mDir;
  std::ostringstream mOut, mErr;

  int Run(std::vector<std::string> args) {
    mOut.str("");
    mErr.str("");
    args.push_back("--plugin");
    args.push_back(BREL_TEST_PLUGIN);
    CommandEnv env;
    env.loadPlugin = LoadVstPlugin;
    env.clock = [] { return 0.0; };
    return RunBrelvane(args, env, mOut, mErr);
  }

  // The plain value of parameter `index` in a program chunk: a double after the 8-byte header.
  static double ValueIn(const std::vector<std::uint8_t>& chunk, int index) {
    double v = 0.0;
    std::memcpy(&v, chunk.data() + 8 + 8 * index, 8);
    return v;
  }
};

TEST_F(PluginCommand, ParamsShowsTheElevenParametersAsAHostSeesThem) {
  ASSERT_EQ(Run({"params"}), kExitOk) << mErr.str();
  EXPECT_EQ(mOut.str(),
            "Brelvane by Orrindale, 11 parameters\n"
            "\n"
            " #  name        range            default  unit  display texts\n"
            " 0  Pres Comp   -5.00 to 25.00   12.50    dB\n"
            " 1  LowCut      20.00 to 300.00  100.00   Hz\n"
            " 2  Tighten     0.00 to 100.00   53.50    %\n"
            " 3  Bass        -10.00 to 10.00  0.00     dB\n"
            " 4  Crispy      0.00 to 6.00     0.00     dB\n"
            " 5  Final Comp  -25.00 to 25.00  0.00     dB\n"
            " 6  Db Output   -30.00 to 20.00  0.00     dB\n"
            " 7  Power       0 to 1           1 (on)         0 off, 1 on\n"
            " 8  Mode        0 to 4           1 (A)          0 A, 1 A, 2 B, 3 C, 4 D\n"
            " 9  P Limit     0 to 1           1 (on)         0 off, 1 on\n"
            "10  F Limit     0 to 1           0 (off)        0 off, 1 on\n");
}

TEST_F(PluginCommand, RenderSetsValuesExactlyAndSavesThemInTheState) {
  test::WriteAudio(mDir.File("in.wav"),
                   test::Sine(SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, 48000, 4800, 0.3, 220.0));
  ASSERT_EQ(Run({"render", mDir.File("in.wav"), mDir.File("out.wav"), "--param", "Pres Comp=12.3", "--param",
                 "LowCut=100.00000000000001", "--param", "Mode=A", "--param", "F Limit=on", "--at",
                 "100:Tighten=33.3", "--save-state", mDir.File("s.state")}),
            kExitOk)
      << mErr.str();
  std::vector<std::uint8_t> state = test::ReadBytes(mDir.File("s.state"));
  ASSERT_EQ(state.size(), 96u);
  EXPECT_EQ(std::string(state.begin(), state.begin() + 4), "tffp");
  EXPECT_EQ(ValueIn(state, 0), 12.3);
  EXPECT_EQ(ValueIn(state, 1), 100.00000000000001);
  EXPECT_EQ(ValueIn(state, 2), 33.3);
  EXPECT_EQ(ValueIn(state, 8), 1.0);
  EXPECT_EQ(ValueIn(state, 10), 1.0);
  AudioData result = test::ReadAudio(mDir.File("out.wav"));
  EXPECT_EQ(result.Frames(), 4800);
  EXPECT_EQ(result.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
}

TEST_F(PluginCommand, ARenderFromSavedStateRepeatsTheFirstBitForBit) {
  test::WriteAudio(mDir.File("in.wav"),
                   test::Sine(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 44100, 20000, 0.5, 330.0));
  ASSERT_EQ(Run({"render", mDir.File("in.wav"), mDir.File("a.wav"), "--param", "Bass=4.25", "--param",
                 "Mode=C", "--save-state", mDir.File("a.state")}),
            kExitOk)
      << mErr.str();
  ASSERT_EQ(Run({"render", mDir.File("in.wav"), mDir.File("b.wav"), "--load-state", mDir.File("a.state"),
                 "--save-state", mDir.File("b.state")}),
            kExitOk)
      << mErr.str();
  EXPECT_EQ(test::ReadBytes(mDir.File("a.state")), test::ReadBytes(mDir.File("b.state")));
  AudioData a = test::ReadAudio(mDir.File("a.wav")), b = test::ReadAudio(mDir.File("b.wav"));
  EXPECT_EQ(a.channels, 1);
  EXPECT_EQ(a.samples, b.samples);
  AudioData in = test::ReadAudio(mDir.File("in.wav"));
  EXPECT_NE(a.samples, in.samples) << "the plug-in processed the audio";
  for (double v : a.samples) ASSERT_TRUE(std::isfinite(v));
}

TEST_F(PluginCommand, DoubleOutputHoldsThePluginsSixtyFourBitOutput) {
  AudioData in = test::Sine(SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 2, 48000, 3000, 0.4, 440.0);
  test::WriteAudio(mDir.File("in.wav"), in);
  ASSERT_EQ(Run({"render", mDir.File("in.wav"), mDir.File("out.wav"), "--format", "double", "--param",
                 "Crispy=2.5", "--preroll", "0"}),
            kExitOk)
      << mErr.str();
  AudioData result = test::ReadAudio(mDir.File("out.wav"));

  // The same host sequence by hand, straight through the 64-bit call.
  VstHost host;
  ASSERT_TRUE(host.Load(BREL_TEST_PLUGIN)) << host.LastError();
  host.Open();
  host.SetSampleRate(48000.0f);
  host.SetBlockSize(512);
  ASSERT_TRUE(host.String2Parameter(4, "2.5"));
  host.Resume();
  std::vector<double> l(512), r(512), ol(512), orr(512);
  double* ins[] = {l.data(), r.data()};
  double* outs[] = {ol.data(), orr.data()};
  for (int start = 0; start < 3000; start += 512) {
    int n = std::min(512, 3000 - start);
    for (int f = 0; f < n; ++f) l[f] = r[f] = in.samples[2 * (start + f)];
    ASSERT_TRUE(host.ProcessDoubleReplacing(ins, outs, n));
    for (int f = 0; f < n; ++f) {
      ASSERT_EQ(result.samples[2 * (start + f)], ol[f]) << start + f;
      ASSERT_EQ(result.samples[2 * (start + f) + 1], orr[f]) << start + f;
    }
  }
}

// The whole route, file to module to file, adds nothing to the engine: a 64-bit render of a
// stereo take equals the vocal chain run directly with the same settings, sample for sample.
TEST_F(PluginCommand, DoubleRenderEqualsTheChainRunDirectly) {
  const int rate = 44100, frames = 30000;
  AudioData in = test::Sine(SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 2, rate, frames, 0.7, 196.0);
  for (int f = 0; f < frames; ++f) in.samples[2 * f + 1] *= 0.5 + 0.5 * std::sin(f * 0.001);
  test::WriteAudio(mDir.File("in.wav"), in);
  ASSERT_EQ(
      Run({"render", mDir.File("in.wav"), mDir.File("out.wav"), "--format", "double", "--param", "Mode=B",
           "--param", "Crispy=3.5", "--param", "Pres Comp=18", "--at", "12345:Tighten=90", "--preroll", "0"}),
      kExitOk)
      << mErr.str();
  AudioData result = test::ReadAudio(mDir.File("out.wav"));
  ASSERT_EQ(result.Frames(), frames);

  VocalChain chain;
  chain.SetSampleRate(rate);
  for (const ParamSpec& spec : kBrelvaneParams) chain.OnParamChanged(spec.index, spec.defaultValue);
  chain.OnParamChanged(VocalChain::kMode, 2);
  chain.OnParamChanged(VocalChain::kCrispy, 3.5);
  chain.OnParamChanged(VocalChain::kPresComp, 18);
  std::vector<double> l(frames), r(frames), ol(frames), orr(frames);
  for (int f = 0; f < frames; ++f) {
    l[f] = in.samples[2 * f];
    r[f] = in.samples[2 * f + 1];
  }
  const double* ins[] = {l.data(), r.data()};
  double* outs[] = {ol.data(), orr.data()};
  chain.Process(ins, outs, 12345, 1.0, rate);
  chain.OnParamChanged(VocalChain::kTighten, 90);
  const double* insLater[] = {l.data() + 12345, r.data() + 12345};
  double* outsLater[] = {ol.data() + 12345, orr.data() + 12345};
  chain.Process(insLater, outsLater, frames - 12345, 1.0, rate);
  for (int f = 0; f < frames; ++f) {
    ASSERT_EQ(result.samples[2 * f], ol[f]) << "frame " << f;
    ASSERT_EQ(result.samples[2 * f + 1], orr[f]) << "frame " << f;
  }
}

// The same command through the VST3 bundle and the CLAP module: the parameters a host sees, the
// sound, the state.
class BundleCommand : public PluginCommand {
protected:
  int RunWith(const std::string& plugin, std::vector<std::string> args) {
    mOut.str("");
    mErr.str("");
    args.insert(args.end(), {"--plugin", plugin});
    CommandEnv env;
    env.loadPlugin = LoadPlugin;
    env.clock = [] { return 0.0; };
    return RunBrelvane(args, env, mOut, mErr);
  }

  // The other modules and the state each saves: the VST3 stream (the bypass flag last), or, for
  // the CLAP module, the VST2 module's own program chunk, so one state file serves both.
  struct OtherModule {
    const char* path;
    const char* api;
    std::size_t vst3StreamBytes;  // 0: the VST2 module's state
  };
  static constexpr OtherModule kOthers[] = {{BREL_TEST_BUNDLE, "vst3", 92}, {BREL_TEST_CLAP, "clap", 0}};
};

TEST_F(BundleCommand, ListsTheParametersTheVst2ModuleLists) {
  ASSERT_EQ(RunWith(BREL_TEST_PLUGIN, {"params"}), kExitOk) << mErr.str();
  const std::string vst2 = mOut.str();
  for (const OtherModule& other : kOthers) {
    ASSERT_EQ(RunWith(other.path, {"params", "--api", other.api}), kExitOk) << mErr.str();
    EXPECT_EQ(mOut.str(), vst2) << other.api;
  }
  ASSERT_EQ(RunWith(BREL_TEST_LV2, {"params", "--api", "lv2"}), kExitOk) << mErr.str();
  EXPECT_EQ(mOut.str(), vst2) << "lv2";
}

// LV2 audio is 32-bit, so the LV2 bundle renders what the VST2 module renders on its 32-bit path.
// Its ports carry floats: every value here is exact as a float (18, 3.5, 90) and, for the whole
// ones, as the VST2 module's normalized float (Mode D is 1, B is 0.5), so both plug-ins hold the
// same doubles. The stereo take at 48 kHz and the mono one at 44.1 kHz each take the bundle's
// other instance than the one it loads with.
TEST_F(BundleCommand, TheLv2BundleRendersWhatTheVst2ModuleRendersInFloatAndSavesItsState) {
  const std::vector<std::string> settings = {
      "--format",   "float", "--param",         "Mode=D", "--param",         "Pres Comp=18", "--param",
      "F Limit=on", "--at",  "7000:Crispy=3.5", "--at",   "7001:Tighten=90", "--at",         "9000:Mode=B"};
  for (const int channels : {2, 1}) {
    SCOPED_TRACE(std::to_string(channels) + " channels");
    test::WriteAudio(mDir.File("in.wav"), test::Sine(SF_FORMAT_WAV | SF_FORMAT_FLOAT, channels,
                                                     channels == 2 ? 48000 : 44100, 20000, 0.6, 180.0));
    AudioData renders[2];
    std::vector<std::uint8_t> states[2];
    const char* plugins[] = {BREL_TEST_PLUGIN, BREL_TEST_LV2};
    for (int i = 0; i < 2; ++i) {
      std::vector<std::string> args = {"render", mDir.File("in.wav"), mDir.File("out.wav"), "--save-state",
                                       mDir.File("out.state")};
      args.insert(args.end(), settings.begin(), settings.end());
      ASSERT_EQ(RunWith(plugins[i], args), kExitOk) << mErr.str();
      renders[i] = test::ReadAudio(mDir.File("out.wav"));
      states[i] = test::ReadBytes(mDir.File("out.state"));
    }
    EXPECT_EQ(renders[1].channels, channels);
    EXPECT_EQ(renders[1].samples, renders[0].samples);
    EXPECT_EQ(states[1], states[0]);
    // The VST2 module's state restored into the bundle: the values the take ended with.
    ASSERT_EQ(RunWith(BREL_TEST_LV2, {"render", mDir.File("in.wav"), mDir.File("again.wav"), "--load-state",
                                      mDir.File("out.state"), "--save-state", mDir.File("again.state")}),
              kExitOk)
        << mErr.str();
    EXPECT_EQ(test::ReadBytes(mDir.File("again.state")), states[0]);
  }
}

TEST_F(BundleCommand, RendersWhatTheVst2ModuleRendersAndRestoresItsOwnState) {
  test::WriteAudio(mDir.File("in.wav"),
                   test::Sine(SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 2, 44100, 20000, 0.6, 180.0));
  const std::vector<std::string> settings = {"--format", "double",          "--param", "Mode=D",
                                             "--param",  "Pres Comp=18",    "--param", "F Limit=on",
                                             "--at",     "7000:Crispy=3.5", "--at",    "7001:Tighten=90"};
  std::vector<std::string> args = {"render", mDir.File("in.wav"), mDir.File("vst2.wav")};
  args.insert(args.end(), settings.begin(), settings.end());
  std::vector<std::string> saving = args;
  saving.insert(saving.end(), {"--save-state", mDir.File("vst2.state")});
  ASSERT_EQ(RunWith(BREL_TEST_PLUGIN, saving), kExitOk) << mErr.str();
  const AudioData vst2 = test::ReadAudio(mDir.File("vst2.wav"));
  ASSERT_EQ(RunWith(BREL_TEST_PLUGIN, {"render", mDir.File("in.wav"), mDir.File("same.wav"), "--format",
                                       "double", "--param", "Mode=D", "--param", "Pres Comp=18", "--param",
                                       "F Limit=on", "--param", "Crispy=3.5", "--param", "Tighten=90"}),
            kExitOk)
      << mErr.str();
  const AudioData settled = test::ReadAudio(mDir.File("same.wav"));

  for (const OtherModule& other : kOthers) {
    SCOPED_TRACE(other.api);
    saving[2] = mDir.File("other.wav");
    saving.back() = mDir.File("other.state");
    ASSERT_EQ(RunWith(other.path, saving), kExitOk) << mErr.str();
    EXPECT_EQ(test::ReadAudio(mDir.File("other.wav")).samples, vst2.samples);

    const std::vector<std::uint8_t> state = test::ReadBytes(mDir.File("other.state"));
    if (other.vst3StreamBytes)
      EXPECT_EQ(state.size(), other.vst3StreamBytes);
    else
      EXPECT_EQ(state, test::ReadBytes(mDir.File("vst2.state")));
    ASSERT_EQ(RunWith(other.path, {"render", mDir.File("in.wav"), mDir.File("again.wav"), "--format",
                                   "double", "--load-state", mDir.File("other.state")}),
              kExitOk)
        << mErr.str();
    EXPECT_EQ(test::ReadAudio(mDir.File("again.wav")).samples, settled.samples);
  }
}

// Each module tells the delay of the values it holds at the rate it was given, before anything is
// processed: none with "Power" off; "Mode" 0 keeps the timing the chain took before it.
TEST(ModuleDelay, EveryModuleTellsTheDelayOfItsSettings) {
  constexpr int kMode = BrelvaneParamIndex::kMode, kPower = BrelvaneParamIndex::kPower;
  // rate, normalized "Mode" and "Power", the mode whose delay is told (0: none)
  const std::tuple<int, float, float, int> cases[] = {
      {44100, 0.25f, 1, 1}, {48000, 0.5f, 1, 2}, {96000, 0.75f, 1, 3}, {22050, 1, 1, 4}, {48000, 0.5f, 0, 0}};
  for (const char* module : {BREL_TEST_PLUGIN, BREL_TEST_BUNDLE, BREL_TEST_CLAP, BREL_TEST_LV2})
    for (const auto& [rate, mode, power, told] : cases) {
      std::string why;
      std::unique_ptr<PluginPort> port = LoadPlugin(module, why);
      ASSERT_TRUE(port) << why;
      port->Open();
      port->SetSampleRate(static_cast<float>(rate));
      port->SetParameter(kMode, mode);
      port->SetParameter(kPower, power);
      const int expected = told ? VocalChain::ProcessedDelay(told, rate) : 0;
      EXPECT_EQ(port->ProcessedDelay(), expected) << module << " at " << rate << " Hz";
      float silence[64] = {}, left[64], right[64];
      float *ins[] = {silence, silence}, *outs[] = {left, right};
      port->Resume();
      EXPECT_TRUE(port->Process(ins, outs, 64));
      port->SetParameter(kMode, 0.0f);
      EXPECT_EQ(port->ProcessedDelay(), expected) << module << " at " << rate << " Hz, then mode 0";
      port->Suspend();
      port->Close();
    }
}

TEST_F(PluginCommand, RejectsValuesThePluginDoesNotHave) {
  test::WriteAudio(mDir.File("in.wav"),
                   test::Sine(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 48000, 100, 0.3, 220.0));
  EXPECT_EQ(Run({"render", mDir.File("in.wav"), mDir.File("out.wav"), "--param", "Mode=E"}), kExitError);
  EXPECT_EQ(mErr.str(), "brelvane: 'E' is not a value of 'Mode' (values: A, B, C, D)\n");
  EXPECT_EQ(Run({"render", mDir.File("in.wav"), mDir.File("out.wav"), "--param", "Pres Comp=25.5"}),
            kExitError);
  EXPECT_EQ(mErr.str(), "brelvane: 25.5 is outside the range of 'Pres Comp' (-5.00 to 25.00 dB)\n");
  EXPECT_EQ(mDir.Entries(), std::vector<std::string>{"in.wav"});
}

}  // namespace
}  // namespace brel::cmd
