// The vocal chain as a plain object: drive, low cut, two-band split, bass/pres/final look-ahead
// limiters, saturated air, trim and the "Power" crossfade, run per sample, feeding two meters.
// The plug-in class owns one and forwards its reset, parameter and audio calls to it.
#pragma once

#include <cmath>

#include "core/MeterFeed.h"
#include "engine/BrelvaneParams.h"
#include "engine/ChainTargets.h"
#include "engine/TimingSet.h"
#include "engine/dsp/BiquadCascade.h"
#include "engine/dsp/LookaheadLimiter.h"
#include "engine/dsp/MeterBallistics.h"
#include "engine/dsp/ParamSmoother.h"
#include "engine/dsp/StereoBiquadCascade.h"

// The parameter indices (VocalChain::kMode) are the table's.
class VocalChain : public BrelvaneParamIndex {
public:
  // Used when neither the reset nor the host ever supplied a usable rate.
  static constexpr int kDefaultSampleRate = 44100;
  // Rates above this are run at this rate: it keeps every look-ahead buffer within its reserved
  // capacity (1.5 ms = 3000 samples), so the audio thread never allocates.
  static constexpr int kMaxSampleRate = 2000000;
  // Input magnitudes beyond this (+200 dB over full scale) enter the processed path held at it.
  static constexpr double kInputCeiling = 1e10;

  VocalChain() = default;

  // What a reset stores: the host's sample rate truncated to an integer. Filters, limiters and
  // smoothers keep their state across it.
  void SetSampleRate(int sampleRate) { mSampleRate = sampleRate; }
  int SampleRate() const { return mSampleRate; }

  // Non-owning; either may be null (no editor yet). The meters must outlive their use here.
  void SetMeters(MeterFeed* presMeter, MeterFeed* finalMeter);

  // value is the parameter's current real value. Values outside a parameter's range are taken at
  // the nearest end of it, and non-finite values are ignored.
  void OnParamChanged(int index, double value);

  // Processes frames stereo samples (channels 0 and 1 of each side; in-place is fine). power is the
  // real value of "Power" for this block. hostRate is the host's current sample rate truncated to an
  // integer: the meters run at it, and the chain falls back to it while no usable rate was set.
  // Non-finite input samples count as silence, so the output is finite on every sample.
  void Process(const double* const* inputs, double* const* outputs, int frames, double power, int hostRate);

  // The conversions the parameters go through.
  static double DbToGain(double db);
  static double CrispAmount(double db);
  static double TightenHz(double percent);
  // Right-channel air saturator: a square-root clipper with a cubic correction.
  static double SoftClip(double a);

  // The rate the DSP blocks run at for a given host rate (see Process).
  int DspRate(int hostRate) const;

  // Samples by which the processed path lags the dry input in a mode at a host rate: each limiter
  // delays by its window length minus one, the band limiters side by side and the final one after
  // them. Modes other than 1 to 4 keep the timing set in effect; this gives a new chain's (mode 1's).
  static int ProcessedDelay(int mode, int hostRate);

  const ChainTargets& Targets() const { return mTargets; }
  const TimingSet& Timing() const { return mTiming; }
  double BandAttackMs() const { return mBandAttackMs; }
  double FinalAttackMs() const { return mFinalAttackMs; }
  double SmoothedPower() const { return mSmoothedPower; }
  double SaturatedAirLeft() const { return dsp::Tanh(mAirInputL); }
  double SaturatedAirRight() const { return mSaturatedAirR; }
  const LookaheadLimiter& BassLimiter() const { return mBassLimiter; }
  const LookaheadLimiter& PresLimiter() const { return mPresLimiter; }
  const LookaheadLimiter& FinalLimiter() const { return mFinalLimiter; }

private:
  void ApplyMode(double value);
  // The meters' lamps, lit while "Power" is on.
  void ShowPower(double power);
  // The chain runs a block in chunks of kChunk frames, stage by stage (see ProcessChunk).
  static constexpr int kChunk = 64;
  void ProcessChunk(const double* inL, const double* inR, double* outL, double* outR, int count, double p,
                    int sr, int meterRate);
  // The stages of a chunk, in the order they run.
  void GlideTargets(double p, int sr, int count);
  void TakeInput(const double* inL, const double* inR, int count);
  void FilterBands(double rate, int count);
  void LimitBands(int sr, int meterRate, int count);
  void FilterAir(double rate, int count);
  void MixIntoFinalLimiter(double* outL, double* outR, int sr, int meterRate, int count);
  void Silence(double* const* outputs, int frames);

  int mSampleRate = 0;
  MeterFeed* mPresMeter = nullptr;
  MeterFeed* mFinalMeter = nullptr;
  MeterBallistics mPresNeedle{MeterFeed::kCeiling};
  MeterBallistics mFinalNeedle{MeterFeed::kCeiling};
  // Left and right in one object each: they always take the same settings.
  StereoBiquadCascade mLowCut;
  StereoBiquadCascade mTightenHigh;
  StereoBiquadCascade mTightenLow;
  LookaheadLimiter mBassLimiter;
  LookaheadLimiter mPresLimiter;
  LookaheadLimiter mFinalLimiter;
  StereoBiquadCascade mAir;
  double mAirInputL = 0.0;  // the left saturator's last input (tanh(0) = 0 before the first sample)
  double mSaturatedAirR = 0.0;
  ParamSmoother mPowerSmoother;
  ParamSmoother mPresGainSmoother;
  ParamSmoother mLowCutSmoother;
  ParamSmoother mTightenSmoother;
  ParamSmoother mBassGainSmoother;
  ParamSmoother mCrispSmoother;
  ParamSmoother mFinalGainSmoother;
  ParamSmoother mOutputGainSmoother;
  ChainTargets mTargets;
  double mSmoothedPower = 1.0;
  TimingSet mTiming{1.5, 1.5, 160.0, 160.0, 280.0};
  double mBandAttackMs = 0.0;
  double mFinalAttackMs = 0.0;

  // The smoothed "Power" and targets of a chunk, per frame, named as the targets they follow.
  struct Glides {
    double power[kChunk];
    double presGain[kChunk], lowCutHz[kChunk], tightenHz[kChunk], bassGain[kChunk];
    double crispAmount[kChunk], finalGain[kChunk], outputGain[kChunk];
  };
  // What one stage of a chunk hands to the next, per frame.
  struct ChunkValues {
    Glides glide;
    double dryL[kChunk], dryR[kChunk];      // the untouched input (non-finite as 0)
    double driveL[kChunk], driveR[kChunk];  // pres gain × power × input, into the low cut
    double cutL[kChunk], cutR[kChunk];      // after the low cut
    double lowL[kChunk], lowR[kChunk], highL[kChunk], highR[kChunk];
    double bassL[kChunk], bassR[kChunk], presL[kChunk], presR[kChunk];
    double airL[kChunk], airR[kChunk];
  };
  ChunkValues mChunk;
};
