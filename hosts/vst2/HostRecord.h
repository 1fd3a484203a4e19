// What a plug-in told the host through its callback, kept in call order so tests can check
// both the calls and their sequence (begin edit, automate, end edit).
#pragma once

#include "adapters/vst2/VstInterface.h"

#include <cstdint>
#include <vector>

namespace brel {

// One callback call, whatever its opcode.
struct HostCall {
  VstInt32 opcode = 0;
  VstInt32 index = 0;
  VstIntPtr value = 0;
  float opt = 0.0f;
  bool nullEffect = false;   // the plug-in passed no AEffect (allowed during its entry call)
  bool duringEntry = false;  // the call arrived while the entry point was running
};

// audioMasterAutomate: a parameter value the plug-in reports to the host.
struct AutomateCall {
  VstInt32 index = 0;
  float value = 0.0f;
};

// One event the plug-in sent with audioMasterProcessEvents, copied out of the plug-in's memory.
struct HostEvent {
  VstInt32 type = 0;  // kVstMidiType, kVstSysExType or anything else the plug-in sent
  VstInt32 byteSize = 0;
  VstInt32 deltaFrames = 0;
  VstInt32 flags = 0;
  // kVstMidiType only.
  VstInt32 noteLength = 0;
  VstInt32 noteOffset = 0;
  unsigned char midiData[4] = {0, 0, 0, 0};
  signed char detune = 0;
  unsigned char noteOffVelocity = 0;
  // kVstSysExType only: the dump bytes (dumpBytes of them).
  std::vector<unsigned char> sysex;
};

struct HostRecord {
  std::vector<HostCall> calls;            // every callback call, in order
  std::vector<AutomateCall> automations;  // audioMasterAutomate
  std::vector<VstInt32> beginEdits;       // audioMasterBeginEdit indexes
  std::vector<VstInt32> endEdits;         // audioMasterEndEdit indexes
  int updateDisplays = 0;                 // audioMasterUpdateDisplay count
  int processEventsCalls = 0;             // audioMasterProcessEvents count (with a VstEvents)
  std::vector<HostEvent> events;          // all events of those calls, in order
  int wantMidiCalls = 0;                  // audioMasterWantMidi count
  int ioChangedCalls = 0;                 // audioMasterIOChanged count

  // How many calls carried this opcode.
  int CountOf(VstInt32 opcode) const;
};

}  // namespace brel
