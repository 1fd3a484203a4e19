#pragma once
// Helpers for reading and building state chunks byte by byte in tests.

#include <cstdint>
#include <cstring>
#include <vector>

#include "core/StateChunk.h"

inline std::vector<std::uint8_t> BytesOf(const StateChunk& chunk) {
  return std::vector<std::uint8_t>(chunk.GetData(), chunk.GetData() + chunk.GetSize());
}

inline void Fill(StateChunk& chunk, const std::vector<std::uint8_t>& bytes) {
  chunk.Clear();
  chunk.AppendBytes(bytes.data(), static_cast<int>(bytes.size()));
}

inline void PushInt32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(std::uint8_t(value >> (8 * i)));
}

inline void PushDouble(std::vector<std::uint8_t>& bytes, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, 8);
  for (int i = 0; i < 8; ++i) bytes.push_back(std::uint8_t(bits >> (8 * i)));
}
