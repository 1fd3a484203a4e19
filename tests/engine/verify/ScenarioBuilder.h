// Shorthand for writing agreement scenarios: a named signal at a rate, with changes added by time.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "tests/engine/verify/ChainComparison.h"

namespace verify {

class ScenarioBuilder {
public:
  ScenarioBuilder(std::string name, int rate, Stereo input) {
    mS.name = std::move(name);
    mS.rate = rate;
    mS.input = std::move(input);
  }

  // Parameter index to value at a time in seconds, measured at the scenario's starting rate.
  ScenarioBuilder& At(double seconds, int index, double value) {
    mS.changes.push_back({static_cast<long>(seconds * mS.rate), index, value});
    return *this;
  }
  ScenarioBuilder& Rate(double seconds, int rate) { return At(seconds, Change::kSampleRate, rate); }
  // Several parameters at once, in the order given.
  ScenarioBuilder& At(double seconds, std::initializer_list<std::pair<int, double>> values) {
    for (const auto& v : values) At(seconds, v.first, v.second);
    return *this;
  }
  ScenarioBuilder& Blocks(std::initializer_list<int> sizes) {
    mS.blocks = sizes;
    return *this;
  }
  ScenarioBuilder& WithoutDefaults() {
    mS.reportDefaults = false;
    return *this;
  }
  ScenarioBuilder& MeterRate(int rate) {
    mS.meterRate = rate;
    return *this;
  }

  ScenarioBuilder& InPlace() {
    mS.inPlace = true;
    return *this;
  }
  ScenarioBuilder& WithoutResetRate() {
    mS.resetRate = false;
    return *this;
  }

  Scenario Build() const { return mS; }

private:
  Scenario mS;
};

}  // namespace verify
