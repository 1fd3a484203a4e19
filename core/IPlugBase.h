#pragma once
// The host-independent heart of a plug-in: identity, parameters, presets and state chunks,
// channel configurations and buffer binding, the processing context, the attached editor and
// the one lock that serialises the host's threads and the editor. Host adapters derive from it
// and fill in the operations that talk to the host; the plug-in class derives from its adapter.

#include <cstdint>
#include <mutex>

#include "core/ApiId.h"
#include "core/ChannelIOConfig.h"
#include "core/HeapBuffer.h"
#include "core/HostId.h"
#include "core/IEditor.h"
#include "core/IParamDef.h"
#include "core/MeterFeed.h"
#include "core/MidiMessage.h"
#include "core/PlugChannel.h"
#include "core/PointerList.h"
#include "core/PresetSlot.h"
#include "core/StateChunk.h"
#include "core/TransportInfo.h"

class IPlugBase {
public:
  static constexpr int kIdentityTextSize = 128;            // effect, product and maker names
  static constexpr std::int32_t kChunkMagic = 0x70666674;  // "tffp" in the stored bytes
  static constexpr std::int32_t kChunkVersion = 0x00010000;
  // The most frames a channel's scratch buffer holds; longer host blocks are served in slices.
  static constexpr int kMaxSliceFrames = 8192;

  IPlugBase(int nParams, int nPresets, const char* channelIOStr, const char* effectName,
            const char* productName, const char* makerName, std::int32_t versionWord, std::int32_t uniqueId,
            std::int32_t makerId, ApiId apiId, bool stateChunks = false, bool isInstrument = false,
            bool doesMidi = false);
  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  // ---- Virtual operations, in this order. "Host" ones belong to the adapter; the core's
  // ---- bodies are neutral (nothing happens, zero or false comes back).
  virtual ~IPlugBase();
  virtual void OnReset();
  virtual void OnParamChanged(int paramIndex);
  virtual void ProcessDouble(double** inputs, double** outputs, int nFrames);
  virtual void ProcessSingle(float** inputs, float** outputs, int nFrames);
  virtual void OnEditorOpened() {}
  virtual void OnEditorClosed() {}
  virtual void OnActiveChanged(bool active);
  virtual void OnMidiMessage(const MidiMessage& message);
  virtual void OnSysExMessage(const SysExMessage& message) {}
  virtual bool GetMidiNoteName(int noteNumber, char* name);
  virtual bool SaveState(StateChunk& chunk);
  virtual int LoadState(const StateChunk& chunk, int startPosition);
  virtual bool StateMatches(const double* values, int startIndex) const;
  virtual void OnEditorResized() {}
  virtual void OnHostKnown() {}
  virtual void OpenHostParamMenu(int paramIndex, int x, int y) {}
  virtual void SetParamFromEditor(int paramIndex, double normalized);
  virtual void BeginParamEdit(int paramIndex) {}                            // host
  virtual void NotifyHostParamChange(int paramIndex, double normalized) {}  // host
  virtual void EndParamEdit(int paramIndex) {}                              // host
  virtual void NotifyHostPresetChange() {}                                  // host
  virtual bool IsOfflineRender() { return false; }
  virtual std::int32_t GetHostSamplePosition() { return 0; }              // host
  virtual double GetHostTempo() { return 0.0; }                           // host
  virtual void GetHostTimeSignature(int& numerator, int& denominator) {}  // host
  virtual void GetHostTransport(TransportInfo& info) {}                   // host
  virtual HostId GetHostId() { return mHostId; }
  virtual ApiId GetApiId() { return mApiId; }
  virtual void ResizeEditor(int width, int height) {}  // host
  virtual void InitForHost() {}
  virtual void AttachEditor(IEditor* editor);
  virtual void SetLatencySamples(int samples) { mLatency = samples; }
  virtual bool SendMidiMessage(const MidiMessage& message) { return false; }  // host
  virtual bool SendSysExMessage(const SysExMessage& message) { return false; }
  virtual void RefreshEditorParams();
  virtual void OnPresetsChanged() {}
  virtual void SetMaxBlockSize(int frames);
  // The samples by which the output lags the input at the current settings and sample rate, for
  // a host that lines its output up with its input itself; -1 when the plug-in cannot tell. Not
  // the latency: a plug-in may report none to its host and still run its signal late.
  virtual int GetProcessedDelay() { return -1; }
  // The plug-in's level meters, for hosts that show them apart from its editor (LV2's output
  // ports) and for an editor whose engine runs in another instance: how many, and each one.
  virtual int NMeters() const { return 0; }
  virtual MeterFeed* GetMeter(int index) { return nullptr; }
  virtual const char* GetMeterName(int index) const { return ""; }

