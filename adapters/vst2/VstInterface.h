// The VST 2.4 binary interface as both sides of a VST2 plug-in see it: records, callback
// types, opcodes and constants, with compile-time checks of every size and offset on x86_64.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/FourCC.h"

// Pointer-sized fields use intptr_t, never long: long is 4 bytes on Win64 and 8 on Linux.
typedef int16_t VstInt16;
typedef int32_t VstInt32;
typedef int64_t VstInt64;
typedef intptr_t VstIntPtr;

constexpr VstInt32 kEffectMagic = FourCC('V', 's', 't', 'P');
constexpr VstInt32 kVstVersion = 2400;

// ---------------------------------------------------------------------------------------------
// Callback types. Both conventions in use on x86_64 (System V, Microsoft x64) need no keyword.

struct AEffect;

extern "C" {
typedef VstIntPtr (*audioMasterCallback)(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                         void* ptr, float opt);
typedef VstIntPtr (*AEffectDispatcherProc)(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                           void* ptr, float opt);
typedef void (*AEffectProcessProc)(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames);
typedef void (*AEffectProcessDoubleProc)(AEffect* effect, double** inputs, double** outputs,
                                         VstInt32 sampleFrames);
typedef void (*AEffectSetParameterProc)(AEffect* effect, VstInt32 index, float parameter);
typedef float (*AEffectGetParameterProc)(AEffect* effect, VstInt32 index);
// The module's exported entry (VSTPluginMain, or the legacy main): null when it refuses.
typedef AEffect* (*VstEntryProc)(audioMasterCallback host);
}

// ---------------------------------------------------------------------------------------------
// Records. 8-byte maximum packing; every member is naturally aligned, so this is the natural layout.

#pragma pack(push, 8)

struct AEffect {
  VstInt32 magic;  // kEffectMagic
  AEffectDispatcherProc dispatcher;
  AEffectProcessProc process;  // accumulating; deprecated but still called by some hosts
  AEffectSetParameterProc setParameter;
  AEffectGetParameterProc getParameter;
  VstInt32 numPrograms;
  VstInt32 numParams;
  VstInt32 numInputs;
  VstInt32 numOutputs;
  VstInt32 flags;         // effFlags*
  VstIntPtr resvd1;       // owned by the host
  VstIntPtr resvd2;       // owned by the host
  VstInt32 initialDelay;  // latency in samples
  VstInt32 realQualities;
  VstInt32 offQualities;
  float ioRatio;
  void* object;  // the plug-in's own pointer
  void* user;
  VstInt32 uniqueID;
  VstInt32 version;
  AEffectProcessProc processReplacing;
  AEffectProcessDoubleProc processDoubleReplacing;
  char future[56];
};

struct ERect {
  VstInt16 top;
  VstInt16 left;
  VstInt16 bottom;
  VstInt16 right;
};

struct VstEvent {
  VstInt32 type;
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;
  char data[16];
};

// Declared with two slots; the sender allocates room for numEvents pointers.
struct VstEvents {
  VstInt32 numEvents;
  VstIntPtr reserved;
  VstEvent* events[2];
};

struct VstMidiEvent {
  VstInt32 type;  // kVstMidiType
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;  // kVstMidiEventIsRealtime
  VstInt32 noteLength;
  VstInt32 noteOffset;
  char midiData[4];  // status, data 1, data 2, zero
  char detune;       // cents, -64..63
  char noteOffVelocity;
  char reserved1;
  char reserved2;
};

struct VstMidiSysexEvent {
  VstInt32 type;  // kVstSysExType
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;
  VstInt32 dumpBytes;
  VstIntPtr resvd1;
  char* sysexDump;
  VstIntPtr resvd2;
};

struct VstTimeInfo {
  double samplePos;
  double sampleRate;
  double nanoSeconds;
  double ppqPos;
  double tempo;
  double barStartPos;
  double cycleStartPos;
  double cycleEndPos;
  VstInt32 timeSigNumerator;
  VstInt32 timeSigDenominator;
  VstInt32 smpteOffset;
  VstInt32 smpteFrameRate;
  VstInt32 samplesToNextClock;
  VstInt32 flags;  // VstTimeInfoFlags
};

