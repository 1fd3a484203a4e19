#pragma once
// The LV2 host adapter: an LV2 plug-in instance (its ports, run, activation) translated into the
// core's operations. LV2 carries every setting in the plug-in's control ports, as plain values:
// each block, a port that moved since the value last applied goes through the core before the
// audio runs, and the meters are written to their output ports after it. Our own hosts and our
// editor reach a little more through the private table of Lv2VendorExtension.h. The plug-in
// class of the LV2 module derives from it.
//
// Threads (docs/threads.md): LV2 gives `run` to the audio thread and everything else of the
// instance to one other thread, never at the same time as `run` for the instantiation class;
// the private table may come from the editor's thread at any time. Every entry takes the
// plug-in lock except the meters' reading, which is lock-free.

#include <cstdint>
#include <vector>

#include <lv2/core/lv2.h>

#include "adapters/lv2/Lv2PortLayout.h"
#include "adapters/lv2/Lv2VendorExtension.h"
#include "core/IPlugBase.h"

// What lv2_descriptor's instantiate hands to the plug-in constructor.
struct IPlugLV2InstanceInfo {
  double sampleRate = 0.0;
  int channels = 2;  // the bundle's stereo plug-in, or 1 for its mono one
};

class IPlugLV2 : public IPlugBase {
public:
  IPlugLV2(const IPlugLV2InstanceInfo& instanceInfo, int nParams, const char* channelIOStr, int nPresets,
           const char* effectName, const char* productName, const char* makerName, std::int32_t versionWord,
           std::int32_t uniqueId, std::int32_t makerId, bool stateChunks = false, bool isInstrument = false,
           bool doesMidi = false);
  ~IPlugLV2() override;

  // Called once by the entry point on the finished instance, before the host sees it.
  void Prepare();
  // The LV2 entries, after the entry point has checked the handle.
  void ConnectPort(std::uint32_t port, void* data);
  void Activate();
  void Deactivate();
  void Run(std::uint32_t frames);

  const Lv2PortLayout& Layout() const { return mLayout; }

  // ---- Our own requests (Lv2VendorExtension.h).
  bool FormatParamValue(std::uint32_t param, double value, char* text, char* label, std::uint32_t size);
  bool ParseParamValue(std::uint32_t param, const char* text, double& value);
  double ParamValue(std::uint32_t param);
  std::uint32_t SaveChunk(std::uint8_t* out, std::uint32_t capacity);
  bool LoadChunk(const std::uint8_t* data, std::uint32_t size);
  bool ReadMeter(std::uint32_t meter, Lv2MeterReading& reading);

private:
  void ApplyControlPorts();
  void RenderAudio(int frames);
  void WriteMeterPorts();
  // Every parameter's value as a port carries it, so that a host repeating what the plug-in
  // holds changes nothing.
  void RememberAppliedValues();

  Lv2PortLayout mLayout;
  bool mActive = false;
  // The host's buffers, as connect_port last gave them (null: not connected).
  std::vector<const float*> mParamPorts;
  std::vector<float*> mMeterPorts;
  std::vector<float*> mAudioIn, mAudioOut;
  // The value each parameter port had when it was last applied, compared by its bits.
  std::vector<std::uint32_t> mApplied;
};

// Made by the plug-in class of the module.
IPlugLV2* MakePlug(const IPlugLV2InstanceInfo& instanceInfo);
