// When a filter clears infinite and NaN values from its memory: on its third call, then on every
// eleventh, so one bad sample cannot silence it for good and the check costs little.
#pragma once

class NonFiniteSweep {
public:
  bool Due() {
    if (mCounter-- >= 0) return false;
    mCounter = 10;
    return true;
  }

private:
  int mCounter = 1;
};