struct VstPinProperties {
  char label[64];
  VstInt32 flags;            // VstPinPropertiesFlags
  VstInt32 arrangementType;  // kSpeakerArr*
  char shortLabel[8];
  char future[48];
};

struct VstSpeakerProperties {
  float azimuth;    // radians; 10 for the LFE speaker
  float elevation;  // radians; 10 for the LFE speaker
  float radius;     // metres; 0 for the LFE speaker
  float reserved;
  char name[64];
  VstInt32 type;
  char future[28];
};

// Declared with eight speakers; numChannels says how many are meant.
struct VstSpeakerArrangement {
  VstInt32 type;  // kSpeakerArr*
  VstInt32 numChannels;
  VstSpeakerProperties speakers[8];
};

struct MidiKeyName {
  VstInt32 thisProgramIndex;
  VstInt32 thisKeyNumber;  // 0..127
  char keyName[64];
  VstInt32 reserved;
  VstInt32 flags;
};

#pragma pack(pop)

// ---------------------------------------------------------------------------------------------
// Opcodes.

// Host to plug-in, through AEffect::dispatcher.
enum AEffectOpcodes : VstInt32 {
  effOpen = 0,
  effClose = 1,
  effSetProgram = 2,
  effGetProgram = 3,
  effSetProgramName = 4,
  effGetProgramName = 5,
  effGetParamLabel = 6,
  effGetParamDisplay = 7,
  effGetParamName = 8,
  effGetVu = 9,
  effSetSampleRate = 10,
  effSetBlockSize = 11,
  effMainsChanged = 12,
  effEditGetRect = 13,
  effEditOpen = 14,
  effEditClose = 15,
  effEditDraw = 16,
  effEditMouse = 17,
  effEditKey = 18,
  effEditIdle = 19,
  effEditTop = 20,
  effEditSleep = 21,
  effIdentify = 22,
  effGetChunk = 23,
  effSetChunk = 24,
  effProcessEvents = 25,
  effCanBeAutomated = 26,
  effString2Parameter = 27,
  effGetNumProgramCategories = 28,
  effGetProgramNameIndexed = 29,
  effCopyProgram = 30,
  effConnectInput = 31,
  effConnectOutput = 32,
  effGetInputProperties = 33,
  effGetOutputProperties = 34,
  effGetPlugCategory = 35,
  effGetCurrentPosition = 36,
  effGetDestinationBuffer = 37,
  effOfflineNotify = 38,
  effOfflinePrepare = 39,
  effOfflineRun = 40,
  effProcessVarIo = 41,
  effSetSpeakerArrangement = 42,
  effSetBlockSizeAndSampleRate = 43,
  effSetBypass = 44,
  effGetEffectName = 45,
  effGetErrorText = 46,
  effGetVendorString = 47,
  effGetProductString = 48,
  effGetVendorVersion = 49,
  effVendorSpecific = 50,
  effCanDo = 51,
  effGetTailSize = 52,
  effIdle = 53,
  effGetIcon = 54,
  effSetViewPosition = 55,
  effGetParameterProperties = 56,
  effKeysRequired = 57,
  effGetVstVersion = 58,
  effEditKeyDown = 59,
  effEditKeyUp = 60,
  effSetEditKnobMode = 61,
  effGetMidiProgramName = 62,
  effGetCurrentMidiProgram = 63,
  effGetMidiProgramCategory = 64,
  effHasMidiProgramsChanged = 65,
  effGetMidiKeyName = 66,
  effBeginSetProgram = 67,
  effEndSetProgram = 68,
  effGetSpeakerArrangement = 69,
  effShellGetNextPlugin = 70,
  effStartProcess = 71,
  effStopProcess = 72,
  effSetTotalSampleToProcess = 73,
  effSetPanLaw = 74,
  effBeginLoadBank = 75,
  effBeginLoadProgram = 76,
  effSetProcessPrecision = 77,
  effGetNumMidiInputChannels = 78,
  effGetNumMidiOutputChannels = 79,
};

