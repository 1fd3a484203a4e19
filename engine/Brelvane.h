#pragma once
// The Brelvane plug-in: its identity, its eleven parameters (engine/BrelvaneParams.h), its default preset and
// the vocal chain it runs. It derives from the adapter of the module it is built into (PluginAdapter.h, found
// on each module's include path) and overrides only the reset, parameter-change and processing hooks;
// everything host-facing is inherited.

#include "PluginAdapter.h"
#include "engine/BrelvaneParams.h"
#include "engine/VocalChain.h"
#include "engine/dsp/MeterFeed.h"

class Brelvane : public PluginAdapter, public BrelvaneParamIndex {
public:
  static constexpr int kNumPresets = 1;

  explicit Brelvane(const PluginInstanceInfo& instanceInfo);
  ~Brelvane() override = default;

  void OnReset() override;
  void OnParamChanged(int paramIndex) override;
  void ProcessDouble(double** inputs, double** outputs, int nFrames) override;

  // The meters' feeds: the level entering the pres limiter and the final limiter.
  const MeterFeed& PresMeter() const { return mPresMeter; }
  const MeterFeed& FinalMeter() const { return mFinalMeter; }

private:
  void DeclareParameters();
  int HostRate() const;

  VocalChain mChain;
  MeterFeed mPresMeter;
  MeterFeed mFinalMeter;
};
