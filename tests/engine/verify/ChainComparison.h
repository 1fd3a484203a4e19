// Runs the vocal chain and the independent model side by side over a scenario (a stereo signal
// with parameter, power and sample-rate changes at given frames, cut into blocks of given sizes)
// and records how far they ever drift apart: every output sample, the meters after every block,
// and the chain's readable state after every block and every parameter change.
#pragma once

#include <string>
#include <vector>

#include "tests/engine/verify/TestSignals.h"

namespace verify {

// Tolerance for "the same sample"; both sides follow the same steps in doubles, so 0 is expected.
constexpr double kTolerance = 1e-9;

// A change applied before the frame it names. index 0..10 is a parameter, kSampleRate a new rate.
struct Change {
  static constexpr int kSampleRate = -1;
  long frame;
  int index;
  double value;
};

struct Scenario {
  std::string name;
  int rate = 44100;
  Stereo input;
  std::vector<Change> changes;   // in frame order
  std::vector<int> blocks{512};  // block sizes, used in turn
  bool reportDefaults = true;    // report every parameter's default before the first block, as hosts do
  int meterRate = 0;             // rate the meters run at; 0 means the chain's rate
  bool inPlace = false;          // the outputs overwrite the inputs, as some hosts arrange
  bool resetRate = true;         // false: the chain is never told a rate and must run at the host's
};

struct Agreement {
  long frames = 0;
  double maxOutputDiff = 0.0;  // over every output sample
  double maxMeterDiff = 0.0;   // meter levels, after every block
  double maxStateDiff = 0.0;   // targets, timing, attacks, smoothed power, air, limiter outputs and gains
  long inexactSamples = 0;     // output samples that are not bit-identical
  long mismatches = 0;         // anything beyond kTolerance or any flag or mode that differs
  std::string firstMismatch;   // where and what, for the report

  bool Agrees() const { return mismatches == 0; }
  std::string Summary(const std::string& name) const;
};

// The default real value of every parameter, by index.
double DefaultValue(int index);

Agreement Compare(const Scenario& scenario);

// Compares, prints a one-line summary (the largest differences seen) and returns the result.
Agreement CompareAndReport(const Scenario& scenario);

}  // namespace verify
