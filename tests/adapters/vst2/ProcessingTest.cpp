// Audio through the three processing callbacks: replacing and accumulating 32-bit, replacing
// 64-bit; blocks of any length with or without a block size from the host; sample rates; the
// determinism a host relies on when it renders the same take twice.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "tests/adapters/vst2/ModuleFixture.h"

using brel::VstHost;
using vst2test::FirstDifference;
using vst2test::FloatCall;
using vst2test::PluginTest;
using vst2test::RenderDouble;
using vst2test::RenderFloat;
using vst2test::SpeechLike;
using vst2test::StartPlugin;
using vst2test::Stereo;

namespace {

class Processing : public PluginTest {
protected:
  // A second fresh instance, started the same way, to compare against.
  void SetUp() override {
    PluginTest::SetUp();
    ASSERT_TRUE(StartPlugin(mOther));
  }

  VstHost mOther;
};

constexpr int kPower = 7, kMode = 8, kFLimit = 10;

}  // namespace

TEST_F(Processing, DefaultSettingsTurnSpeechIntoAudibleFiniteOutput) {
  const Stereo<float> in = SpeechLike(48000);
  const Stereo<float> out = RenderFloat(mHost, in, 512);
  EXPECT_TRUE(vst2test::AllFinite(out));
  EXPECT_GT(vst2test::Peak(out, 24000), 0.05);
  EXPECT_NE(FirstDifference(in, out), "");
}

TEST_F(Processing, TwoFreshInstancesGiveBitIdenticalOutput) {
  const Stereo<float> in = SpeechLike(48000);
  EXPECT_EQ(FirstDifference(RenderFloat(mHost, in, 512), RenderFloat(mOther, in, 512)), "");
}

TEST_F(Processing, ReplacingOverwritesWhatTheOutputsHeld) {
  const Stereo<float> in = SpeechLike(9600);
  const Stereo<float> clean = RenderFloat(mHost, in, 512, FloatCall::Replacing, 0.0f);
  const Stereo<float> dirty = RenderFloat(mOther, in, 512, FloatCall::Replacing, 123.0f);
  EXPECT_EQ(FirstDifference(clean, dirty), "");
}

TEST_F(Processing, AccumulatingAddsTheResultToWhatTheOutputsHeld) {
  const Stereo<float> in = SpeechLike(9600);
  const Stereo<float> replaced = RenderFloat(mHost, in, 512);
  const Stereo<float> added = RenderFloat(mOther, in, 512, FloatCall::Accumulating, 0.25f);
  for (int n = 0; n < in.Frames(); ++n) {
    ASSERT_EQ(added.left[n], 0.25f + replaced.left[n]) << "frame " << n;
    ASSERT_EQ(added.right[n], 0.25f + replaced.right[n]) << "frame " << n;
  }
}

TEST_F(Processing, DoublePathMatchesTheFloatPathUpToFloatRounding) {
  const Stereo<float> in = SpeechLike(24000);
  const Stereo<float> out32 = RenderFloat(mHost, in, 512);
  const Stereo<double> out64 = RenderDouble(mOther, vst2test::Widened(in), 512);
  for (int n = 0; n < in.Frames(); ++n) {
    ASSERT_EQ(static_cast<float>(out64.left[n]), out32.left[n]) << "frame " << n;
    ASSERT_EQ(static_cast<float>(out64.right[n]), out32.right[n]) << "frame " << n;
  }
}

TEST_F(Processing, DoublePathDeliversDoublePrecision) {
  const Stereo<double> out = RenderDouble(mHost, vst2test::Widened(SpeechLike(4800)), 512);
  int beyondFloat = 0;
  for (int n = 0; n < out.Frames(); ++n)
    if (static_cast<double>(static_cast<float>(out.left[n])) != out.left[n]) ++beyondFloat;
  EXPECT_GT(beyondFloat, out.Frames() / 2);
}

TEST_F(Processing, DoubleReplacingOverwritesWhatTheOutputsHeld) {
  const Stereo<double> in = vst2test::Widened(SpeechLike(9600));
  EXPECT_EQ(FirstDifference(RenderDouble(mHost, in, 512, 0.0), RenderDouble(mOther, in, 512, -7.0)), "");
}

TEST_F(Processing, WithoutABlockSizeFromTheHostBlocksOf1024FramesWork) {
  const Stereo<float> in = SpeechLike(24576);
  const Stereo<float> whole = RenderFloat(mHost, in, 1024);
  EXPECT_GT(vst2test::Peak(whole, 12000), 0.05);
  EXPECT_EQ(FirstDifference(whole, RenderFloat(mOther, in, 64)), "");
}

