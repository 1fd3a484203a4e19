// The plug-in's audio and parameter paths touch no heap once it has processed a first block: in
// every mode, on the first block after a mode or sample-rate change (when the look-ahead buffers
// change length), for long host blocks served in slices, and while parameters change.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "engine/Brelvane.h"
#include "tests/support/AllocationCounter.h"
#include "tests/support/HeapBufferCounting.h"

namespace {

constexpr int kHostMaxBlock = 1024;  // what the test adapter announces
constexpr double kPi = 3.14159265358979323846;
const double kRates[] = {22050, 44100, 48000, 88200, 96000, 176400, 192000, 352800, 384000};

// "" when work allocated and released nothing on this thread, else what it did.
template <class Work>
std::string HeapUseDuring(Work&& work) {
  AllocationCounter counter;
  work();
  counter.Stop();
  return counter.Allocations() + counter.Releases() == 0 ? std::string() : counter.Describe();
}

// A loud vocal-like signal, so every limiter works and its peak window is rescanned.
double LoudVoice(int i, int channel) {
  const double t = i / 48000.0;
  const double swell = 0.5 + 0.45 * std::sin(2 * kPi * 2.1 * t);
  return swell * (0.6 * std::sin(2 * kPi * 190 * t + channel) + 0.3 * std::sin(2 * kPi * 95 * t) +
                  0.2 * std::sin(2 * kPi * 3100 * t + 0.4 * channel));
}

class BrelvaneRealtime : public testing::Test {
protected:
  static constexpr int kFrames = 4 * kHostMaxBlock + 17;

  BrelvaneRealtime()
      : mPlug(static_cast<Brelvane*>(MakePlug(TestInstanceInfo{}))),
        mInL(kFrames),
        mInR(kFrames),
        mOutL(kFrames),
        mOutR(kFrames),
        mFloatL(kFrames),
        mFloatR(kFrames),
        mFloatOutL(kFrames),
        mFloatOutR(kFrames) {
    for (int i = 0; i < kFrames; ++i) {
      mInL[i] = LoudVoice(i, 0);
      mInR[i] = LoudVoice(i, 1);
      mFloatL[i] = static_cast<float>(mInL[i]);
      mFloatR[i] = static_cast<float>(mInR[i]);
    }
    mPlug->SetSampleRate(48000.0);
    mPlug->OnReset();
    mPlug->NotifyAllParamsChanged();
    Process(kHostMaxBlock);  // the warm-up block
  }

  void Process(int frames) {
    double* in[2] = {mInL.data(), mInR.data()};
    double* out[2] = {mOutL.data(), mOutR.data()};
    mPlug->ProcessDouble(in, out, frames);
  }

  void Set(int index, double value) {
    mPlug->GetParam(index)->SetValue(value);
    mPlug->OnParamChanged(index);
  }

  bool OutputIsFinite(int frames) const {
    for (int i = 0; i < frames; ++i) {
      if (!std::isfinite(mOutL[i]) || !std::isfinite(mOutR[i])) return false;
    }
    return true;
  }

  HeapBufferCounting mCountCoreBlocks;  // first, so the core's blocks of the plug-in are counted too
  std::unique_ptr<Brelvane> mPlug;
  std::vector<double> mInL, mInR, mOutL, mOutR;
  std::vector<float> mFloatL, mFloatR, mFloatOutL, mFloatOutR;
};

}  // namespace

TEST_F(BrelvaneRealtime, BlocksOfAnyLengthAllocateNothingAfterTheFirst) {
  for (int frames : {1, 2, 63, 64, 256, 1000, kHostMaxBlock}) {
    EXPECT_EQ(HeapUseDuring([&] { Process(frames); }), "") << frames << " frames";
  }
  EXPECT_TRUE(OutputIsFinite(kHostMaxBlock));
}

TEST_F(BrelvaneRealtime, EveryModeChangeAndTheBlockAfterItAllocateNothing) {
  // Every ordered pair of modes, so each look-ahead length follows each other one.
  for (int from = 0; from <= 4; ++from) {
    for (int to = 0; to <= 4; ++to) {
      SCOPED_TRACE(testing::Message() << "mode " << from << " -> " << to);
      Set(Brelvane::kMode, from);
      Process(256);
      EXPECT_EQ(HeapUseDuring([&] { Set(Brelvane::kMode, to); }), "");
      EXPECT_EQ(HeapUseDuring([&] { Process(256); }), "");
    }
  }
}

