#pragma once
// The Brelvane plug-in: its identity, its eleven parameters (engine/BrelvaneParams.h), its default
// preset, the vocal chain it runs and the editor it builds. It derives from the adapter of the
// module it is built into (PluginAdapter.h, found on each module's include path) and overrides
// only the reset, parameter-change, processing and delay hooks; everything host-facing is inherited.

#include "PluginAdapter.h"
#include "engine/BrelvaneParams.h"
#include "engine/VocalChain.h"
#include "core/MeterFeed.h"

class IGraphics;
class VuControl;

class Brelvane : public PluginAdapter, public BrelvaneParamIndex {
public:
  static constexpr int kNumPresets = 1;

  explicit Brelvane(const PluginInstanceInfo& instanceInfo);
  ~Brelvane() override = default;

  void OnReset() override;
  void OnParamChanged(int paramIndex) override;
  void ProcessDouble(double** inputs, double** outputs, int nFrames) override;
  // The delay the next block meets, from the values the parameters hold: a VST3 host's queue
  // brings them to the chain only with that block.
  int GetProcessedDelay() override;

  // The meters' feeds (owned by the editor's two meters): the level entering the pres limiter
  // and the final limiter.
  const MeterFeed& PresMeter() const;
  const MeterFeed& FinalMeter() const;
  // The two, in that order, to hosts that show them apart from the editor.
  int NMeters() const override { return 2; }
  MeterFeed* GetMeter(int index) override;
  const char* GetMeterName(int index) const override;
  // The editor this plug-in built (owned by the core once attached).
  IGraphics* Graphics() const { return mGraphics; }

private:
  void BuildPlugAndEditor();
  int HostRate() const;
  int ModeValue() const;

  VocalChain mChain;
  int mTimingMode = 0;  // the last mode the chain took a timing from; 0 while it runs a new chain's
  IGraphics* mGraphics = nullptr;
  VuControl* mPresMeter = nullptr;
  VuControl* mFinalMeter = nullptr;
};
