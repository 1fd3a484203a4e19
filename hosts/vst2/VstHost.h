// A small VST 2.4 host for one plug-in instance: loads the module, answers and records the
// plug-in's callbacks, and wraps the dispatcher in safe calls. Used by tests, tools and benchmarks.
//
// Every call is safe in every state: before a successful Load or after Close, calls answer 0,
// false or empty and do not reach the plug-in. Failures to load are reported by Load returning
// false with a one-line message in LastError(); nothing throws.
//
// Settings may be changed between calls into the plug-in (not while one is running on another
// thread); the record may be read from any thread.
#pragma once

#include "adapters/vst2/VstInterface.h"
#include "hosts/vst2/HostRecord.h"
#include "hosts/vst2/HostSettings.h"
#include "hosts/module/LoadedModule.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace brel {

class VstHost {
public:
  enum class ChunkKind { Bank = 0, Program = 1 };  // effGetChunk / effSetChunk index

  VstHost();
  explicit VstHost(const HostSettings& settings);
  ~VstHost();  // Unload()
  VstHost(const VstHost&) = delete;
  VstHost& operator=(const VstHost&) = delete;

  // --- Life cycle ---------------------------------------------------------------------------
  // Loads the module, calls VSTPluginMain (or main) with this host's callback and checks the
  // plug-in's magic. False with LastError() set on any failure; a loaded host unloads first.
  bool Load(const std::string& path);
  const std::string& LastError() const { return mError; }
  const std::string& EntryName() const { return mEntryName; }  // "VSTPluginMain" or "main"
  bool IsLoaded() const { return mEffect != nullptr; }

  VstIntPtr Open();  // effOpen
  void Close();      // suspends if resumed, then effClose; the plug-in is gone afterwards
  void Unload();     // Close(), then releases the module

  // --- Configuration -------------------------------------------------------------------------
  bool SetSampleRate(float rate);      // effSetSampleRate; also what audioMasterGetSampleRate answers
  bool SetBlockSize(VstInt32 frames);  // effSetBlockSize; also what audioMasterGetBlockSize answers
  bool Resume();                       // effMainsChanged 1
  bool Suspend();                      // effMainsChanged 0
  bool IsResumed() const { return mResumed; }

  // --- The AEffect record --------------------------------------------------------------------
  const AEffect* Effect() const { return mEffect; }  // null when not loaded
  VstInt32 NumParams() const;
  VstInt32 NumPrograms() const;
  VstInt32 NumInputs() const;
  VstInt32 NumOutputs() const;
  VstInt32 Flags() const;
  VstInt32 UniqueId() const;
  VstInt32 Version() const;
  VstInt32 InitialDelay() const;

  // --- Parameters ----------------------------------------------------------------------------
  std::string ParamName(VstInt32 index);           // effGetParamName
  std::string ParamLabel(VstInt32 index);          // effGetParamLabel
  std::string ParamDisplay(VstInt32 index);        // effGetParamDisplay
  void SetParameter(VstInt32 index, float value);  // normalised 0..1
  float GetParameter(VstInt32 index);
  bool String2Parameter(VstInt32 index, const std::string& text);  // true when accepted
  bool CanBeAutomated(VstInt32 index);

  // --- Programs and state --------------------------------------------------------------------
  VstInt32 GetProgram();
  void SetProgram(VstInt32 program);
  std::string ProgramName();                         // effGetProgramName
  void SetProgramName(const std::string& name);      // effSetProgramName
  std::string ProgramNameIndexed(VstInt32 program);  // effGetProgramNameIndexed
  // The plug-in's chunk, copied out of its memory; empty when it has none.
  std::vector<uint8_t> GetChunk(ChunkKind kind);
  // Hands the plug-in a copy of data; true when it answers non-zero.
  bool SetChunk(ChunkKind kind, const std::vector<uint8_t>& data);

