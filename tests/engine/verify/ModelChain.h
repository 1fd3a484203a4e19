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
  void SetSampleRate(int rate) { sampleRate_ = rate; }
  void OnParamChanged(int index, double v);

  // One stereo sample; power is the real value of "Power", meterRate the rate the meters run at.
  void ProcessSample(double inL, double inR, double power, int meterRate, double& outL, double& outR);

  static double DbToGain(double db);
  static double CrispAmount(double db);
  static double TightenHz(double percent);
  static double SaturateRight(double a);

  const ModelTargets& targets() const { return targets_; }
  const ModelTiming& timing() const { return timing_; }
  double bandAttackMs() const { return bandAttackMs_; }
  double finalAttackMs() const { return finalAttackMs_; }
  double smoothedPower() const { return smoothedPower_; }
  double saturatedAirLeft() const { return saturatedAirL_; }
  double saturatedAirRight() const { return saturatedAirR_; }
  const ModelLimiter& bassLimiter() const { return bassLimiter_; }
  const ModelLimiter& presLimiter() const { return presLimiter_; }
  const ModelLimiter& finalLimiter() const { return finalLimiter_; }
  const ModelMeter& presMeter() const { return presMeter_; }
  const ModelMeter& finalMeter() const { return finalMeter_; }

private:
  struct Glided {
    double gp, fc, ft, gb, ac, gf, gt;
  };

  void ApplyMode(double v);
  Glided GlideTargets();
  double Louder(double a, double b) const;

  int sampleRate_ = 0;
  ModelMeter presMeter_;
  ModelMeter finalMeter_;
  ModelBiquad lowCutL_, lowCutR_;
  ModelBiquad tightenHighL_, tightenHighR_;
  ModelBiquad tightenLowL_, tightenLowR_;
  ModelLimiter bassLimiter_;
  ModelLimiter presLimiter_;
  ModelLimiter finalLimiter_;
  ModelBiquad airL_, airR_;
  double saturatedAirL_ = 0.0;
  double saturatedAirR_ = 0.0;
  ModelSmoother power_, presGain_, lowCut_, tighten_, bassGain_, crisp_, finalGain_, outputGain_;
  ModelTargets targets_;
  double smoothedPower_ = 1.0;
  ModelTiming timing_;
  double bandAttackMs_ = 0.0;
  double finalAttackMs_ = 0.0;
};

}  // namespace model