// Plug-in to host, through audioMasterCallback. Value 5 has no name.
enum AudioMasterOpcodes : VstInt32 {
  audioMasterAutomate = 0,
  audioMasterVersion = 1,
  audioMasterCurrentId = 2,
  audioMasterIdle = 3,
  audioMasterPinConnected = 4,
  audioMasterWantMidi = 6,
  audioMasterGetTime = 7,
  audioMasterProcessEvents = 8,
  audioMasterSetTime = 9,
  audioMasterTempoAt = 10,
  audioMasterGetNumAutomatableParameters = 11,
  audioMasterGetParameterQuantization = 12,
  audioMasterIOChanged = 13,
  audioMasterNeedIdle = 14,
  audioMasterSizeWindow = 15,
  audioMasterGetSampleRate = 16,
  audioMasterGetBlockSize = 17,
  audioMasterGetInputLatency = 18,
  audioMasterGetOutputLatency = 19,
  audioMasterGetPreviousPlug = 20,
  audioMasterGetNextPlug = 21,
  audioMasterWillReplaceOrAccumulate = 22,
  audioMasterGetCurrentProcessLevel = 23,
  audioMasterGetAutomationState = 24,
  audioMasterOfflineStart = 25,
  audioMasterOfflineRead = 26,
  audioMasterOfflineWrite = 27,
  audioMasterOfflineGetCurrentPass = 28,
  audioMasterOfflineGetCurrentMetaPass = 29,
  audioMasterSetOutputSampleRate = 30,
  audioMasterGetOutputSpeakerArrangement = 31,
  audioMasterGetVendorString = 32,
  audioMasterGetProductString = 33,
  audioMasterGetVendorVersion = 34,
  audioMasterVendorSpecific = 35,
  audioMasterSetIcon = 36,
  audioMasterCanDo = 37,
  audioMasterGetLanguage = 38,
  audioMasterOpenWindow = 39,
  audioMasterCloseWindow = 40,
  audioMasterGetDirectory = 41,
  audioMasterUpdateDisplay = 42,
  audioMasterBeginEdit = 43,
  audioMasterEndEdit = 44,
  audioMasterOpenFileSelector = 45,
  audioMasterCloseFileSelector = 46,
  audioMasterEditFile = 47,
  audioMasterGetChunkFile = 48,
  audioMasterGetInputSpeakerArrangement = 49,
};

// ---------------------------------------------------------------------------------------------
// Flags and constants.

enum VstAEffectFlags : VstInt32 {
  effFlagsHasEditor = 1 << 0,
  effFlagsHasClip = 1 << 1,
  effFlagsHasVu = 1 << 2,
  effFlagsCanMono = 1 << 3,
  effFlagsCanReplacing = 1 << 4,
  effFlagsProgramChunks = 1 << 5,
  effFlagsIsSynth = 1 << 8,
  effFlagsNoSoundInStop = 1 << 9,
  effFlagsExtIsAsync = 1 << 10,
  effFlagsExtHasBuffer = 1 << 11,
  effFlagsCanDoubleReplacing = 1 << 12,
};

enum VstTimeInfoFlags : VstInt32 {
  kVstTransportChanged = 1 << 0,
  kVstTransportPlaying = 1 << 1,
  kVstTransportCycleActive = 1 << 2,
  kVstTransportRecording = 1 << 3,
  kVstAutomationWriting = 1 << 6,
  kVstAutomationReading = 1 << 7,
  kVstNanosValid = 1 << 8,
  kVstPpqPosValid = 1 << 9,
  kVstTempoValid = 1 << 10,
  kVstBarsValid = 1 << 11,
  kVstCyclePosValid = 1 << 12,
  kVstTimeSigValid = 1 << 13,
  kVstSmpteValid = 1 << 14,
  kVstClockValid = 1 << 15,
};

enum VstEventTypes : VstInt32 {
  kVstMidiType = 1,
  kVstSysExType = 6,
};

enum VstMidiEventFlags : VstInt32 {
  kVstMidiEventIsRealtime = 1 << 0,
};

enum VstPinPropertiesFlags : VstInt32 {
  kVstPinIsActive = 1 << 0,
  kVstPinIsStereo = 1 << 1,
  kVstPinUseSpeaker = 1 << 2,
};

