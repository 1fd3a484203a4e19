#include "tests/engine/verify/ChainComparison.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/VocalChain.h"
#include "core/MeterFeed.h"
#include "tests/engine/verify/ModelChain.h"

namespace verify {

namespace {

constexpr double kDefaults[VocalChain::kNumParams] = {12.5, 100.0, 53.5, 0.0, 0.0, 0.0,
                                                      0.0,  1.0,   1.0,  1.0, 0.0};

double Difference(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b) ? 0.0 : INFINITY;
  if (a == b) return 0.0;  // also equal infinities
  return std::fabs(a - b);
}

bool BitIdentical(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Both sides of one run, with the bookkeeping of what has been compared so far.
class Run {
public:
  explicit Run(const Scenario& s) : mS(s) {
    mChain.SetMeters(&mPresMeter, &mFinalMeter);
    SetRate(s.rate);
    if (s.reportDefaults) {
      for (int i = 0; i < VocalChain::kNumParams; ++i) SetParam(i, DefaultValue(i), 0);
    }
  }

  Agreement Go() {
    size_t next = 0;
    size_t block = 0;
    const long total = mS.input.Frames();
    long frame = 0;
    while (frame < total) {
      for (; next < mS.changes.size() && mS.changes[next].frame <= frame; ++next) Apply(mS.changes[next]);
      long length = std::min<long>(mS.blocks[block++ % mS.blocks.size()], total - frame);
      if (next < mS.changes.size()) length = std::min(length, mS.changes[next].frame - frame);
      ProcessBlock(frame, static_cast<int>(length));
      frame += length;
    }
    mResult.frames = total;
    return mResult;
  }

private:
  void Apply(const Change& c) {
    if (c.index == Change::kSampleRate) {
      SetRate(static_cast<int>(c.value));
    } else {
      SetParam(c.index, c.value, c.frame);
    }
  }

  void SetRate(int rate) {
    mRate = rate;
    if (mS.resetRate) mChain.SetSampleRate(rate);
    mModel.SetSampleRate(rate);
  }

  void SetParam(int index, double value, long frame) {
    if (index == VocalChain::kPower) mPower = value;
    if (index == VocalChain::kMode) mModeReported = true;
    mChain.OnParamChanged(index, value);
    mModel.OnParamChanged(index, value);
    CompareSettings(frame);
  }

  void ProcessBlock(long start, int frames) {
    const double* in[2] = {&mS.input.left[start], &mS.input.right[start]};
    // In place, the chain processes a copy of the input in the output buffers; otherwise the
    // outputs start as NaN, so a sample the chain forgot to write cannot pass.
    for (int c = 0; c < 2; ++c) {
      if (mS.inPlace) {
        mOut[c].assign(in[c], in[c] + frames);
      } else {
        mOut[c].assign(static_cast<size_t>(frames), NAN);
      }
    }
    double* out[2] = {mOut[0].data(), mOut[1].data()};
    const double* chainIn[2] = {in[0], in[1]};
    if (mS.inPlace) {
      chainIn[0] = out[0];
      chainIn[1] = out[1];
    }
    const int meterRate = mS.meterRate > 0 ? mS.meterRate : mRate;
    mChain.Process(chainIn, out, frames, mPower, meterRate);
    for (int i = 0; i < frames; ++i) {
      double mL, mR;
      mModel.ProcessSample(in[0][i], in[1][i], mPower, meterRate, mL, mR);
      Output(start + i, "left output", out[0][i], mL);
      Output(start + i, "right output", out[1][i], mR);
    }
    if (frames > 0) CompareState(start + frames - 1);
  }

  void Output(long frame, const char* what, double impl, double model) {
    if (!BitIdentical(impl, model)) ++mResult.inexactSamples;
    Note(mResult.maxOutputDiff, frame, what, impl, model);
  }

  void CompareSettings(long frame) {
    const ChainTargets& t = mChain.Targets();
    const model::ModelTargets& m = mModel.Targets();
    State(frame, "pres gain target", t.presGain, m.presGain);
    State(frame, "low-cut target", t.lowCutHz, m.lowCutHz);
    State(frame, "tighten target", t.tightenHz, m.tightenHz);
    State(frame, "bass gain target", t.bassGain, m.bassGain);
    State(frame, "crisp amount target", t.crispAmount, m.crispAmount);
    State(frame, "final gain target", t.finalGain, m.finalGain);
    State(frame, "output gain target", t.outputGain, m.outputGain);
    const TimingSet& ts = mChain.Timing();
    const model::ModelTiming& mt = mModel.Timing();
    State(frame, "band look-ahead", ts.bandLookaheadMs, mt.bandLookaheadMs);
    State(frame, "final look-ahead", ts.finalLookaheadMs, mt.finalLookaheadMs);
    State(frame, "bass recovery", ts.bassRecoveryMs, mt.bassRecoveryMs);
    State(frame, "pres recovery", ts.presRecoveryMs, mt.presRecoveryMs);
    State(frame, "final recovery", ts.finalRecoveryMs, mt.finalRecoveryMs);
    State(frame, "band attack", mChain.BandAttackMs(), mModel.BandAttackMs());
    State(frame, "final attack", mChain.FinalAttackMs(), mModel.FinalAttackMs());
  }

  void CompareState(long frame) {
    State(frame, "smoothed power", mChain.SmoothedPower(), mModel.SmoothedPower());
    State(frame, "saturated air left", mChain.SaturatedAirLeft(), mModel.SaturatedAirLeft());
    State(frame, "saturated air right", mChain.SaturatedAirRight(), mModel.SaturatedAirRight());
    Limiter(frame, "bass limiter", mChain.BassLimiter(), mModel.BassLimiter());
    Limiter(frame, "pres limiter", mChain.PresLimiter(), mModel.PresLimiter());
    Limiter(frame, "final limiter", mChain.FinalLimiter(), mModel.FinalLimiter());
    Meter(frame, "pres meter", mPresMeter, mModel.PresMeter());
    Meter(frame, "final meter", mFinalMeter, mModel.FinalMeter());
  }

  template <typename Impl>
  void Limiter(long frame, const std::string& name, const Impl& impl, const model::ModelLimiter& m) {
    State(frame, (name + " left").c_str(), impl.Left(), m.Left());
    State(frame, (name + " right").c_str(), impl.Right(), m.Right());
    State(frame, (name + " gain").c_str(), impl.Gain(), m.Gain());
  }

  void Meter(long frame, const std::string& name, const MeterFeed& impl, const model::ModelMeter& m) {
    Note(mResult.maxMeterDiff, frame, (name + " level").c_str(), impl.Level(), m.Level());
    Flag(frame, (name + " lamp").c_str(), impl.Lamp(), m.lamp);
    if (mModeReported) Flag(frame, (name + " mode").c_str(), impl.Mode(), m.mode);
  }

  void State(long frame, const char* what, double impl, double model) {
    Note(mResult.maxStateDiff, frame, what, impl, model);
  }

  void Flag(long frame, const char* what, int impl, int model) {
    if (impl != model) Mismatch(frame, what, impl, model);
  }

  void Note(double& maximum, long frame, const char* what, double impl, double model) {
    const double d = Difference(impl, model);
    maximum = std::max(maximum, d);
    if (d > kTolerance) Mismatch(frame, what, impl, model);
  }

  void Mismatch(long frame, const char* what, double impl, double model) {
    if (mResult.mismatches++ > 0) return;
    char text[256];
    std::snprintf(text, sizeof text, "frame %ld, %s: chain %.17g, model %.17g", frame, what, impl, model);
    mResult.firstMismatch = text;
  }

  const Scenario& mS;
  VocalChain mChain;
  MeterFeed mPresMeter;
  MeterFeed mFinalMeter;
  model::ModelChain mModel;
  int mRate = 0;
  double mPower = 1.0;
  bool mModeReported = false;
  std::vector<double> mOut[2];
  Agreement mResult;
};

}  // namespace

double DefaultValue(int index) { return kDefaults[index]; }

std::string Agreement::Summary(const std::string& name) const {
  char text[512];
  std::snprintf(text, sizeof text,
                "%s: %ld frames, max |output diff| %.3g, max |meter diff| %.3g, max |state diff| %.3g, "
                "%ld output samples not bit-identical, %ld mismatches%s%s",
                name.c_str(), frames, maxOutputDiff, maxMeterDiff, maxStateDiff, inexactSamples, mismatches,
                mismatches > 0 ? "; first: " : "", firstMismatch.c_str());
  return text;
}

Agreement Compare(const Scenario& scenario) { return Run(scenario).Go(); }

Agreement CompareAndReport(const Scenario& scenario) {
  const Agreement a = Compare(scenario);
  std::printf("[ agree    ] %s\n", a.Summary(scenario.name).c_str());
  return a;
}

}  // namespace verify
