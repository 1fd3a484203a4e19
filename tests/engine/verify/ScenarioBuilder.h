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
    s_.name = std::move(name);
    s_.rate = rate;
    s_.input = std::move(input);
  }

  // Parameter index to value at a time in seconds, measured at the scenario's starting rate.
  ScenarioBuilder& At(double seconds, int index, double value) {
    s_.changes.push_back({static_cast<long>(seconds * s_.rate), index, value});
    return *this;
  }
  ScenarioBuilder& Rate(double seconds, int rate) { return At(seconds, Change::kSampleRate, rate); }
  // Several parameters at once, in the order given.
  ScenarioBuilder& At(double seconds, std::initializer_list<std::pair<int, double>> values) {
    for (const auto& v : values) At(seconds, v.first, v.second);
    return *this;
  }
  ScenarioBuilder& Blocks(std::initializer_list<int> sizes) {
    s_.blocks = sizes;
    return *this;
  }
  ScenarioBuilder& WithoutDefaults() {
    s_.reportDefaults = false;
    return *this;
  }
  ScenarioBuilder& MeterRate(int rate) {
    s_.meterRate = rate;
    return *this;
  }

  ScenarioBuilder& InPlace() {
    s_.inPlace = true;
    return *this;
  }
  ScenarioBuilder& WithoutResetRate() {
    s_.resetRate = false;
    return *this;
  }

  Scenario Build() const { return s_; }

private:
  Scenario s_;
};

}  // namespace verify
