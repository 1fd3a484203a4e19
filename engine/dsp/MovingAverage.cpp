#include "engine/dsp/MovingAverage.h"

// After a call the delay holds the window − 1 samples of the mean everywhere except at its write
// position, which holds the sample that just left the mean (and is overwritten next).
void MovingAverage::RebuildSum() {
  double sum = 0.0;
  const int skip = mDelay.Position();
  for (int i = 0; i < mDelay.Size(); ++i) {
    if (i != skip) sum += mDelay.At(i);
  }
  mSum = sum;
}
