// The audio path's contract checks itself: processing entries run inside the scope, and growing a
// buffer there stops the program with a message saying what was attempted.
#include <gtest/gtest.h>

#include "core/AudioPath.h"
#include "core/HeapBuffer.h"
#include "tests/core/TestPlug.h"

namespace {

class ScopeWatchingPlug : public VocalTestPlug {
public:
  void ProcessDouble(double** inputs, double** outputs, int nFrames) override {
    sawScope = AudioPathScope::IsActive();
    VocalTestPlug::ProcessDouble(inputs, outputs, nFrames);
  }
  bool sawScope = false;
};

TEST(AudioPath, ProcessingEntriesRunInsideTheScopeAndLeaveIt) {
  ScopeWatchingPlug plug;
  plug.SetInputConnections(2);
  plug.SetOutputConnections(2);
  plug.SetMaxBlockSize(64);
  double left[64] = {}, right[64] = {};
  double* channels[2] = {left, right};
  plug.ProcessDoubleBlock(channels, channels, 64);
  EXPECT_TRUE(plug.sawScope);
  EXPECT_FALSE(AudioPathScope::IsActive());
}

#ifndef NDEBUG
TEST(AudioPathDeathTest, GrowingABufferOnTheAudioPathStopsTheProgram) {
  EXPECT_DEATH(
      {
        const AudioPathScope audioPath;
        HeapBuffer buffer(128);
        buffer.Resize(10, false);
      },
      "HeapBuffer growth on the audio path");
}
#endif

}  // namespace
