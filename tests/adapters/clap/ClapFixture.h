#pragma once
// The built Brelvane CLAP module loaded through the CLAP host library as a DAW loads it, and what
// its tests share: plain values from positions (as the command maps them) and whole signals
// rendered in blocks with value events at their frames.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/BrelvaneParams.h"
#include "hosts/clap/ClapHost.h"
#include "tests/adapters/vst2/TestSignal.h"

namespace claptest {

using vst2test::Stereo;
using P = BrelvaneParamIndex;
constexpr int kNumParams = P::kNumParams;
constexpr double kRate = 48000.0;
constexpr std::uint32_t kMaxBlock = 512;

inline ::testing::AssertionResult Created(brel::ClapHost& host) {
  if (!host.Load(BRELVANE_CLAP_PATH) || !host.CreatePlugin())
    return ::testing::AssertionFailure() << host.LastError();
  return ::testing::AssertionSuccess();
}

inline bool Running(brel::ClapHost& host) {
  return host.Activate(kRate, 1, kMaxBlock) && host.StartProcessing();
}

class ClapTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(Created(host)); }
  brel::ClapHost host;
};

inline double PlainAt(int index, double normalized) {
  const ParamSpec& entry = kBrelvaneParams[index];
  return normalized * (entry.max - entry.min) + entry.min;
}

struct Change {
  int frame;
  int param;
  float normalized;
};

template <class Sample>
Stereo<Sample> Render(brel::ClapHost& host, Stereo<Sample> in, int blockFrames,
                      const std::vector<Change>& changes = {}) {
  Stereo<Sample> out(in.Frames(), Sample(0));
  for (int at = 0; at < in.Frames(); at += blockFrames) {
    const int n = std::min(blockFrames, in.Frames() - at);
    for (const Change& c : changes)
      if (c.frame >= at && c.frame < at + n)
        host.QueueParamValue(c.param, PlainAt(c.param, c.normalized), c.frame - at);
    Sample* inputs[2] = {in.left.data() + at, in.right.data() + at};
    Sample* outputs[2] = {out.left.data() + at, out.right.data() + at};
    EXPECT_EQ(host.Process(inputs, 2, outputs, 2, n), CLAP_PROCESS_CONTINUE) << "block at frame " << at;
  }
  return out;
}

}  // namespace claptest
