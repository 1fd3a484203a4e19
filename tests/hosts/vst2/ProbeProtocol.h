// How the host tests steer the probe module: its identity, and the effVendorSpecific commands
// that make it call the host or report what it saw.
#pragma once

#include "adapters/vst2/VstInterface.h"

namespace probe {

constexpr VstInt32 kUniqueId = FourCC('P', 'r', 'b', 'E');
constexpr VstInt32 kVersion = 1234;
constexpr VstInt32 kNumParams = 3;
constexpr VstInt32 kNumPrograms = 2;
constexpr VstInt32 kTailSize = 77;
constexpr VstInt32 kVendorVersion = 10203;
constexpr const char* kLongParamName = "A parameter name far longer than eight characters";

// Product strings the entry point reacts to (it asks the host during the entry call).
constexpr const char* kRefuseProduct = "probe:refuse";
constexpr const char* kBadMagicProduct = "probe:badmagic";
constexpr VstInt32 kBadMagic = 0x12345678;

// A program chunk starting with this byte is refused by effSetChunk.
constexpr unsigned char kRejectedChunkByte = 0xFF;
constexpr int kDefaultBankChunkSize = 100;  // byte i is (i * 7) & 0xFF
constexpr const char* kDefaultProgramChunk = "probe-program";

// The effect's editor size as effEditGetRect reports it.
constexpr VstInt16 kEditorWidth = 320;
constexpr VstInt16 kEditorHeight = 200;

// effVendorSpecific commands (the index); value, ptr and opt as noted.
enum Command : VstInt32 {
  kEditGesture = 1,          // beginEdit(value), automate(value, opt), endEdit(value)
  kUpdateDisplay = 2,        // audioMasterUpdateDisplay; answers the host's answer
  kReadTime = 3,             // audioMasterGetTime(value); copies the answer into ptr (VstTimeInfo*)
                             // and answers 1, or answers 0 when the host gave none
  kSendEvents = 4,           // two MIDI events and one sysex through audioMasterProcessEvents,
                             // then overwrites its own copies; answers the host's answer
  kRelay = 5,                // ptr is a Relay: the probe makes that host call with its effect
  kEntryVersion = 6,         // the audioMasterVersion answer seen in the entry call
  kEntryVendorVersion = 7,   // the audioMasterGetVendorVersion answer seen in the entry call
  kReceivedEvents = 8,       // number of events received by effProcessEvents so far
  kReceivedEventStatus = 9,  // midiData[0] of received event number value, or -1
  kProcessCalls = 10,        // processing callbacks run so far
  kSampleRate = 11,          // the last effSetSampleRate, truncated
  kBlockSize = 12,           // the last effSetBlockSize
  kResumed = 13,             // 1 while resumed
  kOpened = 14,              // 1 after effOpen
};

// A host call for kRelay, made as the plug-in would make it.
struct Relay {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  void* ptr;
  float opt;
};

// Test-only exports of the module, for what a host cannot see through the interface.
extern "C" {
typedef int (*LiveInstancesProc)();       // ProbeLiveInstances: plug-ins alive now
typedef int (*ClosedWhileResumedProc)();  // ProbeClosedWhileResumed: closes without suspend
}

}  // namespace probe
