// A second, deliberately plain rendering of the vocal chain's behaviour, straight from its formulas and
// without the DSP blocks, so that the chain can be checked against it sample by sample.
#pragma once

#include <vector>

class ReferenceChain {
public:
  ReferenceChain();
  void setRate(int rate) { rate_ = rate; }
  void param(int index, double value);
  // One stereo frame; power is the "Power" value (0 or 1).
  void frame(double inL, double inR, double power, double& outL, double& outR);
  double presMeter() const { return meters_[0].needle; }
  double finalMeter() const { return meters_[1].needle; }
  double presLimiterLeft() const { return limiters_[1].outL; }
  double presLimiterRight() const { return limiters_[1].outR; }

private:
  struct Smooth {
    double s = 0, c = 0, time = 0;
    int rate = 0;
  };
  struct Follow {
    double v = 0, up = 0, down = 0, riseMs = 0, fallMs = 0;
    int rate = 0;
  };
  struct Delay {
    std::vector<double> buf;
    int pos = 0, len = 0;
  };
  struct Limiter {
    double outL = 0, outR = 0, gain = 1;
    std::vector<double> peaks;
    int pos = 0, peakLen = 0;
    Delay dl, dr, avgDelay;
    double sum = 0;
    int avgWindow = 0;
    Follow f;
  };
  struct Biquad {
    double last = 0, rate = 0, freq = 0, q = 0, z[8] = {}, b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    int check = 1, type = 0;
  };
  struct Meter {
    Follow peak, rise;
    double needle = 0;
  };

  static double smooth(Smooth& s, double target, int rate, double ms, double lo, double hi);
  static double follow(Follow& f, double in, int rate, double riseMs, double fallMs);
  static double delay(Delay& d, double in, int len);
  static double average(Limiter& l, double in, int window);
  static void limit(Limiter& l, double inL, double inR, double attackMs, double recoveryMs, double aheadMs,
                    int rate);
  static double biquad(Biquad& f, double in, double hz, double rate, int type, int sections);
  static void meter(Meter& m, double level, int rate);

  int rate_ = 0;
  double target_[7] = {};
  double timing_[5] = {1.5, 1.5, 160, 160, 280};
  double bandAttack_ = 0, finalAttack_ = 0;
  Smooth sm_[8];
  Biquad lowCut_[2], tightLow_[2], tightHigh_[2], air_[2];
  Limiter limiters_[3];  // bass, pres, final
  Meter meters_[2];      // pres, final
};
