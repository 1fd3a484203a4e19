// The plug-in-to-host side of VstHost: the audioMaster callback, its answers and its record.
#include "hosts/vst2/VstHost.h"

#include "hosts/vst2/HostRegistry.h"

#include <cstring>

namespace brel {

namespace {

// Host texts go into the plug-in's buffer within the nominal 64 bytes, NUL included.
VstIntPtr CopyHostText(const std::string& text, void* ptr) {
  if (ptr == nullptr) return 0;
  const size_t length = text.size() < kVstMaxVendorStrLen - 1 ? text.size() : kVstMaxVendorStrLen - 1;
  char* out = static_cast<char*>(ptr);
  std::memcpy(out, text.data(), length);
  out[length] = '\0';
  return 1;
}

HostEvent CopyEvent(const VstEvent& event) {
  HostEvent copy;
  copy.type = event.type;
  copy.byteSize = event.byteSize;
  copy.deltaFrames = event.deltaFrames;
  copy.flags = event.flags;
  if (event.type == kVstMidiType) {
    VstMidiEvent midi;
    std::memcpy(&midi, &event, sizeof(midi));
    copy.noteLength = midi.noteLength;
    copy.noteOffset = midi.noteOffset;
    std::memcpy(copy.midiData, midi.midiData, sizeof(copy.midiData));
    copy.detune = static_cast<signed char>(midi.detune);
    copy.noteOffVelocity = static_cast<unsigned char>(midi.noteOffVelocity);
  } else if (event.type == kVstSysExType) {
    // A sysex record is longer than the base event: read it through its own type.
    const VstMidiSysexEvent& sysex = reinterpret_cast<const VstMidiSysexEvent&>(event);
    if (sysex.dumpBytes > 0 && sysex.sysexDump != nullptr) {
      const unsigned char* bytes = reinterpret_cast<const unsigned char*>(sysex.sysexDump);
      copy.sysex.assign(bytes, bytes + sysex.dumpBytes);
    }
  }
  return copy;
}

}  // namespace

VstIntPtr VstHost::HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
  VstHost* host = HostRegistry::Find(effect);
  bool duringEntry = false;
  if (host == nullptr) {
    host = HostRegistry::Entering();
    duringEntry = host != nullptr;
  }
  if (host != nullptr) return host->Answer(effect, opcode, index, value, ptr, opt, duringEntry);
  // A plug-in this process does not know: only the interface version is safe to tell it.
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

void VstHost::RecordEvents(const VstEvents* events) {
  const VstInt32 count = events->numEvents;
  // The pointer list starts 16 bytes in and holds numEvents entries, not the two declared.
  const unsigned char* list = reinterpret_cast<const unsigned char*>(events) + 16;
  for (VstInt32 i = 0; i < count; ++i) {
    const VstEvent* event = nullptr;
    std::memcpy(&event, list + static_cast<size_t>(i) * sizeof(event), sizeof(event));
    if (event != nullptr) mRecord.events.push_back(CopyEvent(*event));
  }
}

VstIntPtr VstHost::Answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                          float opt, bool duringEntry) {
  std::lock_guard<std::mutex> lock(mMutex);
  const bool rec = mSettings.recording;
  if (rec) mRecord.calls.push_back(HostCall{opcode, index, value, opt, effect == nullptr, duringEntry});

  switch (opcode) {
    case audioMasterAutomate:
      if (rec) mRecord.automations.push_back(AutomateCall{index, opt});
      return 0;
    case audioMasterVersion: return kVstVersion;
    case audioMasterWantMidi: mRecord.wantMidiCalls += rec ? 1 : 0; return 1;
    case audioMasterGetTime:
      if (!mSettings.hasTime) return 0;
      // A copy that stays put until the next call, so the plug-in can read it after we return.
      mTimeAnswer = mSettings.timeInfo;
      return reinterpret_cast<VstIntPtr>(&mTimeAnswer);
    case audioMasterProcessEvents:
      if (ptr == nullptr) return 0;
      if (rec) {
        ++mRecord.processEventsCalls;
        RecordEvents(static_cast<const VstEvents*>(ptr));
      }
      return mSettings.processEventsAnswer;
    case audioMasterIOChanged: mRecord.ioChangedCalls += rec ? 1 : 0; return 1;
    case audioMasterGetSampleRate: return static_cast<VstIntPtr>(mSampleRate);
    case audioMasterGetBlockSize: return mBlockSize;
    case audioMasterGetCurrentProcessLevel: return mSettings.processLevel;
    case audioMasterGetVendorString: return CopyHostText(mSettings.vendorString, ptr);
    case audioMasterGetProductString: return CopyHostText(mSettings.productString, ptr);
    case audioMasterGetVendorVersion: return mSettings.vendorVersion;
    case audioMasterCanDo: {
      if (ptr == nullptr) return 0;
      const auto found = mSettings.canDo.find(static_cast<const char*>(ptr));
      return found == mSettings.canDo.end() ? 0 : found->second;
    }
    case audioMasterGetLanguage: return kVstLangEnglish;
    case audioMasterUpdateDisplay: mRecord.updateDisplays += rec ? 1 : 0; return 1;
    case audioMasterBeginEdit:
      if (rec) mRecord.beginEdits.push_back(index);
      return 1;
    case audioMasterEndEdit:
      if (rec) mRecord.endEdits.push_back(index);
      return 1;
    default: return 0;
  }
}

// --- Settings and record -------------------------------------------------------------------------

HostSettings VstHost::Settings() const {
  std::lock_guard<std::mutex> lock(mMutex);
  return mSettings;
}

void VstHost::SetSettings(const HostSettings& settings) {
  std::lock_guard<std::mutex> lock(mMutex);
  mSettings = settings;
}

void VstHost::SetProductString(const std::string& text) {
  std::lock_guard<std::mutex> lock(mMutex);
  mSettings.productString = text;
}

void VstHost::SetVendorString(const std::string& text) {
  std::lock_guard<std::mutex> lock(mMutex);
  mSettings.vendorString = text;
}

void VstHost::SetVendorVersion(VstInt32 version) {
  std::lock_guard<std::mutex> lock(mMutex);
  mSettings.vendorVersion = version;
}

void VstHost::SetProcessLevel(VstInt32 level) {
  std::lock_guard<std::mutex> lock(mMutex);
  mSettings.processLevel = level;
}

void VstHost::SetTimeInfo(const VstTimeInfo& info) {
  std::lock_guard<std::mutex> lock(mMutex);
  mSettings.hasTime = true;
  mSettings.timeInfo = info;
}

void VstHost::ClearTimeInfo() {
  std::lock_guard<std::mutex> lock(mMutex);
  mSettings.hasTime = false;
}

void VstHost::SetHostCanDo(const std::string& what, VstIntPtr answer) {
  std::lock_guard<std::mutex> lock(mMutex);
  mSettings.canDo[what] = answer;
}

void VstHost::SetRecording(bool on) {
  std::lock_guard<std::mutex> lock(mMutex);
  mSettings.recording = on;
}

HostRecord VstHost::Record() const {
  std::lock_guard<std::mutex> lock(mMutex);
  return mRecord;
}

void VstHost::ClearRecord() {
  std::lock_guard<std::mutex> lock(mMutex);
  mRecord = HostRecord();
}

}  // namespace brel