TEST_F(BrelvaneRealtime, LimiterSwitchesAndPowerAllocateNothingInEveryMode) {
  for (int mode = 0; mode <= 4; ++mode) {
    SCOPED_TRACE(testing::Message() << "mode " << mode);
    Set(Brelvane::kMode, mode);
    for (int pLimit = 0; pLimit <= 1; ++pLimit) {
      for (int fLimit = 0; fLimit <= 1; ++fLimit) {
        for (int power : {0, 1}) {
          EXPECT_EQ(HeapUseDuring([&] {
                      Set(Brelvane::kPLimit, pLimit);
                      Set(Brelvane::kFLimit, fLimit);
                      Set(Brelvane::kPower, power);
                      Process(512);
                    }),
                    "")
              << "P Limit " << pLimit << ", F Limit " << fLimit << ", Power " << power;
        }
      }
    }
  }
  EXPECT_TRUE(OutputIsFinite(512));
}

TEST_F(BrelvaneRealtime, SampleRateChangesAllocateNothingInAnyMode) {
  std::vector<double> sweep(std::begin(kRates), std::end(kRates));
  sweep.insert(sweep.end(), std::rbegin(kRates), std::rend(kRates));
  for (int mode = 1; mode <= 4; ++mode) {
    Set(Brelvane::kMode, mode);
    for (double rate : sweep) {
      SCOPED_TRACE(testing::Message() << "mode " << mode << " at " << rate << " Hz");
      EXPECT_EQ(HeapUseDuring([&] {
                  mPlug->SetSampleRate(rate);
                  mPlug->OnReset();
                }),
                "");
      EXPECT_EQ(HeapUseDuring([&] { Process(kHostMaxBlock); }), "");
      // A mode change at this rate: the look-ahead length changes again.
      EXPECT_EQ(HeapUseDuring([&] {
                  Set(Brelvane::kMode, mode % 4 + 1);
                  Process(64);
                  Set(Brelvane::kMode, mode);
                  Process(64);
                }),
                "");
    }
  }
  EXPECT_TRUE(OutputIsFinite(64));
}

TEST_F(BrelvaneRealtime, RatesBeyondTheUsualOnesAllocateNothing) {
  for (double rate : {8000.0, 768000.0, 1536000.0, 2000000.0, 5000000.0, 1e12}) {
    SCOPED_TRACE(testing::Message() << rate << " Hz");
    mPlug->SetSampleRate(rate);
    mPlug->OnReset();
    EXPECT_EQ(HeapUseDuring([&] { Process(kHostMaxBlock); }), "");
  }
}

TEST_F(BrelvaneRealtime, ParameterChangesAllocateNothing) {
  for (int index = 0; index < mPlug->NParams(); ++index) {
    const IParamDef* param = mPlug->GetParam(index);
    SCOPED_TRACE(param->GetName());
    for (double value :
         {param->GetMin(), param->GetMax(), param->GetDefault(), 0.5 * (param->GetMin() + param->GetMax())}) {
      EXPECT_EQ(HeapUseDuring([&] { Set(index, value); }), "") << value;
    }
    for (double normalized : {0.0, 0.37, 1.0, -0.25, 1.5}) {
      EXPECT_EQ(HeapUseDuring([&] {
                  mPlug->GetParam(index)->SetFromNormalized(normalized);
                  mPlug->OnParamChanged(index);
                }),
                "")
          << "normalized " << normalized;
    }
  }
  EXPECT_EQ(HeapUseDuring([&] {
              mPlug->NotifyAllParamsChanged();
              mPlug->OnParamChanged(-1);
              mPlug->OnParamChanged(mPlug->NParams());
            }),
            "");
}

TEST_F(BrelvaneRealtime, LongHostBlocksServedInSlicesAllocateNothing) {
  ASSERT_EQ(mPlug->GetMaxBlockSize(), kHostMaxBlock);
  double* in[2] = {mInL.data(), mInR.data()};
  double* out[2] = {mOutL.data(), mOutR.data()};
  float* fin[2] = {mFloatL.data(), mFloatR.data()};
  float* fout[2] = {mFloatOutL.data(), mFloatOutR.data()};
  for (int mode = 0; mode <= 4; ++mode) {
    SCOPED_TRACE(testing::Message() << "mode " << mode);
    Set(Brelvane::kMode, mode);
    EXPECT_EQ(HeapUseDuring([&] { mPlug->ProcessDoubleBlock(in, out, kFrames); }), "");
    EXPECT_EQ(HeapUseDuring([&] { mPlug->ProcessFloatBlock(fin, fout, kFrames, false); }), "");
    EXPECT_EQ(HeapUseDuring([&] { mPlug->ProcessFloatBlock(fin, fout, kFrames, true); }), "");
  }
  EXPECT_TRUE(OutputIsFinite(kFrames));
}
