// The built brelvane program run as a user runs it (BREL_TEST_COMMAND), against the real module
// (BREL_TEST_PLUGIN): what it refuses, what it leaves behind, and where its output lies in time.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/VocalChain.h"
#include "tests/tools/TestFiles.h"

namespace brel::cmd {
namespace {

using test::AudioData;

struct Outcome {
  int status = -1;  // the exit status, or 128 + the signal that ended the program
  std::string out, err;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int Lines(const std::string& text) {
  int n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

class CommandProcess : public ::testing::Test {
protected:
  test::TempDir mDir;
  test::TempDir mLogs;  // the program's standard streams, outside the folder under test

  // The tree's VST2 module, unless the command takes no plug-in or the case names its own.
  pid_t Start(std::vector<std::string> args) {
    if (args[0] != "snapshot" && std::find(args.begin(), args.end(), "--plugin") == args.end())
      args.insert(args.end(), {"--plugin", BREL_TEST_PLUGIN});
    args.insert(args.begin(), BREL_TEST_COMMAND);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string out = mLogs.File("out"), err = mLogs.File("err");
    pid_t pid = ::fork();
    if (pid == 0) {
      if (!std::freopen(out.c_str(), "w", stdout) || !std::freopen(err.c_str(), "w", stderr)) ::_exit(99);
      ::execv(argv[0], argv.data());
      ::_exit(98);
    }
    return pid;
  }

  Outcome Finish(pid_t pid) {
    Outcome o;
    int status = 0;
    if (::waitpid(pid, &status, 0) == pid)
      o.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    o.out = Slurp(mLogs.File("out"));
    o.err = Slurp(mLogs.File("err"));
    return o;
  }

  Outcome Run(std::vector<std::string> args) { return Finish(Start(std::move(args))); }

  Outcome Render(const std::string& in, const std::string& out, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"render", mDir.File(in), mDir.File(out)};
    args.insert(args.end(), extra.begin(), extra.end());
    return Run(args);
  }
};

// A 16-bit stereo WAV header declaring `frames` at `rate`, followed by `heldFrames` of silence.
std::vector<std::uint8_t> WavBytes(std::uint32_t rate, std::uint32_t frames, std::uint32_t heldFrames) {
  std::vector<std::uint8_t> b;
  auto put = [&b](std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  auto tag = [&b](const char* t) { b.insert(b.end(), t, t + 4); };
  tag("RIFF");
  put(36 + frames * 4, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);
  put(2, 2);
  put(rate, 4);
  put(rate * 4, 4);
  put(4, 2);
  put(16, 2);
  tag("data");
  put(frames * 4, 4);
  b.resize(b.size() + heldFrames * 4, 0);
  return b;
}

// Mono AIFF whose COMM chunk gives the sample rate 0 (an all-zero 80-bit number).
std::vector<std::uint8_t> AiffAtRateZero() {
  std::vector<std::uint8_t> b = {'F', 'O', 'R', 'M', 0, 0,  0, 46, 'A', 'I', 'F', 'F', 'C', 'O',
                                 'M', 'M', 0,   0,   0, 18, 0, 1,  0,   0,   0,   100, 0,   16};
  b.resize(b.size() + 10, 0);
  const std::uint8_t ssnd[] = {'S', 'S', 'N', 'D', 0, 0, 0, 208, 0, 0, 0, 0, 0, 0, 0, 0};
  b.insert(b.end(), ssnd, ssnd + sizeof ssnd);
  b.resize(b.size() + 200, 0);
  return b;
}

TEST_F(CommandProcess, NeverReadsAndWritesOneFileUnderTwoNames) {
  test::WriteAudio(mDir.File("in.wav"),
                   test::Sine(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 48000, 500, 0.3, 220));
  test::WriteText(mDir.File("old.wav"), "keep me");
  ::mkdir(mDir.File("d").c_str(), 0755);
  ASSERT_EQ(::symlink("in.wav", mDir.File("link.wav").c_str()), 0);
  const std::vector<std::uint8_t> input = test::ReadBytes(mDir.File("in.wav"));
  const std::vector<std::vector<std::string>> cases = {
      {"in.wav", "out.wav", "--save-state", mDir.File("in.wav")},
      {"in.wav", "old.wav", "--save-state", mDir.File("d/../old.wav")},
      {"in.wav", "old.wav", "--save-state", mDir.File("./old.wav")},
      {"in.wav", "link.wav"},
      {"in.wav", "d/../in.wav"},
  };
  for (const auto& c : cases) {
    Outcome o = Render(c[0], c[1], std::vector<std::string>(c.begin() + 2, c.end()));
    EXPECT_EQ(o.status, 2) << c[1];
    EXPECT_NE(o.err.find("is the same file as the"), std::string::npos) << o.err;
    EXPECT_EQ(Lines(o.err), 1) << o.err;
    EXPECT_EQ(test::ReadBytes(mDir.File("in.wav")), input);
    EXPECT_EQ(Slurp(mDir.File("old.wav")), "keep me");
    EXPECT_EQ(mDir.Entries(), (std::vector<std::string>{"d", "in.wav", "link.wav", "old.wav"}));
  }
}

TEST_F(CommandProcess, TakesOnlyStatesThePluginWrote) {
  test::WriteAudio(mDir.File("in.wav"),
                   test::Sine(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 44100, 2000, 0.3, 220));
  ASSERT_EQ(Render("in.wav", "a.wav", {"--param", "Bass=3", "--save-state", mDir.File("s.state")}).status, 0);
  std::vector<std::uint8_t> state = test::ReadBytes(mDir.File("s.state"));
  ASSERT_EQ(state.size(), 96u);
  test::WriteBytes(mDir.File("values.state"), std::vector<std::uint8_t>(state.begin() + 8, state.end()));
  std::vector<std::uint8_t> noise(96);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 37 + 11);
  test::WriteBytes(mDir.File("noise.state"), noise);
  std::vector<std::uint8_t> cut(state.begin(), state.end() - 1);
  test::WriteBytes(mDir.File("cut.state"), cut);
  test::WriteBytes(mDir.File("huge.state"), std::vector<std::uint8_t>((1 << 20) + 1, 0));
  ASSERT_EQ(::mkfifo(mDir.File("fifo").c_str(), 0644), 0);
  ::mkdir(mDir.File("dir").c_str(), 0755);

  const std::vector<std::pair<std::string, std::string>> refused = {
      {mDir.File("dir"), "it is a directory"},
      {"/dev/zero", "not a regular file"},
      {mDir.File("fifo"), "not a regular file"},
      {mDir.File("huge.state"), "too large to be a state"},
      {mDir.File("in.wav"), "no program chunk header"},
      {mDir.File("noise.state"), "no program chunk header"},
      {mDir.File("cut.state"), "with its header of 95 bytes"},
  };
  for (const auto& [path, why] : refused) {
    Outcome o = Render("in.wav", "out.wav", {"--load-state", path});
    EXPECT_EQ(o.status, 2) << path << ": " << o.err;
    EXPECT_NE(o.err.find(why), std::string::npos) << o.err;
    EXPECT_EQ(Lines(o.err), 1) << o.err;
  }
  // The values alone, without the header, are a state the plug-in reads too.
  ASSERT_EQ(Render("in.wav", "b.wav", {"--load-state", mDir.File("values.state")}).status, 0);
  EXPECT_EQ(test::ReadAudio(mDir.File("b.wav")).samples, test::ReadAudio(mDir.File("a.wav")).samples);
  EXPECT_EQ(mDir.Entries(),
            (std::vector<std::string>{"a.wav", "b.wav", "cut.state", "dir", "fifo", "huge.state", "in.wav",
                                      "noise.state", "s.state", "values.state"}));
}

// A device or a FIFO given as an output is written in place and stays what it is: nothing is renamed
// over it, a full device is a one-line failure, and a FIFO that nobody reads holds nothing up.
TEST_F(CommandProcess, WritesDevicesAndFifosInPlaceAndNeverReplacesThem) {
  if (::geteuid() != 0) GTEST_SKIP() << "making device nodes needs root";
  test::WriteAudio(mDir.File("in.wav"),
                   test::Sine(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 48000, 500, 0.3, 220));
  ASSERT_EQ(::mknod(mDir.File("null.wav").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
  ASSERT_EQ(::mknod(mDir.File("full.wav").c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
  ASSERT_EQ(::mknod(mDir.File("loop.wav").c_str(), S_IFBLK | 0600, makedev(7, 0)), 0);
  ASSERT_EQ(::mkfifo(mDir.File("fifo.wav").c_str(), 0644), 0);
  struct Case {
    std::string kind, node;
    bool reader;       // the FIFO is held open for reading (a state fits in its buffer)
    std::string says;  // empty: the command succeeds
  };
  const Case cases[] = {
      {"audio", "null.wav", false, ""},
      {"audio", "full.wav", false, "No space left on device"},
      {"audio", "fifo.wav", false, "it is a FIFO with no reader"},
      {"audio", "fifo.wav", true, "an audio file needs an output it can seek in"},
      {"state", "null.wav", false, ""},
      {"state", "full.wav", false, "No space left on device"},
      {"state", "fifo.wav", true, ""},
      {"snapshot", "null.wav", false, ""},
      {"snapshot", "full.wav", false, "No space left on device"},
      {"snapshot", "fifo.wav", false, "it is a FIFO with no reader"},
      {"state", "loop.wav", false, "it is a block device"},
  };
  for (const Case& c : cases) {
    const std::string node = mDir.File(c.node), what = c.kind + " into " + c.node;
    struct stat before {
    }, after{};
    ASSERT_EQ(::lstat(node.c_str(), &before), 0);
    const int reader = c.reader ? ::open(node.c_str(), O_RDONLY | O_NONBLOCK) : -1;
    Outcome o = c.kind == "audio"   ? Render("in.wav", c.node)
                : c.kind == "state" ? Render("in.wav", "out.wav", {"--save-state", node})
                                    : Run({"snapshot", node});
    EXPECT_EQ(o.status, c.says.empty() ? 0 : 2) << what << ": " << o.err;
    if (!c.says.empty()) {
      EXPECT_EQ(Lines(o.err), 1) << o.err;
      EXPECT_NE(o.err.find("cannot write '" + node + "': "), std::string::npos) << o.err;
      EXPECT_NE(o.err.find(c.says), std::string::npos) << o.err;
    }
    if (reader >= 0) {
      char got[200];
      EXPECT_EQ(::read(reader, got, sizeof got), c.says.empty() ? 96 : 0) << what;
      ::close(reader);
    }
    ASSERT_EQ(::lstat(node.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT) << what;
    EXPECT_EQ(after.st_rdev, before.st_rdev) << what;
    ::unlink(mDir.File("out.wav").c_str());
    EXPECT_EQ(mDir.Entries(),
              (std::vector<std::string>{"fifo.wav", "full.wav", "in.wav", "loop.wav", "null.wav"}))
        << what;
  }
}

// An interrupted copy leaves a module whose segments the file does not hold; the loader would map
// them anyway and the first touch would end the command with a bus error.
TEST_F(CommandProcess, RefusesAModuleCutShortAndTakesABundleTypedWithSlashes) {
  namespace fs = std::filesystem;
  fs::copy_file(BREL_TEST_PLUGIN, mDir.File("cut.so"));
  fs::copy(BREL_TEST_BUNDLE, mDir.File("Cut.vst3"), fs::copy_options::recursive);
  const std::string cutBundleModule = mDir.File("Cut.vst3/Contents/x86_64-linux/Cut.so");
  fs::rename(mDir.File("Cut.vst3/Contents/x86_64-linux/Brelvane.so"), cutBundleModule);
  for (const std::string& module : {mDir.File("cut.so"), cutBundleModule})
    ASSERT_EQ(::truncate(module.c_str(), 100000), 0);
  test::WriteText(mDir.File("text.so"), "not a module\n");
  const std::pair<std::string, std::string> cases[] = {
      {mDir.File("cut.so"), "the file is cut short: its segments end at "},
      {mDir.File("Cut.vst3"), "its module file '" + cutBundleModule + "' is cut short: its segments end at "},
      {mDir.File("Cut.vst3//"), "its module file '" + cutBundleModule + "' is cut short"},
      {mDir.File("text.so"), "the file is not a shared library: it has no ELF header"},
      {std::string(BREL_TEST_BUNDLE) + "/", ""},
      {"./" + fs::relative(BREL_TEST_BUNDLE).string() + "//", ""},
  };
  for (const auto& [plugin, says] : cases) {
    Outcome o = Run({"params", "--plugin", plugin});
    EXPECT_EQ(o.status, says.empty() ? 0 : 2) << plugin << ": " << o.err;
    EXPECT_EQ(Lines(o.err), says.empty() ? 0 : 1) << o.err;
    EXPECT_NE(o.err.find(says), std::string::npos) << o.err;
    if (says.empty()) {
      EXPECT_NE(o.out.find("11 parameters"), std::string::npos) << plugin;
    }
    if (plugin.find("cut") != std::string::npos) {
      EXPECT_NE(o.err.find(" bytes but the file holds 100000\n"), std::string::npos) << o.err;
    }
  }
}

// Whatever goes wrong, and whatever text a library hands up, the user reads one line.
TEST_F(CommandProcess, EveryErrorIsOneLine) {
  namespace fs = std::filesystem;
  // A program is a whole ELF object of this machine, which the VST3 loader refuses in two lines.
  fs::create_directories(mDir.File("Pie.vst3/Contents/x86_64-linux"));
  fs::copy_file(BREL_TEST_COMMAND, mDir.File("Pie.vst3/Contents/x86_64-linux/Pie.so"));
  const std::vector<std::string> cases[] = {
      {"snapshot"},
      {"snapshot", mDir.File("a.png"), "--meters", "nan,1"},
      {"snapshot", mDir.File("a.png"), "--param", "Bass"},
      {"snapshot", mDir.File("a.png"), mDir.File("b.png")},
      {"snapshot", mDir.File("a.png"), "--colour"},
      {"params", "--plugin", mDir.File("Pie.vst3")},
  };
  for (const auto& args : cases) {
    Outcome o = Run(args);
    EXPECT_EQ(o.status, 2) << args.back() << ": " << o.err;
    EXPECT_EQ(Lines(o.err), 1) << o.err;
    EXPECT_EQ(o.err.rfind("brelvane: ", 0), 0u) << o.err;
  }
  EXPECT_EQ(mDir.Entries(), std::vector<std::string>{"Pie.vst3"});
}

// One resolver for every command: snapshot takes exactly the values render takes, and refuses the
// others in the same words.
TEST_F(CommandProcess, SnapshotAndRenderTakeTheSameValues) {
  test::WriteAudio(mDir.File("in.wav"),
                   test::Sine(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 48000, 200, 0.3, 220));
  const std::pair<const char*, bool> values[] = {
      {"Bass=1e308", false}, {"Bass=inf", false}, {"Bass=-inf", false},   {"Mode=9", false},
      {"Mode=2.5", false},   {"Nope=1", false},   {"Bass=-3 dB", true},   {"Mode=b", true},
      {"power=0", true},     {"8=D", true},       {"Pres Comp=25", true}, {"LowCut=20", true},
  };
  for (const auto& [value, taken] : values) {
    Outcome render = Render("in.wav", "out.wav", {"--param", value});
    Outcome snapshot = Run({"snapshot", mDir.File("out.png"), "--param", value});
    EXPECT_EQ(render.status, taken ? 0 : 2) << value << ": " << render.err;
    EXPECT_EQ(snapshot.status, render.status) << value << ": " << snapshot.err;
    EXPECT_EQ(snapshot.err, render.err) << value;
  }
}

TEST_F(CommandProcess, RefusesImpossibleRatesAndSaysWhenAFileIsCutOff) {
  for (std::uint32_t rate : {1u, 7999u, 768001u, 1000000000u}) {
    test::WriteBytes(mDir.File("rate.wav"), WavBytes(rate, 100, 100));
    Outcome o = Render("rate.wav", "out.wav");
    EXPECT_EQ(o.status, 2) << rate;
    EXPECT_NE(o.err.find("sample rate is " + std::to_string(rate) + " Hz"), std::string::npos) << o.err;
  }
  test::WriteBytes(mDir.File("zero.aiff"), AiffAtRateZero());
  Outcome zero = Render("zero.aiff", "out.wav");
  EXPECT_EQ(zero.status, 2) << zero.err;
  EXPECT_NE(zero.err.find("only rates from 8000 to 768000 Hz"), std::string::npos) << zero.err;
  EXPECT_EQ(mDir.Entries(), (std::vector<std::string>{"rate.wav", "zero.aiff"}));

  test::WriteBytes(mDir.File("cut.wav"), WavBytes(8000, 1000, 500));
  Outcome cut = Render("cut.wav", "out.wav");
  EXPECT_EQ(cut.status, 0) << cut.err;
  EXPECT_NE(cut.err.find("'" + mDir.File("cut.wav") + "' holds 500 frames but its header declares 1000"),
            std::string::npos)
      << cut.err;
  EXPECT_EQ(test::ReadAudio(mDir.File("out.wav")).Frames(), 500);
  test::WriteBytes(mDir.File("whole.wav"), WavBytes(768000, 1000, 1000));
  Outcome whole = Render("whole.wav", "out.wav");
  EXPECT_EQ(whole.status, 0) << whole.err;
  EXPECT_EQ(whole.err, "");
}

TEST_F(CommandProcess, HangUpAndQuitStopARenderLikeCtrlC) {
  test::WriteAudio(mDir.File("in.wav"),
                   test::Sine(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 48000, 4800, 0.3, 220));
  for (int sig : {SIGHUP, SIGQUIT, SIGINT}) {
    // Ten minutes of warm-up keep the render busy until the signal comes.
    pid_t pid = Start({"render", mDir.File("in.wav"), mDir.File("out.wav"), "--preroll", "600"});
    for (int i = 0; i < 2000 && mDir.Entries().size() < 2; ++i) ::usleep(10000);
    ASSERT_EQ(mDir.Entries().size(), 2u) << "the render's temporary output";
    ::kill(pid, sig);
    Outcome o = Finish(pid);
    EXPECT_EQ(o.status, 130) << sig << ": " << o.err;
    EXPECT_EQ(o.err, "brelvane: interrupted\n");
    EXPECT_EQ(mDir.Entries(), std::vector<std::string>{"in.wav"});
  }
}

TEST_F(CommandProcess, WritesWhereAnOutputLinkPoints) {
  test::WriteAudio(mDir.File("in.wav"),
                   test::Sine(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 48000, 300, 0.3, 220));
  ::mkdir(mDir.File("takes").c_str(), 0755);
  ASSERT_EQ(::symlink("takes/real.wav", mDir.File("out.wav").c_str()), 0);
  ASSERT_EQ(::symlink("../out.wav", mDir.File("takes/chain.wav").c_str()), 0);
  for (const char* name : {"out.wav", "takes/chain.wav"}) {
    ASSERT_EQ(Render("in.wav", name).status, 0);
    struct stat st {};
    ASSERT_EQ(::lstat(mDir.File("out.wav").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << name;
    EXPECT_EQ(test::ReadAudio(mDir.File("takes/real.wav")).Frames(), 300);
    EXPECT_EQ(mDir.Entries(), (std::vector<std::string>{"in.wav", "out.wav", "takes"}));
  }
}

// The warm-up is the plug-in running on silence: a default render equals the chain fed one second
// of silence before the take, and --preroll 0 the chain started on the take itself.
TEST_F(CommandProcess, ARenderMeetsAPluginThatWasAlreadyPlaying) {
  const int rate = 48000, frames = 6000;
  AudioData in = test::Sine(SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 2, rate, frames, 0.5, 300.0);
  test::WriteAudio(mDir.File("in.wav"), in);
  ASSERT_EQ(Render("in.wav", "warm.wav", {"--param", "Mode=B"}).status, 0);
  ASSERT_EQ(Render("in.wav", "cold.wav", {"--param", "Mode=B", "--preroll", "0"}).status, 0);
  ASSERT_EQ(Render("in.wav", "short.wav", {"--param", "Mode=B", "--preroll", "0.25"}).status, 0);
  const double defaults[] = {12.5, 100, 53.5, 0, 0, 0, 0, 1, 2, 1, 0};
  for (int preroll : {rate, 0, rate / 4}) {
    VocalChain chain;
    chain.SetSampleRate(rate);
    for (int i = 0; i < VocalChain::kNumParams; ++i) chain.OnParamChanged(i, defaults[i]);
    std::vector<double> l(frames + preroll, 0.0), r(frames + preroll, 0.0), ol(l.size()), orr(l.size());
    for (int f = 0; f < frames; ++f) l[preroll + f] = r[preroll + f] = in.samples[2 * f];
    const double* ins[] = {l.data(), r.data()};
    double* outs[] = {ol.data(), orr.data()};
    chain.Process(ins, outs, frames + preroll, 1.0, rate);
    AudioData got = test::ReadAudio(mDir.File(preroll == rate ? "warm.wav"
                                              : preroll       ? "short.wav"
                                                              : "cold.wav"));
    ASSERT_EQ(got.Frames(), frames);
    for (int f = 0; f < frames; ++f) {
      ASSERT_EQ(got.samples[2 * f], ol[preroll + f]) << preroll << " " << f;
      ASSERT_EQ(got.samples[2 * f + 1], orr[preroll + f]) << preroll << " " << f;
    }
  }
}

int PeakFrame(const AudioData& a) {
  int best = 0;
  for (int f = 0; f < a.Frames(); ++f)
    if (std::fabs(a.samples[f * a.channels]) > std::fabs(a.samples[best * a.channels])) best = f;
  return best;
}

TEST_F(CommandProcess, AlignedRendersPutAnImpulseBackWhereItWas) {
  const int at = 3000;
  for (int rate : {44100, 48000, 96000, 22050}) {
    AudioData in;
    in.format = SF_FORMAT_WAV | SF_FORMAT_DOUBLE;
    in.channels = 2;
    in.sampleRate = rate;
    in.samples.assign(2 * 8000, 0.0);
    in.samples[2 * at] = in.samples[2 * at + 1] = 0.1;
    test::WriteAudio(mDir.File("in.wav"), in);
    for (const char* mode : {"A", "B", "C", "D"}) {
      Outcome late = Render("in.wav", "late.wav", {"--param", std::string("Mode=") + mode});
      Outcome aligned = Render("in.wav", "aligned.wav", {"--param", std::string("Mode=") + mode, "--align"});
      ASSERT_EQ(late.status, 0) << late.err;
      ASSERT_EQ(aligned.status, 0) << aligned.err;
      const int delay = VocalChain::ProcessedDelay(*mode - 'A' + 1, rate);
      AudioData a = test::ReadAudio(mDir.File("aligned.wav")), l = test::ReadAudio(mDir.File("late.wav"));
      ASSERT_EQ(a.Frames(), 8000);
      EXPECT_EQ(PeakFrame(a), at) << rate << " Hz, mode " << mode;
      EXPECT_EQ(PeakFrame(l), at + delay) << rate << " Hz, mode " << mode;
      for (int f = 0; f + delay < 8000; ++f)
        ASSERT_EQ(a.samples[2 * f], l.samples[2 * (f + delay)]) << "the same signal, only earlier";
      char line[128];
      std::snprintf(line, sizeof line, "delay         %d samples (%.2f ms), ", delay, 1000.0 * delay / rate);
      EXPECT_NE(late.out.find(line), std::string::npos) << late.out;
      EXPECT_NE(aligned.out.find(std::string(line) + (delay ? "compensated" : "nothing")), std::string::npos)
          << aligned.out;
    }
  }
  EXPECT_EQ(VocalChain::ProcessedDelay(1, 44100), 130);
  EXPECT_EQ(VocalChain::ProcessedDelay(4, 44100), 0);

  // What the input meets decides: mode D set at its first frame, or "Power" off (the output is then
  // the input itself, which no shift may move).
  Outcome d = Render("in.wav", "d.wav", {"--param", "Mode=B", "--at", "0:Mode=D", "--align"});
  EXPECT_EQ(PeakFrame(test::ReadAudio(mDir.File("d.wav"))), at) << d.err;
  EXPECT_NE(d.out.find("delay         0 samples (0.00 ms), nothing to compensate"), std::string::npos)
      << d.out;
  Outcome off = Render("in.wav", "off.wav", {"--param", "Power=off", "--align"});
  EXPECT_EQ(test::ReadAudio(mDir.File("off.wav")).samples, test::ReadAudio(mDir.File("in.wav")).samples)
      << off.err;
  EXPECT_NE(off.out.find("delay         0 samples (0.00 ms), none: \"Power\" is off"), std::string::npos)
      << off.out;
}

}  // namespace
}  // namespace brel::cmd
