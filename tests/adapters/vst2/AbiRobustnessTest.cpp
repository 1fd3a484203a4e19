// Careless hosts at the ABI: missing pointers, indexes outside every list, missing channel
// buffers, a record whose object is gone. Each gets a harmless answer, writes stay inside what
// the host handed in, and the instance keeps working.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "adapters/vst2/VstVendorOpcodes.h"
#include "tests/adapters/vst2/ModuleFixture.h"

using brel::VstHost;
using vst2test::PluginTest;
using vst2test::ProgramValues;

namespace {

class Abi : public PluginTest {};

struct NullPointerCase {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr answer;
};

}  // namespace

TEST_F(Abi, OpcodesThatWriteThroughPtrCheckItFirst) {
  const NullPointerCase cases[] = {
      {effSetProgramName, 0, 0},
      {effGetProgramName, 0, 0},
      {effGetParamLabel, 0, 0},
      {effGetParamDisplay, 0, 0},
      {effGetParamName, 0, 0},
      {effEditGetRect, 0, 0},
      {effEditOpen, 0, 0},
      {effGetChunk, 1, 0},
      {effGetChunk, 0, 0},
      {effSetChunk, 1, 0},
      {effSetChunk, 0, 0},
      {effProcessEvents, 0, 0},
      {effString2Parameter, 0, 1},
      {effGetProgramNameIndexed, 0, 0},
      {effGetInputProperties, 0, 0},
      {effGetOutputProperties, 0, 0},
      {effGetEffectName, 0, 0},
      {effGetVendorString, 0, 0},
      {effGetProductString, 0, 0},
      {effVendorSpecific, 7, 0},
      {effVendorSpecific, kVendorProcessedDelay, 0},
      {effCanDo, 0, 0},
      {effGetMidiKeyName, 0, 0},
      {effSetSpeakerArrangement, 0, 1},
      {effGetSpeakerArrangement, 0, 1},
  };
  const std::vector<double> before = ProgramValues(mHost);
  for (const NullPointerCase& c : cases) {
    // The value 0 is the second pointer of the speaker-arrangement opcodes: missing too.
    EXPECT_EQ(mHost.Dispatch(c.opcode, c.index, 0, nullptr, 0.5f), c.answer) << "opcode " << c.opcode;
  }
  EXPECT_EQ(ProgramValues(mHost), before);
  EXPECT_EQ(mHost.ProgramName(), "-");
}

TEST_F(Abi, ParameterTextsForIndexesOutsideTheListAreNotWritten) {
  for (VstInt32 opcode : {effGetParamLabel, effGetParamDisplay, effGetParamName}) {
    for (VstInt32 index : {11, 12, -1, 1000, 0x7FFFFFFF, -0x7FFFFFFF - 1}) {
      char text[64];
      std::memset(text, 'x', sizeof(text));
      EXPECT_EQ(mHost.Dispatch(opcode, index, 0, text), 0) << "opcode " << opcode << " index " << index;
      EXPECT_EQ(text[0], 'x') << "opcode " << opcode << " index " << index;
    }
  }
}

TEST_F(Abi, ParameterTextsStayWithinTheirField) {
  // Hosts reserve small buffers for these; nothing beyond 32 bytes may be written.
  for (VstInt32 opcode : {effGetParamLabel, effGetParamDisplay, effGetParamName}) {
    for (int i = 0; i < vst2test::kNumParams; ++i) {
      char text[96];
      std::memset(text, 'x', sizeof(text));
      mHost.Dispatch(opcode, i, 0, text);
      EXPECT_NE(std::memchr(text, '\0', 32), nullptr) << "opcode " << opcode << " index " << i;
      for (int b = 32; b < 96; ++b) ASSERT_EQ(text[b], 'x') << "opcode " << opcode << " index " << i;
    }
  }
}

TEST_F(Abi, HugeDisplayedValuesStayWithinTheirField) {
  ASSERT_TRUE(mHost.String2Parameter(1, "1e300"));  // clamped: LowCut shows 300.00
  mHost.SetParameter(0, -1.0e30f);                  // far below the range: its bottom
  for (int i : {0, 1}) {
    char text[96];
    std::memset(text, 'x', sizeof(text));
    mHost.Dispatch(effGetParamDisplay, i, 0, text);
    EXPECT_NE(std::memchr(text, '\0', 32), nullptr) << i;
    for (int b = 32; b < 96; ++b) ASSERT_EQ(text[b], 'x') << i;
  }
  EXPECT_EQ(mHost.ParamDisplay(1), "300.00");
}

TEST_F(Abi, AnArrangementRequestForOneSideOnlyFillsThatSide) {
  VstSpeakerArrangement* input = nullptr;
  EXPECT_EQ(mHost.Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), nullptr), 1);
  ASSERT_NE(input, nullptr);
  EXPECT_EQ(input->numChannels, 2);
  VstSpeakerArrangement* output = nullptr;
  EXPECT_EQ(mHost.Dispatch(effGetSpeakerArrangement, 0, 0, &output), 1);
  ASSERT_NE(output, nullptr);
  EXPECT_EQ(output->type, kSpeakerArrStereo);
}

