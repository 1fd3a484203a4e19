#pragma once
// The host's transport at the current block. Fields the host does not supply keep the values
// the caller put there.

#include <cstdint>

struct TransportInfo {
  double tempo = 0.0;  // beats per minute
  double samplePosition = 0.0;
  double ppqPosition = 0.0;      // quarter notes
  double lastBarPosition = 0.0;  // quarter notes
  double cycleStart = 0.0;
  double cycleEnd = 0.0;
  std::int32_t numerator = 0;
  std::int32_t denominator = 0;
  bool playing = false;
  bool looping = false;
};
