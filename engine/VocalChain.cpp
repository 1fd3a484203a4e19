#include "engine/VocalChain.h"

#include <algorithm>
#include <cmath>

namespace {

// Every filter runs with this Q; every smoother snaps within this distance of its target.
constexpr double kQ = 0.7;
constexpr double kSnap = 0.01;
constexpr double kGlideMs = 40.0;
constexpr double kPowerMs = 25.0;
constexpr double kThreshold = 1.0;
constexpr double kAirHz = 10000.0;
// Linear gains of dB figures, each written once and rounded as the chain has always had it: every
// digit reaches the output. The bass band goes +25 dB into its limiter and comes back down by
// 20 dB; the air band goes +15 dB into its saturators.
constexpr double kBassDrive = 17.7827941;  // +25 dB
constexpr double kBassReturn = 0.1;        // -20 dB
constexpr double kAirDrive = 5.62341;      // +15 dB
// The spans the gain smoothers normalise their glide to (they scale the glide and the snap test,
// and clamp nothing): 0..+25 dB for "Pres Comp" and "Final Comp" (the same +25 dB as the bass
// drive, at one digit less), -10..+10 dB for "Bass" and -20..+20 dB for "Db Output".
constexpr double kGainGlideLow = 1.0, kGainGlideHigh = 17.7828;
constexpr double kBassGlideLow = 0.316228, kBassGlideHigh = 3.16228;
constexpr double kOutputGlideLow = 0.1, kOutputGlideHigh = 10.0;
// The spans of the other glides: the crossover in Hz, and the air amount.
constexpr double kTightenGlideLow = 120.0, kTightenGlideHigh = 400.0;
constexpr double kCrispGlideLow = 0.0, kCrispGlideHigh = 7.8;
// Past its +15 dB drive the air band is scaled once more into the saturators' working range.
constexpr double kSaturatorScale = 2.2;
// The meters show 1.0 at the point where the limiter starts to work, scaled by this.
constexpr double kMeterScale = 1.6;

constexpr TimingSet kModeTimings[] = {
    {1.5, 1.5, 250.0, 200.0, 280.0},  // 1 "A"
    {1.0, 1.0, 50.0, 30.0, 20.0},     // 2 "B"
    {0.2, 0.2, 50.0, 30.0, 5.0},      // 3 "C"
    {0.0, 0.0, 320.0, 300.0, 2.0},    // 4 "D"
};
static_assert(sizeof kModeTimings / sizeof kModeTimings[0] == kBrelvaneParams[VocalChain::kMode].max,
              "one timing set for each mode from 1 up");

// A value outside a knob's range (which normalised automation can produce) is taken at the nearest
// end of it, so it never reaches a filter as a zero or negative frequency.
double InRange(int index, double value) {
  return std::min(std::max(value, kBrelvaneParams[index].min), kBrelvaneParams[index].max);
}

// Non-finite input is silence, on both sides of the power crossfade.
inline double Finite(double x) { return std::isfinite(x) ? x : 0.0; }

// What the processed path takes in: silence for non-finite input, and magnitudes beyond the ceiling
// held at it. Real audio never comes near it, so it passes bit for bit; absurd values can then never
// overflow a filter or limiter state, and the output stays finite on every sample.
inline double Held(double x) {
  if (std::fabs(x) <= VocalChain::kInputCeiling) return x;
  return std::isfinite(x) ? std::copysign(VocalChain::kInputCeiling, x) : 0.0;
}

inline double LouderOf(double a, double b) { return std::max(std::fabs(a), std::fabs(b)); }

// A meter without a feed (no editor) has nobody to show its needle to.
inline void SetMeterRate(const MeterFeed* meter, MeterBallistics& needle, int rate) {
  if (meter) needle.SetRate(rate);
}

inline void Push(MeterFeed* meter, MeterBallistics& needle, double level) {
  if (meter) meter->Publish(needle.Step(level));
}

}  // namespace

double VocalChain::DbToGain(double db) { return db > -200.0 ? dsp::Pow(10.0, db / 20.0) : 0.0; }

// A quadratic Bézier through the control values 0, 0.05 and 1 (de Casteljau), so small "Crispy"
// settings add very little and the top of the range adds the most.
double VocalChain::CrispAmount(double db) {
  const double b = db / 6.0;
  const double u = 1.0 - b;
  return ((u * 0.0 + b * 0.05) * u + (u * 0.05 + b * 1.0) * b) * 6.0 * 0.083;
}