  // ---- The plug-in lock: recursive, one per instance.
  void Lock() { mMutex.lock(); }
  void Unlock() { mMutex.unlock(); }
  class ScopedLock {
  public:
    explicit ScopedLock(IPlugBase& plug) : mPlug(plug) { mPlug.Lock(); }
    ~ScopedLock() { mPlug.Unlock(); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

  private:
    IPlugBase& mPlug;
  };

  // ---- What every host adapter does with a host's request, written once so that the modules
  // ---- cannot disagree. Each takes the plug-in lock itself and answers false, changing
  // ---- nothing, for a request that is not one (a bad index, a value that is not a number).

  // A normalized value from the host: the editor shows it first, then the parameter stores it
  // and the plug-in hears of it. The host is not told back.
  bool SetParamFromHost(int paramIndex, double normalized);
  // A plain value from a host whose controls carry them (LV2's ports): clamped into the range and
  // onto the parameter's steps, then handled as above.
  bool SetParamValueFromHost(int paramIndex, double value);
  // A value the user typed into the host: refused when the parameter cannot read it.
  bool SetParamFromHostText(int paramIndex, const char* text);
  // The parameter's normalized value; 0.0 for an index out of range.
  double GetParamNormalized(int paramIndex) const;
  bool SetSampleRateFromHost(double sampleRate);
  bool SetBlockSizeFromHost(long long frames);
  void SetActiveFromHost(bool active);
  // The host moves to another preset; unless the plug-in keeps its state in chunks, the preset
  // being left keeps the values it had.
  bool SelectPresetFromHost(int presetIndex);
  // A state chunk from the host. The editor is refreshed with whatever was applied, also when the
  // chunk was cut short; the result is the position after the chunk, or -1 when it was damaged.
  int LoadStateFromHost(const StateChunk& chunk, bool isBank);

  // ---- Identity and processing context.
  const char* GetEffectName() const { return mEffectName; }
  const char* GetProductName() const { return mProductName; }
  const char* GetMakerName() const { return mMakerName; }
  std::int32_t GetUniqueId() const { return mUniqueId; }
  std::int32_t GetMakerId() const { return mMakerId; }
  std::int32_t GetVersion() const { return mVersion; }
  int GetVersionMajor() const { return static_cast<std::uint32_t>(mVersion) >> 16; }
  int GetVersionMinor() const { return (mVersion >> 8) & 0xFF; }
  int GetVersionPatch() const { return mVersion & 0xFF; }
  std::int32_t GetHostVersion() const { return mHostVersion; }
  bool DoesStateChunks() const { return mStateChunks; }
  bool IsInstrument() const { return mIsInstrument; }
  bool DoesMidi() const { return mDoesMidi; }
  double GetSampleRate() const { return mSampleRate; }
  void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }
  int GetMaxBlockSize() const { return mMaxBlockSize; }
  int GetLatency() const { return mLatency; }
  int GetTailSize() const { return mTailSize; }
  void SetTailSize(int samples) { mTailSize = samples; }

  // ---- Parameters.
  int NParams() const { return mParams.GetCount(); }
  IParamDef* GetParam(int index) const { return mParams.Get(index); }
  void NotifyAllParamsChanged();

  // ---- Channels and buffer binding for one processing call.
  int NInChannels() const { return mInputChannels.GetCount(); }
  int NOutChannels() const { return mOutputChannels.GetCount(); }
  int NChannelIOConfigs() const { return mChannelIOConfigs.GetCount(); }
  const ChannelIOConfig* GetChannelIOConfig(int index) const { return mChannelIOConfigs.Get(index); }
  bool LegalIO(int inputs, int outputs) const;
  double** GetInputPointers() const { return static_cast<double**>(mInputPointers.GetData()); }
  double** GetOutputPointers() const { return static_cast<double**>(mOutputPointers.GetData()); }
  bool IsInputConnected(int channel) const;
  bool IsOutputConnected(int channel) const;
  const char* GetInputLabel(int channel) const;
  const char* GetOutputLabel(int channel) const;
  void SetInputLabel(int channel, const char* label);
  void SetOutputLabel(int channel, const char* label);

  void SetInputConnections(int count);
  void SetOutputConnections(int count);
  // One channel at a time, for adapters whose host groups channels into buses.
  void SetInputConnected(int channel, bool connected);
  void SetOutputConnected(int channel, bool connected);
  void BindOutputToScratch(int channel, float* hostOutput);
  void BindOutputDirect(int channel, double* hostOutput);

