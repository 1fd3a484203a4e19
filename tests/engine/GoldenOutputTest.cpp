// The chain's output, bit for bit, in every recorded scenario (GoldenScenarios.h). The table is
// one for every platform and every module. Any change to the arithmetic, however small, fails
// here; a change meant to alter the sound must say so and record new hashes: run with
// BREL_PRINT_GOLDEN=1 for the table.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "tests/engine/ChainRig.h"
#include "tests/engine/GoldenOutputs.h"
#include "tests/engine/GoldenScenarios.h"

namespace {

class ChainPlayer : public golden::Player {
public:
  explicit ChainPlayer(int rate) : mRig(rate) {}
  void Set(int index, double value) override { mRig.Set(index, value); }
  void Process(double** io, int frames) override {
    mRig.chain.Process(io, io, frames, mRig.power, mRig.hostRate);
  }

private:
  ChainRig mRig;
};

TEST(GoldenOutput, EveryScenarioKeepsItsRecordedBits) {
  const std::vector<golden::Scenario> scenarios = golden::Scenarios();
  const bool print = std::getenv("BREL_PRINT_GOLDEN") != nullptr;
  for (const golden::Scenario& scenario : scenarios) {
    ChainPlayer chain(scenario.rate);
    const std::uint64_t hash = golden::HashOutput(golden::Render(scenario, chain));
    if (print) std::printf("    {\"%s\", 0x%016llxull},\n", scenario.name.c_str(), (unsigned long long)hash);
    const GoldenHash* recorded = FindGoldenHash(scenario.name.c_str());
    if (!recorded) {
      ADD_FAILURE() << "no recorded hash for \"" << scenario.name << "\"";
      continue;
    }
    EXPECT_EQ(hash, recorded->hash) << scenario.name;
  }
  EXPECT_EQ(scenarios.size(), NGoldenHashes()) << "a recorded scenario is no longer run";
}

}  // namespace
