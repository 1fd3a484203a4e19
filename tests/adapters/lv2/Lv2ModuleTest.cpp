// The LV2 plug-in binary as a careless host meets it: ports connected late, moved, aliased or not
// at all, blocks of no frames and blocks longer than the core's slice, control values out of
// range or no number, and the private table; the audio thread allocates nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "BrelvaneRelease.h"
#include "adapters/lv2/Lv2PortLayout.h"
#include "adapters/lv2/Lv2VendorExtension.h"
#include "engine/BrelvaneParams.h"
#include "hosts/module/LoadedModule.h"
#include "tests/adapters/vst2/TestSignal.h"
#include "tests/support/AllocationCounter.h"

namespace {

using P = BrelvaneParamIndex;
using vst2test::SpeechLike;
using vst2test::Stereo;
constexpr double kRate = 48000.0;

using DescriptorFunction = const LV2_Descriptor* (*)(std::uint32_t);

const LV2_Descriptor* Descriptor(std::uint32_t index) {
  static brel::LoadedModule module;
  static DescriptorFunction entry = nullptr;
  if (!entry) {
    std::string error;
    if (!module.Open(BRELVANE_LV2_PATH, error)) return nullptr;
    entry = reinterpret_cast<DescriptorFunction>(module.Find("lv2_descriptor"));
  }
  return entry ? entry(index) : nullptr;
}

// One instance with host-owned control values at the table's defaults.
struct Instance {
  explicit Instance(int channels = 2) : descriptor(Descriptor(channels == 2 ? 0 : 1)) {
    layout.params = P::kNumParams;
    layout.meters = 2;
    layout.channels = channels;
    handle = descriptor ? descriptor->instantiate(descriptor, kRate, "", nullptr) : nullptr;
    for (int i = 0; i < P::kNumParams; ++i) controls[i] = static_cast<float>(kBrelvaneParams[i].defaultValue);
    for (std::uint32_t i = 0; handle && i < layout.FirstMeter(); ++i) Connect(i, &controls[i]);
    for (std::uint32_t i = 0; handle && i < 2; ++i) Connect(layout.FirstMeter() + i, &meters[i]);
    if (handle) descriptor->activate(handle);
  }
  ~Instance() {
    if (handle) descriptor->cleanup(handle);
  }
  void Connect(std::uint32_t port, void* data) { descriptor->connect_port(handle, port, data); }
  void ConnectAudio(float** in, float** out) {
    for (int c = 0; c < layout.channels; ++c) {
      Connect(layout.FirstAudioIn() + c, in ? in[c] : nullptr);
      Connect(layout.FirstAudioOut() + c, out ? out[c] : nullptr);
    }
  }
  const Lv2BrelvanePrivate* Private() const {
    return static_cast<const Lv2BrelvanePrivate*>(descriptor->extension_data(release::kLv2PrivateUri));
  }
  // The block rendered in runs of `block` frames, the buffers moved for each run.
  Stereo<float> Render(Stereo<float> in, int block) {
    Stereo<float> out(in.Frames(), 0.0f);
    for (int at = 0; at < in.Frames(); at += block) {
      float* inputs[2] = {in.left.data() + at, in.right.data() + at};
      float* outputs[2] = {out.left.data() + at, out.right.data() + at};
      ConnectAudio(inputs, outputs);
      descriptor->run(handle, static_cast<std::uint32_t>(std::min(block, in.Frames() - at)));
    }
    return out;
  }