enum VstSpeakerArrangementType : VstInt32 {
  kSpeakerArrUserDefined = -2,
  kSpeakerArrEmpty = -1,
  kSpeakerArrMono = 0,
  kSpeakerArrStereo = 1,
};

enum VstPlugCategory : VstInt32 {
  kPlugCategUnknown = 0,
  kPlugCategEffect = 1,
  kPlugCategSynth = 2,
  kPlugCategAnalysis = 3,
  kPlugCategMastering = 4,
  kPlugCategSpacializer = 5,
  kPlugCategRoomFx = 6,
  kPlugSurroundFx = 7,
  kPlugCategRestoration = 8,
  kPlugCategOfflineProcess = 9,
  kPlugCategShell = 10,
  kPlugCategGenerator = 11,
  kPlugCategMaxCount = 12,
};

enum VstProcessLevels : VstInt32 {
  kVstProcessLevelUnknown = 0,
  kVstProcessLevelUser = 1,
  kVstProcessLevelRealtime = 2,
  kVstProcessLevelPrefetch = 3,
  kVstProcessLevelOffline = 4,
};

enum VstProcessPrecision : VstInt32 {
  kVstProcessPrecision32 = 0,
  kVstProcessPrecision64 = 1,
};

enum VstHostLanguage : VstInt32 {
  kVstLangEnglish = 1,
};

// Nominal text field sizes, terminating NUL included. Plug-ins keep within them; hosts hand out
// larger zeroed buffers because real plug-ins overrun the small ones.
enum VstStringConstants : VstInt32 {
  kVstMaxProgNameLen = 24,
  kVstMaxParamStrLen = 8,
  kVstMaxEffectNameLen = 32,
  kVstMaxVendorStrLen = 64,
  kVstMaxProductStrLen = 64,
  kVstMaxNameLen = 64,
  kVstMaxLabelLen = 64,
  kVstMaxShortLabelLen = 8,
  kVstMaxCategLabelLen = 24,
};

// ---------------------------------------------------------------------------------------------
// Layout checks: identical on Linux LP64 and Win64 LLP64.

static_assert(sizeof(VstInt32) == 4 && sizeof(VstIntPtr) == 8, "64-bit targets only");
static_assert(kEffectMagic == 0x56737450, "magic");
static_assert(sizeof(float) == 4 && sizeof(double) == 8, "IEEE single and double");

static_assert(sizeof(AEffect) == 192 && alignof(AEffect) == 8, "AEffect size");
static_assert(offsetof(AEffect, magic) == 0, "AEffect::magic");
static_assert(offsetof(AEffect, dispatcher) == 8, "AEffect::dispatcher");
static_assert(offsetof(AEffect, process) == 16, "AEffect::process");
static_assert(offsetof(AEffect, setParameter) == 24, "AEffect::setParameter");
static_assert(offsetof(AEffect, getParameter) == 32, "AEffect::getParameter");
static_assert(offsetof(AEffect, numPrograms) == 40, "AEffect::numPrograms");
static_assert(offsetof(AEffect, numParams) == 44, "AEffect::numParams");
static_assert(offsetof(AEffect, numInputs) == 48, "AEffect::numInputs");
static_assert(offsetof(AEffect, numOutputs) == 52, "AEffect::numOutputs");
static_assert(offsetof(AEffect, flags) == 56, "AEffect::flags");
static_assert(offsetof(AEffect, resvd1) == 64, "AEffect::resvd1");
static_assert(offsetof(AEffect, resvd2) == 72, "AEffect::resvd2");
static_assert(offsetof(AEffect, initialDelay) == 80, "AEffect::initialDelay");
static_assert(offsetof(AEffect, realQualities) == 84, "AEffect::realQualities");
static_assert(offsetof(AEffect, offQualities) == 88, "AEffect::offQualities");
static_assert(offsetof(AEffect, ioRatio) == 92, "AEffect::ioRatio");
static_assert(offsetof(AEffect, object) == 96, "AEffect::object");
static_assert(offsetof(AEffect, user) == 104, "AEffect::user");
static_assert(offsetof(AEffect, uniqueID) == 112, "AEffect::uniqueID");
static_assert(offsetof(AEffect, version) == 116, "AEffect::version");
static_assert(offsetof(AEffect, processReplacing) == 120, "AEffect::processReplacing");
static_assert(offsetof(AEffect, processDoubleReplacing) == 128, "AEffect::processDoubleReplacing");
static_assert(offsetof(AEffect, future) == 136, "AEffect::future");