TEST_F(Processing, HowTheHostCutsTheAudioIntoBlocksDoesNotChangeIt) {
  const Stereo<float> in = SpeechLike(24000);
  const Stereo<float> reference = RenderFloat(mHost, in, 512);
  for (int block : {1, 7, 333, 1024, 8192, 24000}) {
    VstHost fresh;
    ASSERT_TRUE(StartPlugin(fresh));
    EXPECT_EQ(FirstDifference(reference, RenderFloat(fresh, in, block)), "") << block << "-frame blocks";
  }
}

TEST_F(Processing, CallsLongerThanTheAnnouncedBlockSizeAreServedInSlices) {
  ASSERT_TRUE(mHost.SetBlockSize(256));
  ASSERT_TRUE(mOther.SetBlockSize(256));
  const Stereo<float> in = SpeechLike(12000);
  EXPECT_EQ(FirstDifference(RenderFloat(mHost, in, 1000), RenderFloat(mOther, in, 250)), "");
}

TEST_F(Processing, DoubleCallsLongerThanTheBlockSizeAreServedInSlices) {
  ASSERT_TRUE(mHost.SetBlockSize(100));
  const Stereo<double> in = vst2test::Widened(SpeechLike(12000));
  EXPECT_EQ(FirstDifference(RenderDouble(mHost, in, 3000), RenderDouble(mOther, in, 100)), "");
}

TEST_F(Processing, AnnouncingABlockSizeDoesNotChangeTheSound) {
  ASSERT_TRUE(mHost.SetBlockSize(64));
  const Stereo<float> in = SpeechLike(12000);
  EXPECT_EQ(FirstDifference(RenderFloat(mHost, in, 64), RenderFloat(mOther, in, 64)), "");
}

TEST_F(Processing, BlockSizesBelowOneFrameAreIgnored) {
  mHost.SetBlockSize(0);
  mHost.SetBlockSize(-512);
  const Stereo<float> in = SpeechLike(8192);
  const Stereo<float> out = RenderFloat(mHost, in, 1024);
  EXPECT_EQ(FirstDifference(out, RenderFloat(mOther, in, 1024)), "");
  EXPECT_GT(vst2test::Peak(out, 4096), 0.01);
}

TEST_F(Processing, ABlockSizeNoMemoryCanHoldIsIgnored) {
  mHost.SetBlockSize(0x7FFFFFFF);
  const Stereo<float> in = SpeechLike(8192);
  EXPECT_EQ(FirstDifference(RenderFloat(mHost, in, 4096), RenderFloat(mOther, in, 4096)), "");
}

TEST_F(Processing, EmptyAndNegativeFrameCountsTouchNothing) {
  AEffect* effect = vst2test::RawEffect(mHost);
  std::vector<float> in(64, 0.5f), out(64, 9.0f);
  std::vector<double> in64(64, 0.5), out64(64, 9.0);
  float* inputs[2] = {in.data(), in.data()};
  float* outputs[2] = {out.data(), out.data()};
  double* inputs64[2] = {in64.data(), in64.data()};
  double* outputs64[2] = {out64.data(), out64.data()};
  for (VstInt32 frames : {0, -1, -64}) {
    effect->processReplacing(effect, inputs, outputs, frames);
    effect->process(effect, inputs, outputs, frames);
    effect->processDoubleReplacing(effect, inputs64, outputs64, frames);
  }
  for (int n = 0; n < 64; ++n) {
    ASSERT_EQ(out[n], 9.0f);
    ASSERT_EQ(out64[n], 9.0);
  }
  // Nothing was consumed either: the instance still sounds like a fresh one.
  const Stereo<float> signal = SpeechLike(4800);
  EXPECT_EQ(FirstDifference(RenderFloat(mHost, signal, 512), RenderFloat(mOther, signal, 512)), "");
}

TEST_F(Processing, UnusableSampleRatesAreIgnored) {
  const float inf = std::numeric_limits<float>::infinity();
  for (float rate : {0.0f, -1.0f, -48000.0f, std::numeric_limits<float>::quiet_NaN(), inf, -inf})
    mHost.SetSampleRate(rate);
  const Stereo<float> in = SpeechLike(24000);
  EXPECT_EQ(FirstDifference(RenderFloat(mHost, in, 512), RenderFloat(mOther, in, 512)), "");
}

TEST_F(Processing, TheSampleRateShapesTheSound) {
  // The counterpart of the test above: were the rate not used at all, it could not fail.
  mOther.SetSampleRate(44100.0f);
  const Stereo<float> in = SpeechLike(24000);
  EXPECT_NE(FirstDifference(RenderFloat(mHost, in, 512), RenderFloat(mOther, in, 512)), "");
}

