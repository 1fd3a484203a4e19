#include "tests/engine/verify/ChainComparison.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/VocalChain.h"
#include "engine/dsp/MeterFeed.h"
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
  explicit Run(const Scenario& s) : s_(s) {
    chain_.SetMeters(&presMeter_, &finalMeter_);
    SetRate(s.rate);
    if (s.reportDefaults) {
      for (int i = 0; i < VocalChain::kNumParams; ++i) SetParam(i, DefaultValue(i), 0);
    }
  }

  Agreement Go() {
    size_t next = 0;
    size_t block = 0;
    const long total = s_.input.frames();
    long frame = 0;
    while (frame < total) {
      for (; next < s_.changes.size() && s_.changes[next].frame <= frame; ++next) Apply(s_.changes[next]);
      long length = std::min<long>(s_.blocks[block++ % s_.blocks.size()], total - frame);
      if (next < s_.changes.size()) length = std::min(length, s_.changes[next].frame - frame);
      ProcessBlock(frame, static_cast<int>(length));
      frame += length;
    }
    result_.frames = total;
    return result_;
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
    rate_ = rate;
    if (s_.resetRate) chain_.SetSampleRate(rate);
    model_.SetSampleRate(rate);
  }

  void SetParam(int index, double value, long frame) {
    if (index == VocalChain::kPower) power_ = value;
    if (index == VocalChain::kMode) modeReported_ = true;
    chain_.OnParamChanged(index, value);
    model_.OnParamChanged(index, value);
    CompareSettings(frame);
  }

  void ProcessBlock(long start, int frames) {
    const double* in[2] = {&s_.input.left[start], &s_.input.right[start]};
    // In place, the chain processes a copy of the input in the output buffers; otherwise the
    // outputs start as NaN, so a sample the chain forgot to write cannot pass.
    for (int c = 0; c < 2; ++c) {
      if (s_.inPlace) {
        out_[c].assign(in[c], in[c] + frames);
      } else {
        out_[c].assign(static_cast<size_t>(frames), NAN);
      }
    }
    double* out[2] = {out_[0].data(), out_[1].data()};
    const double* chainIn[2] = {in[0], in[1]};
    if (s_.inPlace) {
      chainIn[0] = out[0];
      chainIn[1] = out[1];
    }
    const int meterRate = s_.meterRate > 0 ? s_.meterRate : rate_;
    chain_.Process(chainIn, out, frames, power_, meterRate);
    for (int i = 0; i < frames; ++i) {
      double mL, mR;
      model_.ProcessSample(in[0][i], in[1][i], power_, meterRate, mL, mR);
      Output(start + i, "left output", out[0][i], mL);
      Output(start + i, "right output", out[1][i], mR);
    }
    if (frames > 0) CompareState(start + frames - 1);
  }

  void Output(long frame, const char* what, double impl, double model) {
    if (!BitIdentical(impl, model)) ++result_.inexactSamples;
    Note(result_.maxOutputDiff, frame, what, impl, model);
  }

  void CompareSettings(long frame) {
    const ChainTargets& t = chain_.Targets();
    const model::ModelTargets& m = model_.targets();
    State(frame, "pres gain target", t.presGain, m.presGain);
    State(frame, "low-cut target", t.lowCutHz, m.lowCutHz);
    State(frame, "tighten target", t.tightenHz, m.tightenHz);
    State(frame, "bass gain target", t.bassGain, m.bassGain);
    State(frame, "crisp amount target", t.crispAmount, m.crispAmount);
    State(frame, "final gain target", t.finalGain, m.finalGain);
    State(frame, "output gain target", t.outputGain, m.outputGain);
    const TimingSet& ts = chain_.Timing();
    const model::ModelTiming& mt = model_.timing();
    State(frame, "band look-ahead", ts.bandLookaheadMs, mt.bandLookaheadMs);
    State(frame, "final look-ahead", ts.finalLookaheadMs, mt.finalLookaheadMs);
    State(frame, "bass recovery", ts.bassRecoveryMs, mt.bassRecoveryMs);
    State(frame, "pres recovery", ts.presRecoveryMs, mt.presRecoveryMs);
    State(frame, "final recovery", ts.finalRecoveryMs, mt.finalRecoveryMs);
    State(frame, "band attack", chain_.BandAttackMs(), model_.bandAttackMs());
    State(frame, "final attack", chain_.FinalAttackMs(), model_.finalAttackMs());
  }

  void CompareState(long frame) {
    State(frame, "smoothed power", chain_.SmoothedPower(), model_.smoothedPower());
    State(frame, "saturated air left", chain_.SaturatedAirLeft(), model_.saturatedAirLeft());
    State(frame, "saturated air right", chain_.SaturatedAirRight(), model_.saturatedAirRight());
    Limiter(frame, "bass limiter", chain_.BassLimiter(), model_.bassLimiter());
    Limiter(frame, "pres limiter", chain_.PresLimiter(), model_.presLimiter());
    Limiter(frame, "final limiter", chain_.FinalLimiter(), model_.finalLimiter());
    Meter(frame, "pres meter", presMeter_, model_.presMeter());
    Meter(frame, "final meter", finalMeter_, model_.finalMeter());
  }

  template <typename Impl>
  void Limiter(long frame, const std::string& name, const Impl& impl, const model::ModelLimiter& m) {
    State(frame, (name + " left").c_str(), impl.left(), m.left());
    State(frame, (name + " right").c_str(), impl.right(), m.right());
    State(frame, (name + " gain").c_str(), impl.gain(), m.gain());
  }

  void Meter(long frame, const std::string& name, const MeterFeed& impl, const model::ModelMeter& m) {
    Note(result_.maxMeterDiff, frame, (name + " level").c_str(), impl.level(), m.Level());
    Flag(frame, (name + " lamp").c_str(), impl.lamp(), m.lamp);
    if (modeReported_) Flag(frame, (name + " mode").c_str(), impl.mode(), m.mode);
  }

  void State(long frame, const char* what, double impl, double model) {
    Note(result_.maxStateDiff, frame, what, impl, model);
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
    if (result_.mismatches++ > 0) return;
    char text[256];
    std::snprintf(text, sizeof text, "frame %ld, %s: chain %.17g, model %.17g", frame, what, impl, model);
    result_.firstMismatch = text;
  }

  const Scenario& s_;
  VocalChain chain_;
  MeterFeed presMeter_;
  MeterFeed finalMeter_;
  model::ModelChain model_;
  int rate_ = 0;
  double power_ = 1.0;
  bool modeReported_ = false;
  std::vector<double> out_[2];
  Agreement result_;
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