double VocalChain::TightenHz(double percent) { return 4.3 * percent + 20.0; }

double VocalChain::SoftClip(double a) {
  constexpr double kRest = 0.04472136124968529;  // √0.002: the clipper's output at rest is 0
  const double up = a + 0.5;
  const double down = a - 0.5;
  const double s = ((std::sqrt(up * up + 0.002) - kRest) - (std::sqrt(down * down + 0.002) - kRest)) * 0.5;
  return (s * 0.07970000058412552 + 0.09446000307798386) * s + s;
}

void VocalChain::SetMeters(MeterFeed* presMeter, MeterFeed* finalMeter) {
  mPresMeter = presMeter;
  mFinalMeter = finalMeter;
}

void VocalChain::OnParamChanged(int index, double value) {
  if (!std::isfinite(value)) return;
  switch (index) {
    case kPresComp: mTargets.presGain = DbToGain(InRange(index, value)); break;
    case kLowCut: mTargets.lowCutHz = InRange(index, value); break;
    case kTighten: mTargets.tightenHz = TightenHz(InRange(index, value)); break;
    case kBass: mTargets.bassGain = DbToGain(InRange(index, value)); break;
    case kCrispy: mTargets.crispAmount = CrispAmount(InRange(index, value)); break;
    case kFinalComp: mTargets.finalGain = DbToGain(InRange(index, value)); break;
    case kDbOutput: mTargets.outputGain = DbToGain(InRange(index, value)); break;
    case kMode: ApplyMode(value); break;
    case kPLimit: mBandAttackMs = value >= 0.5 ? 0.0 : 1.0; break;
    case kFLimit: mFinalAttackMs = value >= 0.5 ? 0.0 : 1.0; break;
    // The signal takes "Power" every block; the lamp shows the switch at once, so an editor whose
    // engine is not running (stopped audio, the LV2 UI's model) shows it too.
    case kPower: ShowPower(value); break;
    default: break;  // other indices mean nothing here
  }
}

// Mode 0 (which a host may set; it shows as "A") and unknown modes keep the timing set as it is.
void VocalChain::ApplyMode(double value) {
  // Truncated toward zero; far out-of-range values are held just outside the table first so the
  // conversion to int is always defined.
  const int mode = static_cast<int>(std::min(std::max(value, -1.0), 5.0));
  if (mPresMeter) mPresMeter->SetMode(mode);
  if (mFinalMeter) mFinalMeter->SetMode(mode);
  if (mode >= 1 && mode <= 4) mTiming = kModeTimings[mode - 1];
}

void VocalChain::ShowPower(double power) {
  if (mPresMeter) mPresMeter->SetLamp(power >= 0.5);
  if (mFinalMeter) mFinalMeter->SetLamp(power >= 0.5);
}

int VocalChain::DspRate(int hostRate) const {
  if (mSampleRate > 0) return std::min(mSampleRate, kMaxSampleRate);
  if (hostRate > 0) return std::min(hostRate, kMaxSampleRate);
  return kDefaultSampleRate;
}

int VocalChain::ProcessedDelay(int mode, int hostRate) {
  const TimingSet& t = kModeTimings[mode >= 1 && mode <= 4 ? mode - 1 : 0];
  const int sr = hostRate > 0 ? std::min(hostRate, kMaxSampleRate) : kDefaultSampleRate;
  const auto lag = [sr](double ms) { return std::max(LookaheadLimiter::WindowLength(ms, sr) - 1, 0); };
  return lag(t.bandLookaheadMs) + lag(t.finalLookaheadMs);
}

void VocalChain::Process(const double* const* inputs, double* const* outputs, int frames, double power,
                         int hostRate) {
  if (frames < 1 || !outputs || !outputs[0] || !outputs[1]) return;
  if (!inputs || !inputs[0] || !inputs[1]) {
    Silence(outputs, frames);
    return;
  }
  const int sr = DspRate(hostRate);
  const int meterRate = hostRate > 0 ? std::min(hostRate, kMaxSampleRate) : sr;
  // "Power" is a switch: anything from 0.5 up is on, so a stray value can never scale the signal.
  const double p = power >= 0.5 ? 1.0 : 0.0;
  // The lamp follows the switch; it cannot change within a block, so one write per block suffices.
  ShowPower(p);
  const double* inL = inputs[0];
  const double* inR = inputs[1];
  double* outL = outputs[0];
  double* outR = outputs[1];
  for (int start = 0; start < frames; start += kChunk) {
    const int count = std::min(kChunk, frames - start);
    ProcessChunk(inL + start, inR + start, outL + start, outR + start, count, p, sr, meterRate);
  }
}