TEST_F(Processing, SuspendingAndResumingKeepsTheStreamGoing) {
  const Stereo<float> in = SpeechLike(24000);
  const Stereo<float> reference = RenderFloat(mOther, in, 500);
  Stereo<float> first, second;
  first.left.assign(in.left.begin(), in.left.begin() + 12000);
  first.right.assign(in.right.begin(), in.right.begin() + 12000);
  second.left.assign(in.left.begin() + 12000, in.left.end());
  second.right.assign(in.right.begin() + 12000, in.right.end());
  const Stereo<float> a = RenderFloat(mHost, first, 500);
  ASSERT_TRUE(mHost.Suspend());
  ASSERT_TRUE(mHost.SetSampleRate(vst2test::kRate));
  ASSERT_TRUE(mHost.Resume());
  const Stereo<float> b = RenderFloat(mHost, second, 500);
  for (int n = 0; n < in.Frames(); ++n) {
    const Stereo<float>& part = n < 12000 ? a : b;
    const int at = n < 12000 ? n : n - 12000;
    ASSERT_EQ(part.left[at], reference.left[n]) << "frame " << n;
    ASSERT_EQ(part.right[at], reference.right[n]) << "frame " << n;
  }
}

TEST_F(Processing, PowerOffPassesTheInputThroughExactlyOnceSettled) {
  mHost.SetParameter(kPower, 0.0f);
  mOther.SetParameter(kPower, 0.0f);
  const Stereo<float> in = SpeechLike(24000, 48000.0, 0.9);
  const Stereo<float> out32 = RenderFloat(mHost, in, 512);
  const Stereo<double> in64 = vst2test::Widened(in);
  const Stereo<double> out64 = RenderDouble(mOther, in64, 512);
  for (int n = 9600; n < in.Frames(); ++n) {  // the fade-out is over well within 200 ms
    ASSERT_EQ(out32.left[n], in.left[n]) << "frame " << n;
    ASSERT_EQ(out32.right[n], in.right[n]) << "frame " << n;
    ASSERT_EQ(out64.left[n], in64.left[n]) << "frame " << n;
    ASSERT_EQ(out64.right[n], in64.right[n]) << "frame " << n;
  }
}

TEST_F(Processing, LoudInputIsHeldAtFullScaleInModeDWithTheFinalLimitOn) {
  mHost.SetParameter(kMode, 1.0f);
  mHost.SetParameter(kFLimit, 1.0f);
  const Stereo<float> in = vst2test::Scaled(SpeechLike(48000), 8.0f);
  ASSERT_GT(vst2test::Peak(in), 3.0);
  const Stereo<float> out = RenderFloat(mHost, in, 512);
  EXPECT_LE(vst2test::Peak(out, 14400), 1.0 + 1e-6);
  EXPECT_GT(vst2test::Peak(out, 14400), 0.5);
}

TEST_F(Processing, MidiAndSysexEventsAreAcceptedAndLeaveTheSoundAlone) {
  VstMidiEvent note{};
  note.type = kVstMidiType;
  note.byteSize = sizeof(VstMidiEvent);
  note.deltaFrames = 3;
  note.midiData[0] = static_cast<char>(0x90);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  char dump[] = {static_cast<char>(0xF0), 0x7E, 0x00, static_cast<char>(0xF7)};
  VstMidiSysexEvent sysex{};
  sysex.type = kVstSysExType;
  sysex.byteSize = sizeof(VstMidiSysexEvent);
  sysex.dumpBytes = sizeof(dump);
  sysex.sysexDump = dump;
  VstEvent otherKind{};
  otherKind.type = 3;
  otherKind.byteSize = sizeof(VstEvent);
  const std::vector<const VstEvent*> events = {reinterpret_cast<const VstEvent*>(&note), nullptr,
                                               reinterpret_cast<const VstEvent*>(&sysex), &otherKind};
  EXPECT_EQ(mHost.SendEvents(events), 1);
  EXPECT_EQ(mHost.SendEvents({}), 1);
  EXPECT_EQ(mHost.Dispatch(effProcessEvents, 0, 0, nullptr), 0);
  const Stereo<float> in = SpeechLike(4800);
  EXPECT_EQ(FirstDifference(RenderFloat(mHost, in, 512), RenderFloat(mOther, in, 512)), "");
  EXPECT_EQ(mHost.Record().wantMidiCalls, 0);
}

// --- Mono arrangements ----------------------------------------------------------------------------