  void BindInputsFromFloat(float** hostInputs, int nFrames);
  void BindInputsDirect(double** hostInputs);
  void BindOutputsToScratch(float** hostOutputs);
  void BindOutputsDirect(double** hostOutputs);
  void WriteOutputsToFloat(int nFrames, bool accumulate);
  void PassThrough(int nFrames);

  // A whole host block, bound, processed and delivered in slices of at most the maximum block
  // size, so a host that passes more frames than it announced gets them all processed without
  // the plug-in ever reading or writing past a scratch buffer. The caller holds the lock.
  void ProcessFloatBlock(float** hostInputs, float** hostOutputs, int nFrames, bool accumulate);
  void ProcessDoubleBlock(double** hostInputs, double** hostOutputs, int nFrames);

  // ---- Presets and state chunks.
  // Loaders' results, one convention throughout: a loader (LoadState, UnserializeParams,
  // UnserializePresets, LoadChunk, LoadStateFromHost and the chunk's readers) returns the
  // position after what it read, or -1 when the data was cut short or damaged. 0 is a position
  // like any other (nothing to read at the start, as a plug-in without parameters stores), so
  // success is ">= 0", never "> 0". Whatever produces or applies a whole thing answers a bool.
  // ReadChunkHeader's answer is a version, not a result: its position says what happened
  // (unchanged: no header; -1: cut short; past the header: read).
  int NPresets() const { return mPresets.GetCount(); }
  int GetCurrentPresetIndex() const { return mCurrentPresetIndex; }
  const PresetSlot* GetPreset(int index) const { return mPresets.Get(index); }

  bool BeginStateChunk(StateChunk& chunk);
  std::int32_t ReadChunkHeader(const StateChunk& chunk, int& position);
  bool SerializeParams(StateChunk& chunk);
  int UnserializeParams(const StateChunk& chunk, int position);
  bool SerializePresets(StateChunk& chunk);
  int UnserializePresets(const StateChunk& chunk, int position);
  void ModifyCurrentPreset(const char* newName = nullptr);
  bool LoadPreset(int index);
  const char* PresetName(int index) const;
  void FillEmptyPresets(const char* name, int count);
  bool SaveProgramChunk(StateChunk& chunk);
  bool SaveBankChunk(StateChunk& chunk);
  int LoadChunk(const StateChunk& chunk, bool isBank);

  // ---- Editor.
  IEditor* GetEditor() const { return mEditor; }

protected:
  // For adapters that identify their host (see IdentifyHost and PackHostVersion).
  void SetHostIdentity(HostId id, std::int32_t hostVersion) {
    mHostId = id;
    mHostVersion = hostVersion;
  }

private:
  void ParseChannelIOString(const char* channelIOStr);
  void CreateChannels(int nInputs, int nOutputs);
  void BindInputsFromFloatAt(float** hostInputs, int offset, int nFrames);
  void BindInputsDirectAt(double** hostInputs, int offset);
  void BindOutputsToScratchAt(float** hostOutputs, int offset);
  void BindOutputsDirectAt(double** hostOutputs, int offset);
  InputChannel* InChannel(int channel) const { return mInputChannels.Get(channel); }
  OutputChannel* OutChannel(int channel) const { return mOutputChannels.Get(channel); }
  void SetPresetName(PresetSlot& slot, const char* name);
  template <class Sample>
  void ZeroConnectedHostOutputs(Sample** hostOutputs, int nFrames);

  // The lock is declared first so that it is destroyed last. Mutable: reading a value under the
  // lock does not change the plug-in.
  mutable std::recursive_mutex mMutex;
  PointerList<ChannelIOConfig> mChannelIOConfigs{true};
  char mEffectName[kIdentityTextSize] = {};
  char mProductName[kIdentityTextSize] = {};
  char mMakerName[kIdentityTextSize] = {};
  std::int32_t mUniqueId;
  std::int32_t mMakerId;
  std::int32_t mVersion;
  ApiId mApiId;
  HostId mHostId = HostId::NotAsked;
  std::int32_t mHostVersion = 0;
  bool mStateChunks;
  bool mIsInstrument;
  bool mDoesMidi;
  int mCurrentPresetIndex = 0;
  double mSampleRate = 44100.0;
  int mMaxBlockSize = 0;
  int mLatency = 0;
  int mTailSize = 0;
  IEditor* mEditor = nullptr;
  PointerList<IParamDef> mParams{true};
  PointerList<PresetSlot> mPresets{true};
  HeapBuffer mInputPointers{4096};
  HeapBuffer mOutputPointers{4096};
  PointerList<InputChannel> mInputChannels{true};
  PointerList<OutputChannel> mOutputChannels{true};
};
