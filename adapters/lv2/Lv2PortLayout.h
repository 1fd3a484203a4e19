#pragma once
// Where each port of a Brelvane LV2 plug-in lies, the same in both plug-ins of the bundle so an
// editor's port indices hold for either: the parameters' control inputs first (port i is
// parameter i), then the meters' control outputs, then the audio inputs and outputs.

#include <cstdint>

struct Lv2PortLayout {
  int params = 0;
  int meters = 0;
  int channels = 0;  // audio inputs, and as many outputs

  std::uint32_t FirstMeter() const { return static_cast<std::uint32_t>(params); }
  std::uint32_t FirstAudioIn() const { return FirstMeter() + static_cast<std::uint32_t>(meters); }
  std::uint32_t FirstAudioOut() const { return FirstAudioIn() + static_cast<std::uint32_t>(channels); }
  std::uint32_t Count() const { return FirstAudioOut() + static_cast<std::uint32_t>(channels); }

  bool IsParam(std::uint32_t port) const { return port < FirstMeter(); }
  bool IsMeter(std::uint32_t port) const { return port >= FirstMeter() && port < FirstAudioIn(); }
};