static_assert(sizeof(ERect) == 8 && alignof(ERect) == 2, "ERect size");
static_assert(offsetof(ERect, top) == 0 && offsetof(ERect, left) == 2, "ERect top/left");
static_assert(offsetof(ERect, bottom) == 4 && offsetof(ERect, right) == 6, "ERect bottom/right");

static_assert(sizeof(VstEvent) == 32 && alignof(VstEvent) == 4, "VstEvent size");
static_assert(offsetof(VstEvent, type) == 0 && offsetof(VstEvent, byteSize) == 4, "VstEvent head");
static_assert(offsetof(VstEvent, deltaFrames) == 8 && offsetof(VstEvent, flags) == 12, "VstEvent");
static_assert(offsetof(VstEvent, data) == 16, "VstEvent::data");

static_assert(sizeof(VstEvents) == 32 && alignof(VstEvents) == 8, "VstEvents size");
static_assert(offsetof(VstEvents, numEvents) == 0, "VstEvents::numEvents");
static_assert(offsetof(VstEvents, reserved) == 8, "VstEvents::reserved");
static_assert(offsetof(VstEvents, events) == 16, "VstEvents::events");

static_assert(sizeof(VstMidiEvent) == 32 && alignof(VstMidiEvent) == 4, "VstMidiEvent size");
static_assert(offsetof(VstMidiEvent, type) == 0 && offsetof(VstMidiEvent, byteSize) == 4, "head");
static_assert(offsetof(VstMidiEvent, deltaFrames) == 8, "VstMidiEvent::deltaFrames");
static_assert(offsetof(VstMidiEvent, flags) == 12, "VstMidiEvent::flags");
static_assert(offsetof(VstMidiEvent, noteLength) == 16, "VstMidiEvent::noteLength");
static_assert(offsetof(VstMidiEvent, noteOffset) == 20, "VstMidiEvent::noteOffset");
static_assert(offsetof(VstMidiEvent, midiData) == 24, "VstMidiEvent::midiData");
static_assert(offsetof(VstMidiEvent, detune) == 28, "VstMidiEvent::detune");
static_assert(offsetof(VstMidiEvent, noteOffVelocity) == 29, "VstMidiEvent::noteOffVelocity");
static_assert(offsetof(VstMidiEvent, reserved1) == 30, "VstMidiEvent::reserved1");
static_assert(offsetof(VstMidiEvent, reserved2) == 31, "VstMidiEvent::reserved2");

static_assert(sizeof(VstMidiSysexEvent) == 48 && alignof(VstMidiSysexEvent) == 8, "sysex size");
static_assert(offsetof(VstMidiSysexEvent, type) == 0, "VstMidiSysexEvent::type");
static_assert(offsetof(VstMidiSysexEvent, byteSize) == 4, "VstMidiSysexEvent::byteSize");
static_assert(offsetof(VstMidiSysexEvent, deltaFrames) == 8, "VstMidiSysexEvent::deltaFrames");
static_assert(offsetof(VstMidiSysexEvent, flags) == 12, "VstMidiSysexEvent::flags");
static_assert(offsetof(VstMidiSysexEvent, dumpBytes) == 16, "VstMidiSysexEvent::dumpBytes");
static_assert(offsetof(VstMidiSysexEvent, resvd1) == 24, "VstMidiSysexEvent::resvd1");
static_assert(offsetof(VstMidiSysexEvent, sysexDump) == 32, "VstMidiSysexEvent::sysexDump");
static_assert(offsetof(VstMidiSysexEvent, resvd2) == 40, "VstMidiSysexEvent::resvd2");

