#pragma once
// One allowed pairing of input and output channel counts.

#include <cstdint>

struct ChannelIOConfig {
  std::int32_t inputs = 0;
  std::int32_t outputs = 0;
};
