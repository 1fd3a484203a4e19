#pragma once
// The built Brelvane VST3 bundle loaded through the test host exactly as a DAW loads it, and the
// helpers the bundle tests share: queues, whole-signal renders in blocks, state bytes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/BrelvaneParams.h"
#include "hosts/vst3/Vst3Host.h"
#include "tests/adapters/vst2/TestSignal.h"

namespace vst3test {

using Steinberg::Vst::ParamID;
using vst2test::Stereo;

constexpr int kNumParams = BrelvaneParamIndex::kNumParams;
constexpr ParamID kPreset = 0x70727374;  // 'prst'
constexpr ParamID kBypass = 0x62706173;  // 'bpas'
// The core parameters' ids are their indices in the table.
constexpr ParamID kPresComp = BrelvaneParamIndex::kPresComp, kDbOutput = BrelvaneParamIndex::kDbOutput,
                  kPower = BrelvaneParamIndex::kPower, kMode = BrelvaneParamIndex::kMode;
constexpr double kRate = 48000.0;
constexpr int kMaxBlock = 512;

inline std::string BundlePath() { return BRELVANE_VST3_BUNDLE; }

inline ::testing::AssertionResult CreateFromBundle(brel::Vst3Host& host) {
  if (!host.Load(BundlePath()) || !host.CreatePlugin())
    return ::testing::AssertionFailure() << host.LastError();
  return ::testing::AssertionSuccess();
}

// One instance per test, initialized; Started() also sets it up (48 kHz, 512 frames) and runs it.
class PluginTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(CreateFromBundle(host)); }
  ::testing::AssertionResult Started(Steinberg::int32 sampleSize = Steinberg::Vst::kSample32) {
    if (!host.Setup(kRate, kMaxBlock, sampleSize) || !host.Start())
      return ::testing::AssertionFailure() << "the plug-in did not start";
    return ::testing::AssertionSuccess();
  }
  Steinberg::Vst::IEditController& EditController() { return *host.Controller(); }

  brel::Vst3Host host;
};

// A whole signal through the plug-in in blocks of blockFrames; the outputs start as `initial`.
template <class Sample>
Stereo<Sample> Render(brel::Vst3Host& host, const Stereo<Sample>& in, int blockFrames, Sample initial = 0) {
  Stereo<Sample> source = in;
  Stereo<Sample> out(in.Frames(), initial);
  for (int at = 0; at < in.Frames(); at += blockFrames) {
    const int n = std::min(blockFrames, in.Frames() - at);
    Sample* inputs[2] = {source.left.data() + at, source.right.data() + at};
    Sample* outputs[2] = {out.left.data() + at, out.right.data() + at};
    EXPECT_EQ(host.Process(inputs, 2, outputs, 2, n), Steinberg::kResultOk) << "block at frame " << at;
  }
  return out;
}

// One block that carries only parameter changes.
inline void Flush(brel::Vst3Host& host) {
  Steinberg::Vst::ProcessData data;
  data.symbolicSampleSize = Steinberg::Vst::kSample32;
  host.ProcessRaw(data);
}

inline std::vector<double> NormalizedValues(brel::Vst3Host& host) {
  std::vector<double> values;
  for (int i = 0; i < kNumParams; ++i) values.push_back(host.Controller()->getParamNormalized(i));
  return values;
}

}  // namespace vst3test
