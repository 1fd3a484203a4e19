// The state: the VST2 module's program chunk, header included, carried through streams of any
// step to a fresh instance; what is no state, cut short or too long is refused, and so is a
// save into a failing stream.

#include <random>

#include "tests/adapters/clap/ClapFixture.h"
#include "tests/adapters/vst2/ModuleFixture.h"

using namespace claptest;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes Saved(brel::ClapHost& host, std::size_t bytesPerCall = 0) {
  Bytes bytes;
  EXPECT_TRUE(host.SaveState(bytes, bytesPerCall)) << host.LastError();
  return bytes;
}

TEST_F(ClapTest, StateIsTheVst2ProgramChunkAndRestoresToItselfInAFreshInstance) {
  brel::VstHost vst2;
  ASSERT_TRUE(vst2test::StartPlugin(vst2));
  for (const Change& c :
       {Change{0, P::kPresComp, 0.8f}, Change{0, P::kMode, 0.5f}, Change{0, P::kFLimit, 1.0f}}) {
    host.QueueParamValue(c.param, PlainAt(c.param, c.normalized));
    vst2.SetParameter(c.param, c.normalized);
  }
  host.Flush();
  const Bytes state = Saved(host);
  EXPECT_EQ(state, vst2.GetChunk(brel::VstHost::ChunkKind::Program));
  EXPECT_EQ(Saved(host, 1), state) << "a stream that takes one byte a call";
  for (std::size_t step : {0, 1}) {
    brel::ClapHost fresh;
    ASSERT_TRUE(Created(fresh) && fresh.LoadState(state, step));
    EXPECT_EQ(Saved(fresh), state) << step;
    EXPECT_EQ(fresh.Requests().paramRescans, 1);
    EXPECT_EQ(fresh.Requests().lastRescanFlags, CLAP_PARAM_RESCAN_VALUES | CLAP_PARAM_RESCAN_TEXT);
  }
}

TEST_F(ClapTest, BytesThatAreNoStateOfOursChangeNothing) {
  Bytes random(96), tooLong = Saved(host);
  std::mt19937 generator(7);
  for (std::uint8_t& byte : random) byte = static_cast<std::uint8_t>(generator());
  tooLong.resize((1 << 20) + 1);
  const Bytes before = Saved(host);
  for (const Bytes& bytes : {Bytes{}, random, tooLong}) {
    EXPECT_FALSE(host.LoadState(bytes)) << bytes.size();
    EXPECT_EQ(Saved(host), before) << bytes.size();
  }
  EXPECT_EQ(host.Requests().paramRescans, 0);
}

TEST_F(ClapTest, AStateCutShortOrASaveIntoAFailingStreamIsRefused) {
  const Bytes state = Saved(host);
  for (std::size_t size : {std::size_t{4}, std::size_t{9}, state.size() - 1})
    EXPECT_FALSE(host.LoadState(Bytes(state.begin(), state.begin() + size), 3)) << size;
  Bytes bytes;
  for (std::size_t failAfter : {1, 50, 95}) EXPECT_FALSE(host.SaveState(bytes, 7, failAfter)) << failAfter;
  EXPECT_TRUE(host.SaveState(bytes, 7, 96)) << "room for every byte";
}

}  // namespace