  // --- Identity and capabilities --------------------------------------------------------------
  std::string EffectName();                  // effGetEffectName
  std::string VendorString();                // effGetVendorString
  std::string ProductString();               // effGetProductString
  VstIntPtr VendorVersion();                 // effGetVendorVersion
  VstIntPtr VstVersion();                    // effGetVstVersion
  VstIntPtr PlugCategory();                  // effGetPlugCategory
  VstIntPtr TailSize();                      // effGetTailSize
  VstIntPtr CanDo(const std::string& what);  // 1 yes, -1 no, 0 don't know
  VstIntPtr VendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt);

  // --- Channels ------------------------------------------------------------------------------
  // An arrangement of channels speakers (0..8): type from the count, numChannels set.
  static VstSpeakerArrangement MakeArrangement(VstInt32 channels);
  bool SetSpeakerArrangement(const VstSpeakerArrangement& input,
                             const VstSpeakerArrangement& output);  // true when answered non-zero
  // Copies the plug-in's arrangements (header and numChannels speakers, at most 8).
  bool GetSpeakerArrangement(VstSpeakerArrangement& input, VstSpeakerArrangement& output);
  bool InputProperties(VstInt32 index, VstPinProperties& out);   // effGetInputProperties
  bool OutputProperties(VstInt32 index, VstPinProperties& out);  // effGetOutputProperties

  // --- Editor --------------------------------------------------------------------------------
  bool EditorRect(ERect& out);  // effEditGetRect, copied out

  // --- Processing ----------------------------------------------------------------------------
  // Each needs NumInputs() input and NumOutputs() output channel pointers (the arrays may be null
  // only when the count is 0) and 0 <= frames. False when the call was refused or not offered.
  bool ProcessReplacing(float** inputs, float** outputs, VstInt32 frames);
  bool ProcessAccumulating(float** inputs, float** outputs, VstInt32 frames);  // AEffect::process
  bool ProcessDoubleReplacing(double** inputs, double** outputs, VstInt32 frames);
  // effProcessEvents with the given events (any VstEvent-shaped records); the plug-in's answer.
  VstIntPtr SendEvents(const std::vector<const VstEvent*>& events);

  // --- Raw access ----------------------------------------------------------------------------
  // The dispatcher as is, for edge cases. effClose goes through Close() so the host knows.
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);

  // --- Host answers and the record -------------------------------------------------------------
  HostSettings Settings() const;
  void SetSettings(const HostSettings& settings);
  void SetProductString(const std::string& text);
  void SetVendorString(const std::string& text);
  void SetVendorVersion(VstInt32 version);
  void SetProcessLevel(VstInt32 level);
  void SetTimeInfo(const VstTimeInfo& info);  // audioMasterGetTime answers with a copy of it
  void ClearTimeInfo();                       // audioMasterGetTime answers 0
  void SetHostCanDo(const std::string& what, VstIntPtr answer);
  void SetRecording(bool on);  // see HostSettings::recording

  HostRecord Record() const;  // a snapshot
  void ClearRecord();

  // The audioMaster callback (the one handed to the entry point). Public so that tests can
  // drive it directly; plug-ins reach it through the pointer they were given.
  static VstIntPtr HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt);

private:
  VstIntPtr Answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt,
                   bool duringEntry);
  void RecordEvents(const VstEvents* events);
  std::string TextCall(VstInt32 opcode, VstInt32 index);
  bool CanProcess(const void* inputs, const void* outputs, VstInt32 frames) const;
  bool FailLoad(const std::string& message);

  LoadedModule mModule;
  AEffect* mEffect = nullptr;
  std::string mError;
  std::string mEntryName;
  bool mResumed = false;
  float mSampleRate = 44100.0f;
  VstInt32 mBlockSize = 1024;

  mutable std::mutex mMutex;  // guards mSettings, mRecord and mTimeAnswer
  HostSettings mSettings;
  HostRecord mRecord;
  VstTimeInfo mTimeAnswer{};  // the copy audioMasterGetTime hands out
};

}  // namespace brel
