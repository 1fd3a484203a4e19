#pragma once
// A small LV2 host for one plug-in instance, on lilv: a world of its own that holds one bundle
// folder and nothing else (so whatever LV2_PATH a user has plays no part), the plug-in found by
// its URI and checked, its binary checked as every host library checks a module file before the
// system's loader maps it, instantiated at a rate, its ports read from the bundle's Turtle and
// every one of them connected to buffers the host owns (audio ports to the caller's channels
// for the length of a Run), activated, run in blocks of at most the host's block size and
// deactivated. Used by tests, the command and the editor session.
//
// lilv reports what it finds wrong in a bundle on standard error; nothing here hides it, so a
// test that captures standard error sees every warning the bundle caused.
//
// Every call is safe in every state: before a successful LoadBundle and Instantiate, or after
// Release, calls answer false, null or nothing and do not reach the plug-in. Failures are
// reported by false with a one-line message in LastError(); nothing throws.

#include <lv2/core/lv2.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct Lv2BrelvanePrivate;
struct LilvPluginImpl;    // lilv's LilvPlugin
struct LilvInstanceImpl;  // lilv's LilvInstance

namespace brel {

struct Lv2ScalePoint {
  float value = 0.0f;
  std::string label;
};

// A port as the bundle describes it. Range and default are NaN where the Turtle gives none.
struct Lv2PortInfo {
  std::uint32_t index = 0;
  std::string symbol;
  std::string name;
  bool input = false;  // otherwise an output
  bool control = false;
  bool audio = false;
  float min = 0.0f;
  float max = 0.0f;
  float defaultValue = 0.0f;
  std::string unit;  // the unit's URI (units:db and the like), empty when none
  bool toggled = false;
  bool integer = false;
  bool enumeration = false;
  std::vector<Lv2ScalePoint> scalePoints;  // by value, lowest first
};

class Lv2Host {
public:
  Lv2Host();
  ~Lv2Host();  // Release(), then the world
  Lv2Host(const Lv2Host&) = delete;
  Lv2Host& operator=(const Lv2Host&) = delete;

  // --- The bundle ------------------------------------------------------------------------------
  // Loads the bundle folder at `bundlePath` (its manifest.ttl and what that names) into a new
  // world of this host's own; a loaded host lets its instance and world go first.
  bool LoadBundle(const std::string& bundlePath);
  bool IsLoaded() const;
  const std::string& LastError() const { return mError; }
  // The URIs of the plug-ins the bundle describes, in lilv's order.
  std::vector<std::string> PluginUris() const;

  // --- The instance ----------------------------------------------------------------------------
  // Finds the plug-in of this URI, verifies its description, refuses it when it requires a
  // feature this host lacks or has a port of a kind it cannot connect, checks its binary and
  // instantiates it at `sampleRate`, its control inputs at their defaults. `blockSize` is the
  // most frames one run is given. An instance held before is released first.
  bool Instantiate(const std::string& uri, double sampleRate, std::uint32_t blockSize = 512);
  void Release();  // deactivates and frees the instance
  bool HasInstance() const { return mInstance != nullptr; }
  const std::string& PluginUri() const { return mPluginUri; }
  double SampleRate() const { return mSampleRate; }
  std::string PluginName() const;  // doap:name
  std::string AuthorName() const;  // the maintainer's name, the plug-in's or its project's

  const std::vector<Lv2PortInfo>& Ports() const { return mPorts; }
  // The index of the port with this symbol, or -1.
  int PortIndex(const std::string& symbol) const;
  // A control port's value: an input's as the plug-in reads it at its next run, an output's as
  // the plug-in left it. 0 for a port that is none.
  float Control(std::uint32_t port) const;
  // False for a port that is no control input.
  bool SetControl(std::uint32_t port, float value);

  std::uint32_t AudioInputCount() const { return static_cast<std::uint32_t>(mAudioIns.size()); }
  std::uint32_t AudioOutputCount() const { return static_cast<std::uint32_t>(mAudioOuts.size()); }
  std::uint32_t BlockSize() const { return mBlockSize; }
  // LV2 tells a plug-in no block size, so the host's own may change at any time outside Run.
  bool SetBlockSize(std::uint32_t frames);

  // --- Processing ------------------------------------------------------------------------------
  bool Activate();
  void Deactivate();
  bool IsActive() const { return mActive; }
  // Runs `frames` frames in blocks of at most BlockSize(). `inputs` holds AudioInputCount()
  // channels and `outputs` AudioOutputCount(); a null array or a null channel reads silence or
  // is not written. The channels may be the same buffers (in place). False while inactive.
  bool Run(float* const* inputs, float* const* outputs, std::uint32_t frames);

  // --- What the plug-in binary itself offers ---------------------------------------------------
  LV2_Handle Handle() const;
  const LV2_Descriptor* Descriptor() const;
  // The instance's extension_data for `uri`, or null.
  const void* ExtensionData(const char* uri) const;
  // Our own plug-ins' private table, handed out for `uri` (release::kLv2PrivateUri); null when
  // the plug-in offers none.
  const Lv2BrelvanePrivate* Private(const char* uri) const;

  struct World;  // the lilv world and its nodes, private to the implementation

private:
  bool Fail(const std::string& message);
  bool ReadPorts();
  bool CheckPlugin(const std::string& uri);
  void ConnectScratch();
  void RunBlock(float* const* inputs, float* const* outputs, std::uint32_t offset, std::uint32_t frames);

  std::unique_ptr<World> mWorld;
  const LilvPluginImpl* mPlugin = nullptr;  // owned by the world
  LilvInstanceImpl* mInstance = nullptr;
  std::string mPluginUri;
  double mSampleRate = 0.0;
  std::uint32_t mBlockSize = 0;
  bool mActive = false;
  std::vector<Lv2PortInfo> mPorts;
  std::vector<float> mControls;          // one per port; only control ports' are connected
  std::vector<std::uint32_t> mAudioIns;  // port indices, in port order
  std::vector<std::uint32_t> mAudioOuts;
  std::vector<float> mSilence;  // an unconnected input's block
  std::vector<float> mDiscard;  // an unconnected output's block
  std::string mError;
};

}  // namespace brel
