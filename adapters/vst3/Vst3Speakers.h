#pragma once
// Speaker arrangements for the core's channel counts: the layout a bus of that many channels
// announces, and how many channels an arrangement the host chose carries.

#include <bitset>

#include "adapters/vst3/Vst3Sdk.h"

// The arrangement of 1 to 6 channels; 0 (no speakers) for any other count.
inline Steinberg::Vst::SpeakerArrangement ArrangementForChannels(int channels) {
  constexpr Steinberg::Vst::SpeakerArrangement kByCount[] = {
      0x0,       // none
      0x80000,   // mono
      0x3,       // left, right
      0x103,     // left, right, surround
      0xF00000,  // first-order ambisonics
      0x37,      // left, right, centre, left and right surround
      0x3F,      // 5.1
  };
  return channels >= 1 && channels <= 6 ? kByCount[channels] : 0;
}

inline int ChannelsOf(Steinberg::Vst::SpeakerArrangement arrangement) {
  return static_cast<int>(std::bitset<64>(arrangement).count());
}
