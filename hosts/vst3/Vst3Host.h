#pragma once
// A small VST3 host for one plug-in instance, on the SDK's hosting classes: loads a bundle and
// enters it as the platform's hosts do, reads its factory, creates and initializes the first
// audio effect class under a host context with a product name and a recording component
// handler, and drives it: buses, setup, activation, blocks of 32-bit or 64-bit samples with
// parameter queues and a process context, and state through memory streams. Used by tests,
// tools and benchmarks.
//
// Every call is safe in every state: before a successful Load and CreatePlugin, or after
// ReleasePlugin, calls answer false, an error result or nothing and do not reach the plug-in.
// Failures are reported by false with a one-line message in LastError(); nothing throws.

#include <cstdint>
#include <string>
#include <vector>

#include "hosts/vst3/Vst3ComponentHandler.h"
#include "hosts/vst3/Vst3HostContext.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "public.sdk/source/vst/hosting/module.h"
#include "public.sdk/source/vst/hosting/parameterchanges.h"

namespace brel {

class Vst3Host {
public:
  explicit Vst3Host(const std::string& productName = "Brelvane Host");
  ~Vst3Host();  // Unload()
  Vst3Host(const Vst3Host&) = delete;
  Vst3Host& operator=(const Vst3Host&) = delete;

  // --- Module and factory --------------------------------------------------------------------
  // Loads the bundle (a folder NAME.vst3) or a module file inside one; a loaded host unloads
  // first.
  bool Load(const std::string& bundlePath);
  const std::string& LastError() const { return mError; }
  bool IsLoaded() const { return mModule != nullptr; }
  // The loaded module's factory and its classes; null and empty when nothing is loaded.
  Steinberg::IPluginFactory* Factory() const;
  std::vector<VST3::Hosting::ClassInfo> Classes() const;

  // --- The plug-in ---------------------------------------------------------------------------
  // Creates the first audio effect class, initializes it with the host context and gives it the
  // component handler. The component must be its own edit controller.
  bool CreatePlugin();
  // Stops processing, terminates and releases the plug-in.
  void ReleasePlugin();
  void Unload();  // ReleasePlugin(), then releases the module
  bool HasPlugin() const { return mComponent != nullptr; }

  Steinberg::Vst::IComponent* Component() const { return mComponent; }
  Steinberg::Vst::IAudioProcessor* Processor() const { return mProcessor; }
  Steinberg::Vst::IEditController* Controller() const { return mController; }
  Vst3ComponentHandler& Handler() { return *mHandler; }
  Vst3HostContext& Context() { return mContext; }

  // --- Configuration -------------------------------------------------------------------------
  // setupProcessing; the sample size also decides which Process call fits.
  bool Setup(double sampleRate, Steinberg::int32 maxBlock,
             Steinberg::int32 sampleSize = Steinberg::Vst::kSample32,
             Steinberg::int32 processMode = Steinberg::Vst::kRealtime);
  // setBusArrangements with one input and one output bus of these channel counts (1 or 2).
  bool SetChannels(int inputs, int outputs);
  // Activates every audio bus, then setActive(true) and setProcessing(true).
  bool Start();
  // setProcessing(false), then setActive(false), when started.
  void Stop();
  bool IsStarted() const { return mStarted; }

  // --- Processing ----------------------------------------------------------------------------
  // A point for the next Process call's parameter queues.
  void QueueParameter(Steinberg::Vst::ParamID id, double value, Steinberg::int32 sampleOffset = 0);
  // The context every later Process call passes; null passes none.
  void SetProcessContext(const Steinberg::Vst::ProcessContext* context);
  // One block on input bus 0 and output bus 0, inChannels and outChannels channel pointers each
  // (a null array with a count of 0 passes no bus). The queued points go with it and are
  // cleared. Answers the plug-in's result, or kNotInitialized without a plug-in.
  Steinberg::tresult Process(float** inputs, int inChannels, float** outputs, int outChannels,
                             Steinberg::int32 frames);
  Steinberg::tresult Process(double** inputs, int inChannels, double** outputs, int outChannels,
                             Steinberg::int32 frames);
  // The raw call, for shapes of ProcessData the helpers above do not make.
  Steinberg::tresult ProcessRaw(Steinberg::Vst::ProcessData& data);

  // --- State ---------------------------------------------------------------------------------
  // The component's state, as the plug-in wrote it into a memory stream; empty on refusal.
  std::vector<std::uint8_t> GetState();
  // The bytes as a memory stream to the component's setState; its answer.
  Steinberg::tresult SetState(const std::vector<std::uint8_t>& bytes);
  // The same through the controller's getState and setState.
  std::vector<std::uint8_t> GetControllerState();
  Steinberg::tresult SetControllerState(const std::vector<std::uint8_t>& bytes);

  // --- Parameters (through the controller) ---------------------------------------------------
  Steinberg::int32 ParamCount() const;
  bool ParamInfo(Steinberg::int32 index, Steinberg::Vst::ParameterInfo& info) const;
  // The display text for a normalized value; empty when the plug-in refuses.
  std::string ParamText(Steinberg::Vst::ParamID id, double normalized) const;
  // The normalized value a typed text stands for; false when the plug-in refuses it.
  bool ParamValueOfText(Steinberg::Vst::ParamID id, const std::string& text, double& normalized) const;

private:
  template <class Sample>
  Steinberg::tresult ProcessBlock(Sample** inputs, int inChannels, Sample** outputs, int outChannels,
                                  Steinberg::int32 frames, Steinberg::int32 sampleSize);
  bool Fail(const std::string& message);

  VST3::Hosting::Module::Ptr mModule;
  // The SDK's host application counts no references: the host owns it outright.
  Vst3HostContext mContext;
  Steinberg::IPtr<Vst3ComponentHandler> mHandler;
  Steinberg::IPtr<Steinberg::Vst::IComponent> mComponent;
  Steinberg::IPtr<Steinberg::Vst::IAudioProcessor> mProcessor;
  Steinberg::IPtr<Steinberg::Vst::IEditController> mController;
  Steinberg::Vst::ParameterChanges mChanges;
  Steinberg::Vst::ProcessContext mProcessContext{};
  bool mHasProcessContext = false;
  Steinberg::int32 mProcessMode = Steinberg::Vst::kRealtime;
  bool mStarted = false;
  std::string mError;
};

}  // namespace brel
