// The values the parameters set and the chain's smoothers glide toward, in the chain's own units.
#pragma once

struct ChainTargets {
  double presGain = 0.0;
  double lowCutHz = 0.0;
  double tightenHz = 0.0;
  double bassGain = 0.0;
  double crispAmount = 0.0;
  double finalGain = 0.0;
  double outputGain = 0.0;
};
