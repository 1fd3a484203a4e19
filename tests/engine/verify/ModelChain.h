// Model of the whole vocal chain, written from the documented steps: the parameter table, the mode
// table and the per-sample chain with its two meters, one function per step.
#pragma once

#include "tests/engine/verify/ModelBiquad.h"
#include "tests/engine/verify/ModelLimiter.h"
#include "tests/engine/verify/ModelMeter.h"
#include "tests/engine/verify/ModelSmoother.h"

namespace model {

struct ModelTargets {
  double presGain = 0.0, lowCutHz = 0.0, tightenHz = 0.0, bassGain = 0.0, crispAmount = 0.0, finalGain = 0.0,
         outputGain = 0.0;
};

struct ModelTiming {
  double bandLookaheadMs = 1.5, finalLookaheadMs = 1.5, bassRecoveryMs = 160.0, presRecoveryMs = 160.0,
         finalRecoveryMs = 280.0;
};

class ModelChain {
public:
  void SetSampleRate(int rate) { mSampleRate = rate; }
  void OnParamChanged(int index, double v);

  // One stereo sample; power is the real value of "Power", meterRate the rate the meters run at.
  void ProcessSample(double inL, double inR, double power, int meterRate, double& outL, double& outR);

  static double DbToGain(double db);
  static double CrispAmount(double db);
  static double TightenHz(double percent);
  static double SaturateRight(double a);

  const ModelTargets& Targets() const { return mTargets; }
  const ModelTiming& Timing() const { return mTiming; }
  double BandAttackMs() const { return mBandAttackMs; }
  double FinalAttackMs() const { return mFinalAttackMs; }
  double SmoothedPower() const { return mSmoothedPower; }
  double SaturatedAirLeft() const { return mSaturatedAirL; }
  double SaturatedAirRight() const { return mSaturatedAirR; }
  const ModelLimiter& BassLimiter() const { return mBassLimiter; }
  const ModelLimiter& PresLimiter() const { return mPresLimiter; }
  const ModelLimiter& FinalLimiter() const { return mFinalLimiter; }
  const ModelMeter& PresMeter() const { return mPresMeter; }
  const ModelMeter& FinalMeter() const { return mFinalMeter; }

private:
  struct Glided {
    double gp, fc, ft, gb, ac, gf, gt;
  };

  void ApplyMode(double v);
  Glided GlideTargets();
  double Louder(double a, double b) const;

  int mSampleRate = 0;
  ModelMeter mPresMeter;
  ModelMeter mFinalMeter;
  ModelBiquad mLowCutL, mLowCutR;
  ModelBiquad mTightenHighL, mTightenHighR;
  ModelBiquad mTightenLowL, mTightenLowR;
  ModelLimiter mBassLimiter;
  ModelLimiter mPresLimiter;
  ModelLimiter mFinalLimiter;
  ModelBiquad mAirL, mAirR;
  double mSaturatedAirL = 0.0;
  double mSaturatedAirR = 0.0;
  ModelSmoother mPower, mPresGain, mLowCut, mTighten, mBassGain, mCrisp, mFinalGain, mOutputGain;
  ModelTargets mTargets;
  double mSmoothedPower = 1.0;
  ModelTiming mTiming;
  double mBandAttackMs = 0.0;
  double mFinalAttackMs = 0.0;
};

}  // namespace model
