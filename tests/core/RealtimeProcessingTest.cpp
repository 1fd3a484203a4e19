// The core's part of every audio callback (binding host buffers, slicing long host blocks,
// converting to and from float, passing through) touches no heap: no new, no delete, no HeapBuffer
// growth, from the first block on, whatever the block length and connections.
#include <gtest/gtest.h>

#include <vector>

#include "core/IPlugBase.h"
#include "tests/support/AllocationCounter.h"
#include "tests/support/HeapBufferCounting.h"

namespace {

constexpr int kMaxBlock = 64;

// Writes a scaled copy of its inputs; counts its calls in a plain member.
class GainPlug : public IPlugBase {
public:
  explicit GainPlug(const char* channels = "1-1 2-2")
      : IPlugBase(2, 1, channels, "Gain", "", "Orrindale", 0x00010000, 0x4761696E, 0x4F72726E, ApiId::Vst2) {
    GetParam(0)->DefineDouble("Gain", 0.5, 0.0, 1.0, 0.01);
    GetParam(1)->DefineBool("Bypass", false);
  }
  void ProcessDouble(double** inputs, double** outputs, int nFrames) override {
    ++calls;
    if (GetParam(1)->GetValue() >= 0.5) {
      PassThrough(nFrames);
      return;
    }
    const double gain = GetParam(0)->GetValue();
    for (int c = 0; c < NOutChannels(); ++c) {
      for (int i = 0; i < nFrames; ++i) outputs[c][i] = gain * inputs[c][i];
    }
  }
  int calls = 0;
};

// Host buffers of both widths, made before any counting starts.
struct HostBuffers {
  explicit HostBuffers(int frames)
      : floatIn(2, std::vector<float>(frames, 0.25f)),
        floatOut(2, std::vector<float>(frames)),
        doubleIn(2, std::vector<double>(frames, 0.25)),
        doubleOut(2, std::vector<double>(frames)) {
    for (int c = 0; c < 2; ++c) {
      fin[c] = floatIn[c].data();
      fout[c] = floatOut[c].data();
      din[c] = doubleIn[c].data();
      dout[c] = doubleOut[c].data();
    }
  }
  std::vector<std::vector<float>> floatIn, floatOut;
  std::vector<std::vector<double>> doubleIn, doubleOut;
  float* fin[2];
  float* fout[2];
  double* din[2];
  double* dout[2];
};

// A plug-in ready for audio as an adapter leaves it after the host's set-up calls.
struct Rig {
  Rig() : buffers(kMaxBlock * 5 + 3) {
    plug.SetMaxBlockSize(kMaxBlock);
    plug.SetInputConnections(2);
    plug.SetOutputConnections(2);
  }
  HeapBufferCounting countCoreBlocks;  // before the plug-in, so its blocks are counted too
  GainPlug plug;
  HostBuffers buffers;
};

const int kBlockLengths[] = {
    1, 17, kMaxBlock - 1, kMaxBlock, kMaxBlock + 1, 2 * kMaxBlock, kMaxBlock * 5 + 3};

}  // namespace

TEST(RealtimeProcessing, FloatBlocksOfEveryLengthAllocateNothing) {
  Rig rig;
  AllocationCounter counter;
  for (int frames : kBlockLengths) {
    rig.plug.ProcessFloatBlock(rig.buffers.fin, rig.buffers.fout, frames, false);
    rig.plug.ProcessFloatBlock(rig.buffers.fin, rig.buffers.fout, frames, true);
  }
  counter.Stop();
  EXPECT_EQ(counter.Allocations(), 0) << counter.Describe();
  EXPECT_EQ(counter.Releases(), 0) << counter.Describe();
  EXPECT_EQ(rig.plug.calls, 2 * (1 + 1 + 1 + 1 + 2 + 2 + 6)) << "long blocks are served in slices";
  EXPECT_FLOAT_EQ(rig.buffers.floatOut[1][kMaxBlock * 5 + 2], 0.25f) << "0.125 written, then 0.125 added";
}

TEST(RealtimeProcessing, DoubleBlocksOfEveryLengthAllocateNothing) {
  Rig rig;
  AllocationCounter counter;
  for (int frames : kBlockLengths) rig.plug.ProcessDoubleBlock(rig.buffers.din, rig.buffers.dout, frames);
  counter.Stop();
  EXPECT_EQ(counter.Allocations(), 0) << counter.Describe();
  EXPECT_EQ(counter.Releases(), 0) << counter.Describe();
  EXPECT_EQ(rig.buffers.doubleOut[0][kMaxBlock * 5 + 2], 0.125);
}