  const LV2_Descriptor* descriptor;
  Lv2PortLayout layout;
  LV2_Handle handle = nullptr;
  float controls[P::kNumParams] = {};
  float meters[2] = {-1.0f, -1.0f};
};

TEST(Lv2Module, NamesItsTwoPlugInsAndAnswersOnlyItsOwnExtension) {
  ASSERT_NE(Descriptor(0), nullptr);
  EXPECT_STREQ(Descriptor(0)->URI, release::kLv2StereoUri);
  EXPECT_STREQ(Descriptor(1)->URI, release::kLv2MonoUri);
  EXPECT_EQ(Descriptor(2), nullptr);
  EXPECT_EQ(Descriptor(0)->extension_data("http://example.org/made-up#extension"), nullptr);
  EXPECT_EQ(Descriptor(0)->extension_data(nullptr), nullptr);
  EXPECT_NE(Descriptor(0)->extension_data(release::kLv2PrivateUri), nullptr);
  for (double rate : {0.0, -48000.0, std::nan("")})
    EXPECT_EQ(Descriptor(0)->instantiate(Descriptor(0), rate, "", nullptr), nullptr) << rate;
}

TEST(Lv2Module, ControlPortsGoThroughTheCoresRules) {
  struct Case {
    int param;
    float port;
    double held;
  };
  const Case cases[] = {
      {P::kPresComp, 20.0f, 20.0},    {P::kPresComp, 1e9f, 25.0},  {P::kLowCut, -1.0f, 20.0},
      {P::kMode, 2.7f, 3.0},          {P::kPower, 0.2f, 0.0},      {P::kDbOutput, -12.5f, -12.5},
      {P::kBass, std::nanf(""), 0.0}, {P::kCrispy, INFINITY, 0.0},
  };
  for (const Case& c : cases) {
    Instance plug;
    ASSERT_NE(plug.handle, nullptr);
    plug.controls[c.param] = c.port;
    plug.descriptor->run(plug.handle, 0);
    EXPECT_EQ(plug.Private()->paramValue(plug.handle, c.param), c.held)
        << kBrelvaneParams[c.param].name << " " << c.port;
  }
}

// A port the host leaves as the plug-in's own value changes nothing: a loaded chunk keeps its
// doubles although the ports can only carry their floats.
TEST(Lv2Module, PortsRepeatingALoadedChunkKeepItsExactValues) {
  Instance plug;
  const Lv2BrelvanePrivate& ours = *plug.Private();
  std::vector<std::uint8_t> chunk(ours.saveChunk(plug.handle, nullptr, 0));
  ASSERT_EQ(ours.saveChunk(plug.handle, chunk.data(), static_cast<std::uint32_t>(chunk.size())),
            chunk.size());
  // "LowCut" stored as a value no float can carry.
  const double stored = kBrelvaneParams[P::kLowCut].defaultValue, exact = 123.4567890123;
  const auto at = std::search(chunk.begin(), chunk.end(), reinterpret_cast<const std::uint8_t*>(&stored),
                              reinterpret_cast<const std::uint8_t*>(&stored) + sizeof stored);
  ASSERT_NE(at, chunk.end());
  std::memcpy(&*at, &exact, sizeof exact);
  ASSERT_TRUE(ours.loadChunk(plug.handle, chunk.data(), static_cast<std::uint32_t>(chunk.size())));
  for (int i = 0; i < P::kNumParams; ++i)
    plug.controls[i] = static_cast<float>(ours.paramValue(plug.handle, i));
  plug.descriptor->run(plug.handle, 0);
  EXPECT_EQ(ours.paramValue(plug.handle, P::kLowCut), exact);
  EXPECT_FALSE(ours.loadChunk(plug.handle, chunk.data(), 7));
  char text[32], label[32];
  ASSERT_TRUE(ours.formatValue(plug.handle, P::kMode, 3.0, text, label, sizeof text));
  EXPECT_STREQ(text, "C");
  double typed = 0.0;
  EXPECT_TRUE(ours.parseValue(plug.handle, P::kMode, "B", &typed));
  EXPECT_EQ(typed, 2.0);
  EXPECT_FALSE(ours.formatValue(plug.handle, P::kNumParams, 0.0, text, label, sizeof text));
}

TEST(Lv2Module, BlocksOfAnyLengthInPlaceOrUnconnectedAreSafeAndAlike) {
  const Stereo<float> in = SpeechLike(20000);
  Instance reference, whole, aliased, bare;
  const Stereo<float> expected = reference.Render(in, 512);
  EXPECT_GT(reference.meters[0], 0.0f);
  EXPECT_GT(reference.meters[1], 0.0f);
  // Longer than the core's slice, in one run.
  EXPECT_EQ(whole.Render(in, in.Frames()).left, expected.left);
  // The output written over the input.
  Stereo<float> shared = in;
  float* buffers[2] = {shared.left.data(), shared.right.data()};
  aliased.ConnectAudio(buffers, buffers);
  AllocationCounter counter;
  aliased.descriptor->run(aliased.handle, static_cast<std::uint32_t>(in.Frames()));
  counter.Stop();
  EXPECT_EQ(counter.Allocations(), 0) << counter.Describe();
  EXPECT_EQ(shared.right, expected.right);
  // Nothing connected, no frames, then ports out of range.
  bare.descriptor->run(bare.handle, 0);
  bare.descriptor->run(bare.handle, 256);
  bare.Connect(bare.layout.Count() + 5, buffers[0]);
  bare.ConnectAudio(nullptr, nullptr);
  bare.descriptor->run(bare.handle, 256);
  SUCCEED();
}

TEST(Lv2Module, TheMonoPlugInRendersOneChannel) {
  Instance mono(1);
  ASSERT_NE(mono.handle, nullptr);
  std::vector<float> in = SpeechLike(4096).left, out(in.size(), 0.0f);
  float* inputs[1] = {in.data()};
  float* outputs[1] = {out.data()};
  mono.ConnectAudio(inputs, outputs);
  mono.descriptor->run(mono.handle, static_cast<std::uint32_t>(in.size()));
  float peak = 0.0f;
  for (float x : out) peak = std::max(peak, std::fabs(x));
  EXPECT_GT(peak, 0.01f);
}

// The editor reads the meters on its own thread while the host runs blocks.
TEST(Lv2Threads, MetersAreReadWhileBlocksRun) {
  Instance plug;
  const Stereo<float> in = SpeechLike(8192);
  std::thread editor([&plug] {
    Lv2MeterReading reading{};
    for (int i = 0; i < 2000; ++i) plug.Private()->readMeter(plug.handle, i % 2, &reading);
  });
  plug.Render(in, 256);
  editor.join();
  Lv2MeterReading reading{};
  EXPECT_TRUE(plug.Private()->readMeter(plug.handle, 1, &reading));
  EXPECT_FALSE(plug.Private()->readMeter(plug.handle, 2, &reading));
  EXPECT_GT(reading.level, 0.0);
}

}  // namespace