namespace {

// The left output a stereo instance gives for the left input with a silent right input: what a
// mono instance must give, since its unfed second input reads silence.
Stereo<float> LeftWithSilentRight(const Stereo<float>& in) {
  VstHost stereo;
  EXPECT_TRUE(StartPlugin(stereo));
  Stereo<float> silentRight = in;
  std::fill(silentRight.right.begin(), silentRight.right.end(), 0.0f);
  return RenderFloat(stereo, silentRight, 512);
}

enum class Callback { Replacing, Accumulating, DoubleReplacing };

// Runs the left channel through a raw callback with exactly one pointer per side, in arrays of
// exactly that size, so a plug-in reading a second pointer reads outside them.
std::vector<float> RenderMono(VstHost& host, const std::vector<float>& left, Callback callback) {
  AEffect* effect = vst2test::RawEffect(host);
  std::vector<float> out(left.size(), 0.0f);
  std::vector<double> in64(left.begin(), left.end()), out64(left.size(), 0.0);
  for (std::size_t at = 0; at < left.size(); at += 512) {
    const VstInt32 n = static_cast<VstInt32>(std::min<std::size_t>(512, left.size() - at));
    if (callback == Callback::DoubleReplacing) {
      std::unique_ptr<double*[]> inputs(new double* [1] { in64.data() + at });
      std::unique_ptr<double*[]> outputs(new double* [1] { out64.data() + at });
      effect->processDoubleReplacing(effect, inputs.get(), outputs.get(), n);
    } else {
      std::vector<float> source(left.begin() + at, left.begin() + at + n);
      std::unique_ptr<float*[]> inputs(new float* [1] { source.data() });
      std::unique_ptr<float*[]> outputs(new float* [1] { out.data() + at });
      if (callback == Callback::Replacing)
        effect->processReplacing(effect, inputs.get(), outputs.get(), n);
      else
        effect->process(effect, inputs.get(), outputs.get(), n);
    }
  }
  if (callback == Callback::DoubleReplacing)
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = static_cast<float>(out64[i]);
  return out;
}

}  // namespace

TEST_F(Processing, MonoArrangementsAreAcceptedWhileTheReportedOnesStayStereo) {
  EXPECT_TRUE(mHost.SetSpeakerArrangement(VstHost::MakeArrangement(1), VstHost::MakeArrangement(1)));
  VstSpeakerArrangement in{}, out{};
  ASSERT_TRUE(mHost.GetSpeakerArrangement(in, out));
  EXPECT_EQ(in.numChannels, 2);
  EXPECT_EQ(out.numChannels, 2);
  EXPECT_EQ(mHost.NumInputs(), 2);
}

TEST_F(Processing, MonoInstancesUseOnePointerPerSideInEveryCallback) {
  const Stereo<float> in = SpeechLike(12000);
  const Stereo<float> expected = LeftWithSilentRight(in);
  for (Callback callback : {Callback::Replacing, Callback::Accumulating, Callback::DoubleReplacing}) {
    VstHost mono;
    ASSERT_TRUE(StartPlugin(mono));
    ASSERT_TRUE(mono.SetSpeakerArrangement(VstHost::MakeArrangement(1), VstHost::MakeArrangement(1)));
    const std::vector<float> out = RenderMono(mono, in.left, callback);
    for (int n = 0; n < in.Frames(); ++n)
      ASSERT_EQ(out[n], expected.left[n]) << "callback " << int(callback) << ", frame " << n;
  }
}

TEST_F(Processing, MonoInstancesLeaveWhatFollowsTheFirstPointerAlone) {
  ASSERT_TRUE(mHost.SetSpeakerArrangement(VstHost::MakeArrangement(1), VstHost::MakeArrangement(1)));
  const Stereo<float> in = SpeechLike(4096);
  const Stereo<float> expected = LeftWithSilentRight(in);
  // Second pointers a careless plug-in might follow: loud input, and an output that must keep its
  // contents.
  std::vector<float> left = in.left, loud(in.Frames(), 0.9f), out(in.Frames(), 0.0f),
                     untouched(in.Frames(), 5.0f);
  AEffect* effect = vst2test::RawEffect(mHost);
  for (int at = 0; at < in.Frames(); at += 512) {
    float* inputs[2] = {left.data() + at, loud.data() + at};
    float* outputs[2] = {out.data() + at, untouched.data() + at};
    effect->processReplacing(effect, inputs, outputs, 512);
  }
  for (int n = 0; n < in.Frames(); ++n) {
    ASSERT_EQ(untouched[n], 5.0f) << "frame " << n;
    ASSERT_EQ(out[n], expected.left[n]) << "frame " << n;
  }
}

TEST_F(Processing, ReturningToStereoBeforePlayingSoundsLikeStereoAllAlong) {
  ASSERT_TRUE(mHost.SetSpeakerArrangement(VstHost::MakeArrangement(1), VstHost::MakeArrangement(1)));
  ASSERT_TRUE(mHost.SetSpeakerArrangement(VstHost::MakeArrangement(2), VstHost::MakeArrangement(2)));
  const Stereo<float> in = SpeechLike(9600);
  EXPECT_EQ(FirstDifference(RenderFloat(mHost, in, 512), RenderFloat(mOther, in, 512)), "");
}