static_assert(sizeof(VstTimeInfo) == 88 && alignof(VstTimeInfo) == 8, "VstTimeInfo size");
static_assert(offsetof(VstTimeInfo, samplePos) == 0, "VstTimeInfo::samplePos");
static_assert(offsetof(VstTimeInfo, sampleRate) == 8, "VstTimeInfo::sampleRate");
static_assert(offsetof(VstTimeInfo, nanoSeconds) == 16, "VstTimeInfo::nanoSeconds");
static_assert(offsetof(VstTimeInfo, ppqPos) == 24, "VstTimeInfo::ppqPos");
static_assert(offsetof(VstTimeInfo, tempo) == 32, "VstTimeInfo::tempo");
static_assert(offsetof(VstTimeInfo, barStartPos) == 40, "VstTimeInfo::barStartPos");
static_assert(offsetof(VstTimeInfo, cycleStartPos) == 48, "VstTimeInfo::cycleStartPos");
static_assert(offsetof(VstTimeInfo, cycleEndPos) == 56, "VstTimeInfo::cycleEndPos");
static_assert(offsetof(VstTimeInfo, timeSigNumerator) == 64, "VstTimeInfo::timeSigNumerator");
static_assert(offsetof(VstTimeInfo, timeSigDenominator) == 68, "VstTimeInfo::timeSigDenominator");
static_assert(offsetof(VstTimeInfo, smpteOffset) == 72, "VstTimeInfo::smpteOffset");
static_assert(offsetof(VstTimeInfo, smpteFrameRate) == 76, "VstTimeInfo::smpteFrameRate");
static_assert(offsetof(VstTimeInfo, samplesToNextClock) == 80, "VstTimeInfo::samplesToNextClock");
static_assert(offsetof(VstTimeInfo, flags) == 84, "VstTimeInfo::flags");

static_assert(sizeof(VstPinProperties) == 128 && alignof(VstPinProperties) == 4, "pin size");
static_assert(offsetof(VstPinProperties, label) == 0, "VstPinProperties::label");
static_assert(offsetof(VstPinProperties, flags) == 64, "VstPinProperties::flags");
static_assert(offsetof(VstPinProperties, arrangementType) == 68, "VstPinProperties::arrangement");
static_assert(offsetof(VstPinProperties, shortLabel) == 72, "VstPinProperties::shortLabel");
static_assert(offsetof(VstPinProperties, future) == 80, "VstPinProperties::future");

static_assert(sizeof(VstSpeakerProperties) == 112 && alignof(VstSpeakerProperties) == 4, "speaker");
static_assert(offsetof(VstSpeakerProperties, azimuth) == 0, "VstSpeakerProperties::azimuth");
static_assert(offsetof(VstSpeakerProperties, elevation) == 4, "VstSpeakerProperties::elevation");
static_assert(offsetof(VstSpeakerProperties, radius) == 8, "VstSpeakerProperties::radius");
static_assert(offsetof(VstSpeakerProperties, reserved) == 12, "VstSpeakerProperties::reserved");
static_assert(offsetof(VstSpeakerProperties, name) == 16, "VstSpeakerProperties::name");
static_assert(offsetof(VstSpeakerProperties, type) == 80, "VstSpeakerProperties::type");
static_assert(offsetof(VstSpeakerProperties, future) == 84, "VstSpeakerProperties::future");

static_assert(sizeof(VstSpeakerArrangement) == 904 && alignof(VstSpeakerArrangement) == 4,
              "VstSpeakerArrangement size");
static_assert(offsetof(VstSpeakerArrangement, type) == 0, "VstSpeakerArrangement::type");
static_assert(offsetof(VstSpeakerArrangement, numChannels) == 4, "VstSpeakerArrangement::count");
static_assert(offsetof(VstSpeakerArrangement, speakers) == 8, "VstSpeakerArrangement::speakers");

static_assert(sizeof(MidiKeyName) == 80 && alignof(MidiKeyName) == 4, "MidiKeyName size");
static_assert(offsetof(MidiKeyName, thisProgramIndex) == 0, "MidiKeyName::thisProgramIndex");
static_assert(offsetof(MidiKeyName, thisKeyNumber) == 4, "MidiKeyName::thisKeyNumber");
static_assert(offsetof(MidiKeyName, keyName) == 8, "MidiKeyName::keyName");
static_assert(offsetof(MidiKeyName, reserved) == 72, "MidiKeyName::reserved");
static_assert(offsetof(MidiKeyName, flags) == 76, "MidiKeyName::flags");