void VocalChain::Silence(double* const* outputs, int frames) {
  std::fill(outputs[0], outputs[0] + frames, 0.0);
  std::fill(outputs[1], outputs[1] + frames, 0.0);
}

// The chain has no feedback from a later stage to an earlier one: the smoothers glide on their own,
// the filters take only the driven input, each limiter only what comes before it. A chunk is
// therefore run stage by stage, each stage over all its frames, and every block still sees the same
// calls with the same arguments in the same order, so every result is bit for bit the one of a
// frame-by-frame run. It lets the subnormal-flushing mode, which only filter arithmetic may run
// under, be switched twice per chunk instead of twice per frame; the other stages run in the
// caller's mode as before. Every value is read from the input before any output is written, so
// in-place blocks are fine.
void VocalChain::ProcessChunk(const double* inL, const double* inR, double* outL, double* outR, int count,
                              double p, int sr, int meterRate) {
  const double rate = sr;
  GlideTargets(p, sr, count);
  TakeInput(inL, inR, count);
  FilterBands(rate, count);
  LimitBands(sr, meterRate, count);
  FilterAir(rate, count);
  MixIntoFinalLimiter(outL, outR, sr, meterRate, count);
}

// Every smoother glides on its own, so each runs over the whole chunk in one go.
void VocalChain::GlideTargets(double p, int sr, int count) {
  Glides& g = mChunk.glide;
  const ParamSpec& lowCut = kBrelvaneParams[kLowCut];
  mPowerSmoother.ProcessRun(p, sr, kPowerMs, 0.0, 1.0, kSnap, g.power, count);
  mPresGainSmoother.ProcessRun(mTargets.presGain, sr, kGlideMs, kGainGlideLow, kGainGlideHigh, kSnap,
                               g.presGain, count);
  mLowCutSmoother.ProcessRun(mTargets.lowCutHz, sr, kGlideMs, lowCut.min, lowCut.max, kSnap, g.lowCutHz,
                             count);
  mTightenSmoother.ProcessRun(mTargets.tightenHz, sr, kGlideMs, kTightenGlideLow, kTightenGlideHigh, kSnap,
                              g.tightenHz, count);
  mBassGainSmoother.ProcessRun(mTargets.bassGain, sr, kGlideMs, kBassGlideLow, kBassGlideHigh, kSnap,
                               g.bassGain, count);
  mCrispSmoother.ProcessRun(mTargets.crispAmount, sr, kGlideMs, kCrispGlideLow, kCrispGlideHigh, kSnap,
                            g.crispAmount, count);
  mFinalGainSmoother.ProcessRun(mTargets.finalGain, sr, kGlideMs, kGainGlideLow, kGainGlideHigh, kSnap,
                                g.finalGain, count);
  mOutputGainSmoother.ProcessRun(mTargets.outputGain, sr, kGlideMs, kOutputGlideLow, kOutputGlideHigh, kSnap,
                                 g.outputGain, count);
  mSmoothedPower = g.power[count - 1];
}

void VocalChain::TakeInput(const double* inL, const double* inR, int count) {
  ChunkValues& c = mChunk;
  for (int i = 0; i < count; ++i) {
    c.dryL[i] = Finite(inL[i]);
    c.dryR[i] = Finite(inR[i]);
    const double xL = c.glide.power[i] * Held(inL[i]);
    const double xR = c.glide.power[i] * Held(inR[i]);
    c.driveL[i] = c.glide.presGain[i] * xL;
    c.driveR[i] = c.glide.presGain[i] * xR;
  }
}

