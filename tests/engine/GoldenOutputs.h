#pragma once
// The recorded hashes of the chain's output per scenario (GoldenOutputTest.cpp), one table per
// platform's build. Recorded with the chain as it was before any optimisation; any optimisation
// keeps them.
#include <cstddef>
#include <cstdint>
#include <cstring>

struct GoldenHash {
  const char* scenario;
  std::uint64_t hash;
};

inline constexpr GoldenHash kGoldenHashes[] = {
#ifdef _WIN32
#include "tests/engine/GoldenOutputsWindows.inc"
#else
#include "tests/engine/GoldenOutputsLinux.inc"
#endif
};

inline const GoldenHash* FindGoldenHash(const char* scenario) {
  for (const GoldenHash& entry : kGoldenHashes)
    if (std::strcmp(entry.scenario, scenario) == 0) return &entry;
  return nullptr;
}

inline std::size_t NGoldenHashes() { return sizeof kGoldenHashes / sizeof kGoldenHashes[0]; }
