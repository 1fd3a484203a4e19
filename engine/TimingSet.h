// Look-ahead and recovery times of the three limiters, chosen as a set by "Mode".
#pragma once

struct TimingSet {
  double bandLookaheadMs;
  double finalLookaheadMs;
  double bassRecoveryMs;
  double presRecoveryMs;
  double finalRecoveryMs;
};