TEST_F(Abi, MissingChannelBuffersReadAsSilenceAndAreNotWritten) {
  AEffect* effect = vst2test::RawEffect(mHost);
  std::vector<float> left(512, 0.25f), outL(512, 7.0f), outR(512, 7.0f);
  float* inputs[2] = {left.data(), nullptr};
  float* outputs[2] = {outL.data(), outR.data()};
  effect->processReplacing(effect, inputs, outputs, 512);
  effect->processReplacing(effect, nullptr, outputs, 512);
  float* oneOutput[2] = {outL.data(), nullptr};
  effect->processReplacing(effect, inputs, oneOutput, 512);
  effect->process(effect, inputs, nullptr, 512);
  std::vector<double> left64(512, 0.25), out64(512, 7.0);
  double* inputs64[2] = {left64.data(), nullptr};
  double* outputs64[2] = {nullptr, out64.data()};
  effect->processDoubleReplacing(effect, inputs64, outputs64, 512);
  effect->processDoubleReplacing(effect, nullptr, nullptr, 512);
  for (int n = 0; n < 512; ++n) {
    ASSERT_TRUE(std::isfinite(outL[n]) && std::isfinite(outR[n]) && std::isfinite(out64[n])) << n;
  }
  // And the instance still plays normally afterwards.
  const vst2test::Stereo<float> out = vst2test::RenderFloat(mHost, vst2test::SpeechLike(9600), 512);
  EXPECT_TRUE(vst2test::AllFinite(out));
  EXPECT_GT(vst2test::Peak(out, 4800), 0.01);
}

TEST_F(Abi, ARecordWithoutItsObjectIsAnsweredWithNothing) {
  AEffect orphan = *mHost.Effect();
  orphan.object = nullptr;
  char text[64];
  std::memset(text, 'x', sizeof(text));
  EXPECT_EQ(orphan.dispatcher(&orphan, effGetEffectName, 0, 0, text, 0.0f), 0);
  EXPECT_EQ(orphan.dispatcher(&orphan, effIdentify, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(orphan.dispatcher(&orphan, effClose, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(text[0], 'x');
  EXPECT_EQ(orphan.getParameter(&orphan, 0), 0.0f);
  orphan.setParameter(&orphan, 0, 0.0f);
  std::vector<float> in(64, 0.5f), out(64, 3.0f);
  float* inputs[2] = {in.data(), in.data()};
  float* outputs[2] = {out.data(), out.data()};
  orphan.processReplacing(&orphan, inputs, outputs, 64);
  orphan.process(&orphan, inputs, outputs, 64);
  for (float s : out) ASSERT_EQ(s, 3.0f);
  // The real instance never heard of any of it.
  EXPECT_EQ(mHost.ParamDisplay(0), "12.50");
  EXPECT_EQ(mHost.EffectName(), "Brelvane");
}

TEST_F(Abi, NullRecordsAreAnsweredWithNothing) {
  const AEffect* effect = mHost.Effect();
  EXPECT_EQ(effect->dispatcher(nullptr, effIdentify, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(effect->getParameter(nullptr, 0), 0.0f);
  effect->setParameter(nullptr, 0, 0.0f);
  std::vector<float> in(64, 0.5f), out(64, 3.0f);
  float* inputs[2] = {in.data(), in.data()};
  float* outputs[2] = {out.data(), out.data()};
  effect->processReplacing(nullptr, inputs, outputs, 64);
  for (float s : out) ASSERT_EQ(s, 3.0f);
  EXPECT_EQ(mHost.ParamDisplay(0), "12.50");
}

TEST_F(Abi, OnlyTheDeclaredChannelConfigurationsAreTaken) {
  VstSpeakerArrangement stereo = VstHost::MakeArrangement(2);
  VstSpeakerArrangement mono = VstHost::MakeArrangement(1);
  for (int channels : {0, -1, 3, 8, 1 << 30}) {
    VstSpeakerArrangement odd = VstHost::MakeArrangement(2);
    odd.numChannels = channels;
    EXPECT_EQ(mHost.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&odd), &odd), 0)
        << channels;
    EXPECT_EQ(mHost.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&stereo), &odd), 0)
        << channels;
  }
  EXPECT_EQ(mHost.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), &stereo), 0);
  // Refused arrangements changed nothing: both outputs are still written.
  AEffect* effect = vst2test::RawEffect(mHost);
  std::vector<float> inL(512, 0.5f), inR(512, 0.5f), outL(512, 7.0f), outR(512, 7.0f);
  float* inputs[2] = {inL.data(), inR.data()};
  float* outputs[2] = {outL.data(), outR.data()};
  effect->processReplacing(effect, inputs, outputs, 512);
  for (int n = 0; n < 512; ++n) ASSERT_TRUE(outL[n] != 7.0f && outR[n] != 7.0f) << n;

  ASSERT_TRUE(mHost.SetSpeakerArrangement(stereo, stereo));
  const vst2test::Stereo<float> out = vst2test::RenderFloat(mHost, vst2test::SpeechLike(9600), 512);
  EXPECT_TRUE(vst2test::AllFinite(out));
}