TEST(RealtimeProcessing, MissingHostBuffersAndFewerConnectionsAllocateNothing) {
  Rig rig;
  float* noFloat[2] = {nullptr, nullptr};
  double* noDouble[2] = {nullptr, nullptr};
  AllocationCounter counter;
  rig.plug.ProcessFloatBlock(nullptr, nullptr, 3 * kMaxBlock, false);
  rig.plug.ProcessFloatBlock(noFloat, rig.buffers.fout, 3 * kMaxBlock, false);
  rig.plug.ProcessDoubleBlock(noDouble, noDouble, 3 * kMaxBlock);
  rig.plug.ProcessDoubleBlock(nullptr, rig.buffers.dout, 3 * kMaxBlock);
  rig.plug.SetInputConnections(1);
  rig.plug.SetOutputConnections(1);
  rig.plug.ProcessFloatBlock(rig.buffers.fin, rig.buffers.fout, 3 * kMaxBlock, false);
  rig.plug.SetInputConnections(2);
  rig.plug.SetOutputConnections(2);
  rig.plug.ProcessDoubleBlock(rig.buffers.din, rig.buffers.dout, 3 * kMaxBlock);
  counter.Stop();
  EXPECT_EQ(counter.Allocations(), 0) << counter.Describe();
  EXPECT_EQ(counter.Releases(), 0) << counter.Describe();
}

TEST(RealtimeProcessing, BindingConversionAndPassThroughAllocateNothing) {
  Rig rig;
  rig.plug.GetParam(1)->SetValue(1.0);  // bypass: the plug-in passes through
  AllocationCounter counter;
  rig.plug.BindInputsFromFloat(rig.buffers.fin, kMaxBlock);
  rig.plug.BindOutputsToScratch(rig.buffers.fout);
  rig.plug.ProcessDouble(rig.plug.GetInputPointers(), rig.plug.GetOutputPointers(), kMaxBlock);
  rig.plug.WriteOutputsToFloat(kMaxBlock, false);
  rig.plug.BindInputsDirect(rig.buffers.din);
  rig.plug.BindOutputsDirect(rig.buffers.dout);
  rig.plug.PassThrough(kMaxBlock);
  rig.plug.BindOutputToScratch(0, rig.buffers.fout[0]);
  rig.plug.BindOutputDirect(1, rig.buffers.dout[1]);
  rig.plug.WriteOutputsToFloat(kMaxBlock, true);
  counter.Stop();
  EXPECT_EQ(counter.Allocations(), 0) << counter.Describe();
  EXPECT_EQ(counter.Releases(), 0) << counter.Describe();
  EXPECT_EQ(rig.buffers.floatOut[0][0], 0.5f) << "passed through, then accumulated";
}

TEST(RealtimeProcessing, DefaultProcessingOfBothWidthsAllocatesNothing) {
  HeapBufferCounting countCoreBlocks;
  IPlugBase plug(0, 0, "2-2", "Plain", "", "Orrindale", 1, 1, 1, ApiId::Vst2);
  HostBuffers buffers(kMaxBlock);
  AllocationCounter counter;
  plug.ProcessSingle(buffers.fin, buffers.fout, kMaxBlock);
  plug.ProcessDouble(buffers.din, buffers.dout, kMaxBlock);
  plug.ProcessDouble(buffers.din, buffers.din, kMaxBlock);  // in place
  counter.Stop();
  EXPECT_EQ(counter.Allocations(), 0) << counter.Describe();
  EXPECT_EQ(buffers.floatOut[1][kMaxBlock - 1], 0.25f);
}

TEST(RealtimeProcessing, ParameterChangesUnderTheLockAllocateNothing) {
  Rig rig;
  AllocationCounter counter;
  {
    IPlugBase::ScopedLock lock(rig.plug);
    rig.plug.GetParam(0)->SetFromNormalized(0.3);
    rig.plug.GetParam(1)->SetValue(0.0);
    rig.plug.OnParamChanged(0);
    rig.plug.NotifyAllParamsChanged();
  }
  rig.plug.SetParamFromEditor(0, 0.75);
  counter.Stop();
  EXPECT_EQ(counter.Allocations(), 0) << counter.Describe();
  EXPECT_EQ(rig.plug.GetParam(0)->GetValue(), 0.75);
}
