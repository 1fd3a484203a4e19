#include "tests/engine/verify/ModelChain.h"

#include <algorithm>
#include <cmath>

namespace model {

namespace {

constexpr double kSnap = 0.01;
constexpr double kQ = 0.7;
constexpr double kGlideMs = 40.0;

}  // namespace

double ModelChain::DbToGain(double db) { return db > -200.0 ? Pow(10.0, db / 20.0) : 0.0; }

double ModelChain::CrispAmount(double db) {
  const double b = db / 6.0;
  const double bezier = ((1.0 - b) * 0.0 + b * 0.05) * (1.0 - b) + ((1.0 - b) * 0.05 + b * 1.0) * b;
  return bezier * 6.0 * 0.083;
}

double ModelChain::TightenHz(double percent) { return 4.3 * percent + 20.0; }

double ModelChain::SaturateRight(double a) {
  const double s = ((std::sqrt((a + 0.5) * (a + 0.5) + 0.002) - 0.04472136124968529) -
                    (std::sqrt((a - 0.5) * (a - 0.5) + 0.002) - 0.04472136124968529)) *
                   0.5;
  return (s * 0.07970000058412552 + 0.09446000307798386) * s + s;
}

void ModelChain::OnParamChanged(int index, double v) {
  switch (index) {
    case 0: mTargets.presGain = DbToGain(v); break;
    case 1: mTargets.lowCutHz = v; break;
    case 2: mTargets.tightenHz = TightenHz(v); break;
    case 3: mTargets.bassGain = DbToGain(v); break;
    case 4: mTargets.crispAmount = CrispAmount(v); break;
    case 5: mTargets.finalGain = DbToGain(v); break;
    case 6: mTargets.outputGain = DbToGain(v); break;
    case 8: ApplyMode(v); break;
    case 9: mBandAttackMs = v >= 0.5 ? 0.0 : 1.0; break;
    case 10: mFinalAttackMs = v >= 0.5 ? 0.0 : 1.0; break;
    default: break;
  }
}

void ModelChain::ApplyMode(double v) {
  const int mode = static_cast<int>(v);
  mPresMeter.mode = mode;
  mFinalMeter.mode = mode;
  switch (mode) {
    case 1: mTiming = {1.5, 1.5, 250.0, 200.0, 280.0}; break;
    case 2: mTiming = {1.0, 1.0, 50.0, 30.0, 20.0}; break;
    case 3: mTiming = {0.2, 0.2, 50.0, 30.0, 5.0}; break;
    case 4: mTiming = {0.0, 0.0, 320.0, 300.0, 2.0}; break;
    default: break;
  }
}

ModelChain::Glided ModelChain::GlideTargets() {
  const int sr = mSampleRate;
  Glided g;
  g.gp = mPresGain.Process(mTargets.presGain, sr, kGlideMs, 1.0, 17.7828, kSnap);
  g.fc = mLowCut.Process(mTargets.lowCutHz, sr, kGlideMs, 20.0, 300.0, kSnap);
  g.ft = mTighten.Process(mTargets.tightenHz, sr, kGlideMs, 120.0, 400.0, kSnap);
  g.gb = mBassGain.Process(mTargets.bassGain, sr, kGlideMs, 0.316228, 3.16228, kSnap);
  g.ac = mCrisp.Process(mTargets.crispAmount, sr, kGlideMs, 0.0, 7.8, kSnap);
  g.gf = mFinalGain.Process(mTargets.finalGain, sr, kGlideMs, 1.0, 17.7828, kSnap);
  g.gt = mOutputGain.Process(mTargets.outputGain, sr, kGlideMs, 0.1, 10.0, kSnap);
  return g;
}

double ModelChain::Louder(double a, double b) const {
  return std::max(std::fabs(a * 1.6), std::fabs(b * 1.6));
}

void ModelChain::ProcessSample(double inL, double inR, double p, int meterRate, double& outL, double& outR) {
  const int sr = mSampleRate;
  const double rate = static_cast<double>(sr);
  // 1-3: power glide, lamps, faded input.
  const double ps = mPower.Process(p, sr, 25.0, 0.0, 1.0, kSnap);
  mSmoothedPower = ps;
  mPresMeter.lamp = p >= 0.5;
  mFinalMeter.lamp = p >= 0.5;
  const double xL = ps * inL;
  const double xR = ps * inR;
  // 4: glides.
  const Glided g = GlideTargets();
  // 5: low cut.
  const double hL = mLowCutL.Process(g.gp * xL, g.fc, kQ, rate, ModelFilter::HighPass, 1);
  const double hR = mLowCutR.Process(g.gp * xR, g.fc, kQ, rate, ModelFilter::HighPass, 1);
  // 6: band split, low band first.
  const double lowL = mTightenLowL.Process(hL, g.ft, kQ, rate, ModelFilter::LowPass, 1);
  const double lowR = mTightenLowR.Process(hR, g.ft, kQ, rate, ModelFilter::LowPass, 1);
  const double highL = mTightenHighL.Process(hL, g.ft, kQ, rate, ModelFilter::HighPass, 1);
  const double highR = mTightenHighR.Process(hR, g.ft, kQ, rate, ModelFilter::HighPass, 1);
  // 7: bass limiter.
  mBassLimiter.Process(lowL * 17.7827941, lowR * 17.7827941, 1.0, mBandAttackMs, mTiming.bassRecoveryMs,
                       mTiming.bandLookaheadMs, sr);
  const double bassL = mBassLimiter.Left() * 0.1 * g.gb;
  const double bassR = mBassLimiter.Right() * 0.1 * g.gb;
  // 8-9: pres meter, pres limiter.
  mPresMeter.PushLevel(Louder(highL, highR), meterRate);
  mPresLimiter.Process(highL, highR, 1.0, mBandAttackMs, mTiming.presRecoveryMs, mTiming.bandLookaheadMs, sr);
  const double pL = mPresLimiter.Left();
  const double pR = mPresLimiter.Right();
  // 10-11: air and its saturation.
  const double aL = mAirL.Process(pL, 10000.0, kQ, rate, ModelFilter::HighPass, 0) * 5.62341 * 2.2;
  const double aR = mAirR.Process(pR, 10000.0, kQ, rate, ModelFilter::HighPass, 0) * 5.62341 * 2.2;
  const double sL = Tanh(aL);
  const double sR = SaturateRight(aR);
  mSaturatedAirL = sL;
  mSaturatedAirR = sR;
  // 12-14: sum, final drive, final meter, final limiter.
  const double mL = (pL + bassL + g.ac * sL) * g.gf;
  const double mR = (pR + bassR + g.ac * sR) * g.gf;
  mFinalMeter.PushLevel(Louder(mL, mR), meterRate);
  mFinalLimiter.Process(mL, mR, 1.0, mFinalAttackMs, mTiming.finalRecoveryMs, mTiming.finalLookaheadMs, sr);
  // 15-16: trim and power crossfade with the untouched input.
  const double oL = g.gt * mFinalLimiter.Left();
  const double oR = g.gt * mFinalLimiter.Right();
  outL = (1.0 - ps) * inL + ps * oL;
  outR = (1.0 - ps) * inR + ps * oR;
}

}  // namespace model
