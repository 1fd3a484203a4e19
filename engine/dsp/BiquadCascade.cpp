#include "engine/dsp/BiquadCascade.h"

void BiquadCascade::ClearNonFinite() {
  for (double& z : mMemory) {
    if (!std::isfinite(z)) z = 0.0;
  }
  if (!std::isfinite(mLastOutput)) mLastOutput = 0.0;
}
