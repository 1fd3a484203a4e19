#pragma once
// The built Brelvane VST2 module loaded through the test host exactly as a DAW loads it, and the
// host-side helpers the module tests share: rendering whole signals in blocks, reading the state
// a host would store.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/BrelvaneParams.h"
#include "hosts/vst2/VstHost.h"
#include "tests/adapters/vst2/TestSignal.h"

namespace vst2test {

constexpr int kNumParams = BrelvaneParamIndex::kNumParams;
constexpr float kRate = 48000.0f;

inline std::string ModulePath() { return BRELVANE_VST2_PATH; }

// Loads and opens an instance and gets it ready to play (48 kHz, resumed) the way hosts do,
// without ever announcing a block size.
inline ::testing::AssertionResult StartPlugin(brel::VstHost& host, float rate = kRate) {
  if (!host.Load(ModulePath()))
    return ::testing::AssertionFailure() << "cannot load the module: " << host.LastError();
  host.Open();
  host.SetSampleRate(rate);
  host.Resume();
  return ::testing::AssertionSuccess();
}

// One instance, started, per test.
class PluginTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(StartPlugin(mHost)); }

  brel::VstHost mHost;
};

// The raw record, for calls the host library deliberately does not offer (wrong channel counts,
// negative frame counts, a record with its object cleared).
inline AEffect* RawEffect(brel::VstHost& host) { return const_cast<AEffect*>(host.Effect()); }

enum class FloatCall { Replacing, Accumulating };

// Runs a whole signal through the 32-bit callbacks in blocks of at most blockFrames. The output
// buffers start as `initial` (what accumulation adds to, or what replacing must overwrite).
inline Stereo<float> RenderFloat(brel::VstHost& host, const Stereo<float>& in, int blockFrames,
                                 FloatCall call = FloatCall::Replacing, float initial = 0.0f) {
  Stereo<float> source = in;  // the plug-in gets writable pointers; the caller's signal stays
  Stereo<float> out(in.Frames(), initial);
  for (int at = 0; at < in.Frames(); at += blockFrames) {
    const int n = std::min(blockFrames, in.Frames() - at);
    float* inputs[2] = {source.left.data() + at, source.right.data() + at};
    float* outputs[2] = {out.left.data() + at, out.right.data() + at};
    const bool done = call == FloatCall::Replacing ? host.ProcessReplacing(inputs, outputs, n)
                                                   : host.ProcessAccumulating(inputs, outputs, n);
    EXPECT_TRUE(done) << "the host refused a block at frame " << at;
  }
  return out;
}

inline Stereo<double> RenderDouble(brel::VstHost& host, const Stereo<double>& in, int blockFrames,
                                   double initial = 0.0) {
  Stereo<double> source = in;
  Stereo<double> out(in.Frames(), initial);
  for (int at = 0; at < in.Frames(); at += blockFrames) {
    const int n = std::min(blockFrames, in.Frames() - at);
    double* inputs[2] = {source.left.data() + at, source.right.data() + at};
    double* outputs[2] = {out.left.data() + at, out.right.data() + at};
    EXPECT_TRUE(host.ProcessDoubleReplacing(inputs, outputs, n))
        << "the host refused a block at frame " << at;
  }
  return out;
}

// The little-endian double at offset of a chunk (the chunk must hold it).
inline double DoubleAt(const std::vector<std::uint8_t>& chunk, std::size_t offset) {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | chunk.at(offset + static_cast<std::size_t>(i));
  double value;
  std::memcpy(&value, &bits, sizeof(value));
  return value;
}

inline std::int32_t Int32At(const std::vector<std::uint8_t>& chunk, std::size_t offset) {
  std::uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) bits = (bits << 8) | chunk.at(offset + static_cast<std::size_t>(i));
  return static_cast<std::int32_t>(bits);
}

inline void PutDouble(std::vector<std::uint8_t>& chunk, std::size_t offset, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  for (int i = 0; i < 8; ++i)
    chunk.at(offset + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(bits >> (8 * i));
}

// The plain values of all parameters, as the program chunk carries them (after its 8-byte header).
inline std::vector<double> ProgramValues(brel::VstHost& host) {
  const std::vector<std::uint8_t> chunk = host.GetChunk(brel::VstHost::ChunkKind::Program);
  std::vector<double> values;
  for (std::size_t at = 8; at + 8 <= chunk.size(); at += 8) values.push_back(DoubleAt(chunk, at));
  return values;
}

// The normalized values the host reads back for all parameters.
inline std::vector<float> NormalizedValues(brel::VstHost& host) {
  std::vector<float> values;
  for (int i = 0; i < kNumParams; ++i) values.push_back(host.GetParameter(i));
  return values;
}

}  // namespace vst2test
