// The state: the VST2 module's program chunk, header included, carried whole through streams of
// any step to a fresh instance; loads of what is no state, cut short or too long, and saves to
// a failing stream answered false.

#include <random>

#include "hosts/vst2/VstHost.h"
#include "tests/adapters/clap/ClapFixture.h"
#include "tests/adapters/vst2/ModuleFixture.h"

using namespace claptest;

namespace {

const std::vector<Change> kSettings = {{0, P::kPresComp, 0.8f}, {0, P::kMode, 0.5f}, {0, P::kFLimit, 1.0f}};

std::vector<std::uint8_t> Saved(brel::ClapHost& host, std::size_t bytesPerCall = 0) {
  std::vector<std::uint8_t> bytes;
  EXPECT_TRUE(host.SaveState(bytes, bytesPerCall)) << host.LastError();
  return bytes;
}

std::vector<double> Values(brel::ClapHost& host) {
  std::vector<double> values(kNumParams);
  for (int i = 0; i < kNumParams; ++i) host.ParamValue(i, values[i]);
  return values;
}

TEST_F(ClapTest, StateIsTheVst2ProgramChunkAndRestoresToItselfInAFreshInstance) {
  brel::VstHost vst2;
  ASSERT_TRUE(vst2test::StartPlugin(vst2));
  for (const Change& c : kSettings) {
    host.QueueParamValue(c.param, PlainAt(c.param, c.normalized));
    vst2.SetParameter(c.param, c.normalized);
  }
  host.Flush();
  const std::vector<std::uint8_t> state = Saved(host);
  EXPECT_EQ(state, vst2.GetChunk(brel::VstHost::ChunkKind::Program));
  EXPECT_EQ(Saved(host, 1), state) << "a stream that takes one byte a call";

  for (std::size_t step : {std::size_t{0}, std::size_t{1}}) {
    brel::ClapHost fresh;
    ASSERT_TRUE(Created(fresh));
    ASSERT_TRUE(fresh.LoadState(state, step)) << fresh.LastError();
    EXPECT_EQ(Saved(fresh), state) << step;
    EXPECT_EQ(Values(fresh), Values(host));
    EXPECT_EQ(fresh.Requests().paramRescans, 1);
    EXPECT_EQ(fresh.Requests().lastRescanFlags, CLAP_PARAM_RESCAN_VALUES | CLAP_PARAM_RESCAN_TEXT);
  }
}

TEST_F(ClapTest, BytesThatAreNoStateOfOursChangeNothing) {
  std::vector<std::uint8_t> random(96);
  std::mt19937 generator(7);
  for (std::uint8_t& byte : random) byte = static_cast<std::uint8_t>(generator());
  std::vector<std::uint8_t> tooLong = Saved(host);
  tooLong.resize((1 << 20) + 1);
  const std::vector<std::uint8_t> before = Saved(host);
  for (const auto& bytes : {std::vector<std::uint8_t>{}, random, tooLong}) {
    EXPECT_FALSE(host.LoadState(bytes)) << bytes.size();
    EXPECT_EQ(Saved(host), before) << bytes.size();
  }
  EXPECT_EQ(host.Requests().paramRescans, 0);
}

TEST_F(ClapTest, AStateCutShortIsRefused) {
  const std::vector<std::uint8_t> state = Saved(host);
  for (std::size_t size : {std::size_t{4}, std::size_t{9}, state.size() - 1}) {
    std::vector<std::uint8_t> cut(state.begin(), state.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_FALSE(host.LoadState(cut, 3)) << size;
  }
}

TEST_F(ClapTest, ASaveIntoAStreamThatFailsIsRefused) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t failAfter : {std::size_t{1}, std::size_t{50}, std::size_t{95}})
    EXPECT_FALSE(host.SaveState(bytes, 7, failAfter)) << failAfter;
  EXPECT_TRUE(host.SaveState(bytes, 7, 96)) << "room for every byte";
}

}  // namespace
