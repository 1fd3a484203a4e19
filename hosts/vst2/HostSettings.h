// The answers the host gives a plug-in: who it claims to be, its process level, its transport.
// Tests change them to impersonate a particular host or an offline render.
#pragma once

#include "adapters/vst2/VstInterface.h"

#include <map>
#include <string>

namespace brel {

struct HostSettings {
  std::string vendorString = "Brelvane";             // audioMasterGetVendorString
  std::string productString = "Brelvane Host";       // audioMasterGetProductString
  VstInt32 vendorVersion = 10000;                    // audioMasterGetVendorVersion (1.0.0)
  VstInt32 processLevel = kVstProcessLevelRealtime;  // audioMasterGetCurrentProcessLevel
  VstIntPtr processEventsAnswer = 1;                 // audioMasterProcessEvents with events given
  // Off: calls are answered but not recorded, so long renders and benchmarks keep no history.
  bool recording = true;

  // audioMasterGetTime answers with timeInfo when hasTime is set, otherwise with 0.
  bool hasTime = false;
  VstTimeInfo timeInfo{};

  // audioMasterCanDo: the answer for each text; texts not listed answer 0.
  std::map<std::string, VstIntPtr> canDo = {
      {"sendVstEvents", 1},    {"sendVstMidiEvent", 1},    {"sendVstTimeInfo", 1},
      {"receiveVstEvents", 1}, {"receiveVstMidiEvent", 1}, {"receiveVstSysexEvent", 1},
  };
};

}  // namespace brel
