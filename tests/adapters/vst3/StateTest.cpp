// The state stream: its layout, restoring it whole, cut short or hostile, and the same sound from
// a state carried to another instance.

#include <cmath>
#include <cstring>

#include "tests/adapters/vst2/ModuleFixture.h"
#include "tests/adapters/vst3/Vst3Fixture.h"

using namespace Steinberg;
using namespace vst3test;
using vst2test::DoubleAt;
using vst2test::FirstDifference;
using vst2test::Int32At;
using vst2test::PutDouble;
using vst2test::SpeechLike;

namespace {

using State = PluginTest;

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}

TEST_F(State, HoldsEveryValueThenTheBypassFlag) {
  const std::vector<std::uint8_t> state = host.GetState();
  ASSERT_EQ(state.size(), 92u);
  EXPECT_EQ(DoubleAt(state, 0), 12.5);
  EXPECT_EQ(DoubleAt(state, 8 * kMode), 1.0);
  EXPECT_EQ(Int32At(state, 88), 0);
  EXPECT_EQ(host.GetControllerState(), state) << "the controller hands out the same stream";

  host.QueueParameter(kBypass, 1.0);
  Flush(host);
  EXPECT_EQ(Int32At(host.GetState(), 88), 1);
}

TEST_F(State, RestoresWhatItHolds) {
  std::vector<std::uint8_t> state = host.GetState();
  PutDouble(state, 0, -5.0);
  PutDouble(state, 8 * kMode, 4.0);
  state[88] = 1;
  EXPECT_EQ(host.SetState(state), kResultOk);
  EXPECT_EQ(EditController().getParamNormalized(kPresComp), 0.0);
  EXPECT_EQ(EditController().getParamNormalized(kMode), 1.0);
  EXPECT_EQ(EditController().getParamNormalized(kBypass), 1.0);
  EXPECT_EQ(host.GetState(), state);
  state[88] = 0;
  EXPECT_EQ(host.SetControllerState(state), kResultOk);
  EXPECT_EQ(EditController().getParamNormalized(kBypass), 0.0);
}

TEST_F(State, AStreamCutShortRestoresTheValuesItCovers) {
  const std::vector<std::uint8_t> defaults = host.GetState();
  std::vector<std::uint8_t> state = defaults;
  for (int i = 0; i < kNumParams; ++i) PutDouble(state, 8 * i, -1000.0);  // each one's minimum
  state[88] = 1;
  EXPECT_EQ(host.SetState(Cut(state, 88)), kResultFalse) << "no bypass flag";
  EXPECT_EQ(EditController().getParamNormalized(kBypass), 0.0);
  EXPECT_EQ(NormalizedValues(host), std::vector<double>(kNumParams, 0.0));

  ASSERT_EQ(host.SetState(defaults), kResultOk);
  EXPECT_EQ(host.SetState(Cut(state, 16)), kResultFalse);
  const std::vector<double> values = NormalizedValues(host);
  EXPECT_EQ(values[0], 0.0);
  EXPECT_EQ(values[1], 0.0);
  ASSERT_EQ(host.SetState(defaults), kResultOk);
  const std::vector<double> initial = NormalizedValues(host);
  EXPECT_EQ(std::vector<double>(values.begin() + 2, values.end()),
            std::vector<double>(initial.begin() + 2, initial.end()))
      << "the others keep their values";
}

TEST_F(State, HostileStreamsLeaveEveryParameterInRange) {
  EXPECT_EQ(host.SetState({}), kResultFalse);
  EXPECT_EQ(host.Component()->setState(nullptr), kResultFalse);
  std::vector<std::uint8_t> state = host.GetState();
  const double hostile[] = {NAN, INFINITY, -INFINITY, 1e308, -1e308, 0.5};
  for (int i = 0; i < kNumParams; ++i) PutDouble(state, 8 * i, hostile[i % 6]);
  host.SetState(state);
  for (double value : NormalizedValues(host)) {
    EXPECT_GE(value, 0.0);
    EXPECT_LE(value, 1.0);
  }
}

TEST_F(State, AStateCarriedToAnotherInstanceSoundsTheSame) {
  std::vector<std::uint8_t> state = host.GetState();
  PutDouble(state, 8 * kPresComp, 20.0);
  PutDouble(state, 8 * kMode, 4.0);
  PutDouble(state, 8 * 4, 5.0);  // Crispy
  ASSERT_EQ(host.SetState(state), kResultOk);
  const std::vector<std::uint8_t> saved = host.GetState();

  brel::Vst3Host other;
  ASSERT_TRUE(CreateFromBundle(other));
  ASSERT_EQ(other.SetState(saved), kResultOk);
  ASSERT_TRUE(host.Setup(kRate, kMaxBlock) && host.Start());
  ASSERT_TRUE(other.Setup(kRate, kMaxBlock) && other.Start());
  const Stereo<float> in = SpeechLike(12000);
  const Stereo<float> first = Render(host, in, kMaxBlock);
  EXPECT_EQ(FirstDifference(first, Render(other, in, kMaxBlock)), "");

  brel::Vst3Host fresh;
  ASSERT_TRUE(CreateFromBundle(fresh));
  ASSERT_TRUE(fresh.Setup(kRate, kMaxBlock) && fresh.Start());
  EXPECT_NE(FirstDifference(first, Render(fresh, in, kMaxBlock)), "") << "the state does change the sound";
}

// The VST2 module and the VST3 bundle given the same values and the same audio.
class BothModules : public ::testing::TestWithParam<bool> {};

TEST_P(BothModules, RenderIdenticallySampleForSample) {
  const bool wide = GetParam();
  brel::Vst3Host vst3;
  ASSERT_TRUE(CreateFromBundle(vst3));
  std::vector<std::uint8_t> state = vst3.GetState();
  const double values[kNumParams] = {18.0, 140.0, 70.0, 4.0, 3.0, 6.0, -2.0, 1.0, 3.0, 1.0, 1.0};
  for (int i = 0; i < kNumParams; ++i) PutDouble(state, 8 * static_cast<std::size_t>(i), values[i]);
  ASSERT_TRUE(vst3.Setup(kRate, kMaxBlock, wide ? Vst::kSample64 : Vst::kSample32));
  ASSERT_EQ(vst3.SetState(state), kResultOk);
  ASSERT_TRUE(vst3.Start());

  // The same values as a program chunk: the header, then the same parameter block.
  brel::VstHost vst2;
  ASSERT_TRUE(vst2.Load(vst2test::ModulePath())) << vst2.LastError();
  vst2.Open();
  vst2.SetSampleRate(static_cast<float>(kRate));
  vst2.SetBlockSize(kMaxBlock);
  const std::uint8_t header[8] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  std::vector<std::uint8_t> chunk(8 + 88);
  std::memcpy(chunk.data(), header, 8);
  std::memcpy(chunk.data() + 8, state.data(), 88);
  ASSERT_TRUE(vst2.SetChunk(brel::VstHost::ChunkKind::Program, chunk));
  vst2.Resume();

  const Stereo<float> in = SpeechLike(24000);
  if (wide) {
    const Stereo<double> in64 = vst2test::Widened(in);
    EXPECT_EQ(FirstDifference(Render(vst3, in64, kMaxBlock), vst2test::RenderDouble(vst2, in64, kMaxBlock)),
              "");
  } else {
    EXPECT_EQ(FirstDifference(Render(vst3, in, kMaxBlock), vst2test::RenderFloat(vst2, in, kMaxBlock)), "");
  }
}

INSTANTIATE_TEST_SUITE_P(In32And64Bits, BothModules, ::testing::Bool());

}  // namespace
