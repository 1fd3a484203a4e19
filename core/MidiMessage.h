#pragma once
// MIDI events exchanged with the host: short messages and system-exclusive dumps.

#include <cstdint>

struct MidiMessage {
  std::int32_t offset = 0;  // sample frame within the block
  std::uint8_t status = 0;
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
};

struct SysExMessage {
  std::int32_t offset = 0;
  std::int32_t size = 0;               // bytes
  const std::uint8_t* data = nullptr;  // not owned
};