// The low cut and the crossover's two halves under one flush-to-zero scope: nothing but filter
// arithmetic runs inside. Each filter runs over the whole chunk in turn; they share no state, so
// the order of the calls between them does not matter.
void VocalChain::FilterBands(double rate, int count) {
  ChunkValues& c = mChunk;
  const DenormalScope flushDenormals;
  mLowCut.ProcessRunFlushed(c.driveL, c.driveR, c.glide.lowCutHz, kQ, rate, FilterType::HighPass, 1, c.cutL,
                            c.cutR, count);
  mTightenLow.ProcessRunFlushed(c.cutL, c.cutR, c.glide.tightenHz, kQ, rate, FilterType::LowPass, 1, c.lowL,
                                c.lowR, count);
  mTightenHigh.ProcessRunFlushed(c.cutL, c.cutR, c.glide.tightenHz, kQ, rate, FilterType::HighPass, 1,
                                 c.highL, c.highR, count);
}

// The limiters' and meters' settings are the same for the whole chunk, so each is set up once and
// then stepped per frame (see LookaheadLimiter::SetUp).
void VocalChain::LimitBands(int sr, int meterRate, int count) {
  ChunkValues& c = mChunk;
  mBassLimiter.SetUp(kThreshold, mBandAttackMs, mTiming.bassRecoveryMs, mTiming.bandLookaheadMs, sr);
  mPresLimiter.SetUp(kThreshold, mBandAttackMs, mTiming.presRecoveryMs, mTiming.bandLookaheadMs, sr);
  SetMeterRate(mPresMeter, mPresNeedle, meterRate);
  for (int i = 0; i < count; ++i) {
    mBassLimiter.Step(c.lowL[i] * kBassDrive, c.lowR[i] * kBassDrive);
    c.bassL[i] = mBassLimiter.Left() * kBassReturn * c.glide.bassGain[i];
    c.bassR[i] = mBassLimiter.Right() * kBassReturn * c.glide.bassGain[i];
    Push(mPresMeter, mPresNeedle, LouderOf(c.highL[i] * kMeterScale, c.highR[i] * kMeterScale));
    mPresLimiter.Step(c.highL[i], c.highR[i]);
    c.presL[i] = mPresLimiter.Left();
    c.presR[i] = mPresLimiter.Right();
  }
}

void VocalChain::FilterAir(double rate, int count) {
  ChunkValues& c = mChunk;
  const DenormalScope flushDenormals;
  mAir.ProcessRunFlushed(c.presL, c.presR, kAirHz, kQ, rate, FilterType::HighPass, 0, c.airL, c.airR, count);
}

// The bands and the saturated air, driven into the final limiter, trimmed and crossfaded with the
// dry input by "Power".
void VocalChain::MixIntoFinalLimiter(double* outL, double* outR, int sr, int meterRate, int count) {
  ChunkValues& c = mChunk;
  const Glides& g = c.glide;
  mFinalLimiter.SetUp(kThreshold, mFinalAttackMs, mTiming.finalRecoveryMs, mTiming.finalLookaheadMs, sr);
  SetMeterRate(mFinalMeter, mFinalNeedle, meterRate);
  for (int i = 0; i < count; ++i) {
    const double aL = c.airL[i] * kAirDrive * kSaturatorScale;
    const double aR = c.airR[i] * kAirDrive * kSaturatorScale;
    const double crisp = g.crispAmount[i];
    // With "Crispy" at exactly 0 the left saturator's output only decides the sign of the zero that
    // crisp × sL adds. tanh keeps the sign of a finite argument (it is odd, and tanh(±0) is ±0), so
    // crisp × aL is that same zero and tanh is skipped; infinite and NaN arguments still go through
    // it. The stored saturator input gives the saturator's output on request (SaturatedAirLeft).
    mAirInputL = aL;
    const double crispL = crisp == 0.0 && std::isfinite(aL) ? crisp * aL : crisp * dsp::Tanh(aL);
    mSaturatedAirR = SoftClip(aR);

    const double mL = (c.presL[i] + c.bassL[i] + crispL) * g.finalGain[i];
    const double mR = (c.presR[i] + c.bassR[i] + crisp * mSaturatedAirR) * g.finalGain[i];
    Push(mFinalMeter, mFinalNeedle, LouderOf(mL * kMeterScale, mR * kMeterScale));
    mFinalLimiter.Step(mL, mR);

    const double power = g.power[i];
    outL[i] = (1.0 - power) * c.dryL[i] + power * (g.outputGain[i] * mFinalLimiter.Left());
    outR[i] = (1.0 - power) * c.dryR[i] + power * (g.outputGain[i] * mFinalLimiter.Right());
  }
}
