#include "engine/dsp/MovingAverage.h"

// After a call the delay holds the window − 1 samples of the mean everywhere except at its write
// position, which holds the sample that just left the mean (and is overwritten next).
void MovingAverage::rebuildSum() {
  double sum = 0.0;
  const int skip = delay_.position();
  for (int i = 0; i < delay_.size(); ++i) {
    if (i != skip) sum += delay_.at(i);
  }
  sum_ = sum;
}
