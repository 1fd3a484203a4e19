#pragma once
// The recorded hashes of the output per scenario (GoldenScenarios.h): one table for the chain and
// every module on every platform, since all of them compute with the same portable arithmetic.
// Any optimisation keeps them.
#include <cstddef>
#include <cstdint>
#include <cstring>

struct GoldenHash {
  const char* scenario;
  std::uint64_t hash;
};

inline constexpr GoldenHash kGoldenHashes[] = {
#include "tests/engine/GoldenOutputs.inc"
};

inline const GoldenHash* FindGoldenHash(const char* scenario) {
  for (const GoldenHash& entry : kGoldenHashes)
    if (std::strcmp(entry.scenario, scenario) == 0) return &entry;
  return nullptr;
}

inline std::size_t NGoldenHashes() { return sizeof kGoldenHashes / sizeof kGoldenHashes[0]; }
