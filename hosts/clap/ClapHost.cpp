#include "hosts/clap/ClapHost.h"

#include <algorithm>
#include <cstring>

#include "hosts/clap/ClapEventList.h"
#include "hosts/clap/ClapHostServices.h"

namespace brel {
namespace {

// A host's stream over bytes in memory, moving at most `perCall` bytes a call (0: all asked).
struct OutputStream {
  std::vector<std::uint8_t>* bytes;
  std::size_t perCall;
  std::size_t failAfter;  // 0: never fails
};

int64_t CLAP_ABI WriteStream(const clap_ostream_t* stream, const void* buffer, uint64_t size) {
  auto& out = *static_cast<OutputStream*>(stream->ctx);
  if (out.failAfter > 0 && out.bytes->size() >= out.failAfter) return -1;
  std::size_t take = static_cast<std::size_t>(size);
  if (out.perCall > 0) take = std::min(take, out.perCall);
  if (out.failAfter > 0) take = std::min(take, out.failAfter - out.bytes->size());
  const auto* from = static_cast<const std::uint8_t*>(buffer);
  out.bytes->insert(out.bytes->end(), from, from + take);
  return static_cast<int64_t>(take);
}

struct InputStream {
  const std::vector<std::uint8_t>* bytes;
  std::size_t perCall;
  std::size_t position = 0;
};

int64_t CLAP_ABI ReadStream(const clap_istream_t* stream, void* buffer, uint64_t size) {
  auto& in = *static_cast<InputStream*>(stream->ctx);
  std::size_t take = std::min(static_cast<std::size_t>(size), in.bytes->size() - in.position);
  if (in.perCall > 0) take = std::min(take, in.perCall);
  if (take > 0) std::memcpy(buffer, in.bytes->data() + in.position, take);
  in.position += take;
  return static_cast<int64_t>(take);
}

template <class Sample>
void SetData(clap_audio_buffer_t& buffer, Sample** channels);
template <>
void SetData<float>(clap_audio_buffer_t& buffer, float** channels) {
  buffer.data32 = channels;
}
template <>
void SetData<double>(clap_audio_buffer_t& buffer, double** channels) {
  buffer.data64 = channels;
}

}  // namespace

ClapHost::ClapHost(const std::string& hostName)
    : mServices(std::make_unique<Services>(hostName)), mEvents(std::make_unique<ClapEventList>()) {}

ClapHost::~ClapHost() { Unload(); }

bool ClapHost::Fail(const std::string& message) {
  mError = message;
  return false;
}

const clap_host_t* ClapHost::Host() const { return &mServices->host; }

// ---------------------------------------------------------------------------------------------
// Module and plug-in.

bool ClapHost::Load(const std::string& modulePath) {
  Unload();
  std::string error;
  if (!mModule.Open(modulePath, error)) return Fail(error);
  const auto* entry = static_cast<const clap_plugin_entry_t*>(mModule.FindData("clap_entry"));
  if (!entry) {
    mModule.Close();
    return Fail("'" + modulePath + "' has no clap_entry: it is not a CLAP module");
  }
  if (!clap_version_is_compatible(entry->clap_version) || !entry->init || !entry->deinit ||
      !entry->get_factory) {
    mModule.Close();
    return Fail("'" + modulePath + "' has a CLAP entry of another version or without its functions");
  }
  if (!entry->init(modulePath.c_str())) {
    mModule.Close();
    return Fail("the CLAP entry of '" + modulePath + "' refused to initialize");
  }
  mEntry = entry;
  mFactory = static_cast<const clap_plugin_factory_t*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
  if (!mFactory) {
    Unload();
    return Fail("'" + modulePath + "' offers no plug-in factory");
  }
  mError.clear();
  return true;
}

std::vector<const clap_plugin_descriptor_t*> ClapHost::Descriptors() const {
  std::vector<const clap_plugin_descriptor_t*> list;
  if (!mFactory) return list;
  for (uint32_t i = 0, n = mFactory->get_plugin_count(mFactory); i < n; ++i)
    if (const clap_plugin_descriptor_t* desc = mFactory->get_plugin_descriptor(mFactory, i))
      list.push_back(desc);
  return list;
}

bool ClapHost::CreatePlugin(const std::string& pluginId) {
  ReleasePlugin();
  if (!mFactory) return Fail("no module is loaded");
  std::string id = pluginId;
  if (id.empty()) {
    const auto descriptors = Descriptors();
    if (descriptors.empty() || !descriptors.front()->id) return Fail("the module describes no plug-in");
    id = descriptors.front()->id;
  }
  const clap_plugin_t* plugin = mFactory->create_plugin(mFactory, &mServices->host, id.c_str());
  if (!plugin) return Fail("the factory made no plug-in '" + id + "'");
  if (!plugin->init(plugin)) {
    plugin->destroy(plugin);
    return Fail("the plug-in '" + id + "' refused to initialize");
  }
  mPlugin = plugin;
  return true;
}

void ClapHost::ReleasePlugin() {
  if (!mPlugin) return;
  StopProcessing();
  Deactivate();
  mPlugin->destroy(mPlugin);
  mPlugin = nullptr;
}

void ClapHost::Unload() {
  ReleasePlugin();
  if (mEntry) mEntry->deinit();
  mEntry = nullptr;
  mFactory = nullptr;
  mModule.Close();
}

const void* ClapHost::Extension(const char* id) const {
  return mPlugin && id ? mPlugin->get_extension(mPlugin, id) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Activation and processing.

bool ClapHost::Activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames) {
  if (!mPlugin) return Fail("no plug-in");
  if (!mPlugin->activate(mPlugin, sampleRate, minFrames, maxFrames))
    return Fail("the plug-in refused to activate");
  mActive = true;
  return true;
}

void ClapHost::Deactivate() {
  if (!mPlugin || !mActive) return;
  StopProcessing();
  mPlugin->deactivate(mPlugin);
  mActive = false;
}

bool ClapHost::StartProcessing() {
  if (!mPlugin || !mActive) return false;
  if (mProcessing) return true;
  const AudioThreadScope audio;
  mProcessing = mPlugin->start_processing(mPlugin);
  return mProcessing;
}

void ClapHost::StopProcessing() {
  if (!mPlugin || !mProcessing) return;
  const AudioThreadScope audio;
  mPlugin->stop_processing(mPlugin);
  mProcessing = false;
}

void ClapHost::QueueParamValue(clap_id id, double value, std::uint32_t time) {
  clap_event_param_value_t event{};
  event.header = {sizeof event, time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
  event.param_id = id;
  event.note_id = -1;
  event.port_index = -1;
  event.channel = -1;
  event.key = -1;
  event.value = value;
  mEvents->Add(event.header);
}

void ClapHost::QueueRawEvent(const clap_event_header_t& event) { mEvents->AddRaw(event); }

template <class Sample>
clap_process_status ClapHost::ProcessBlock(Sample** inputs, int inChannels, Sample** outputs, int outChannels,
                                           std::uint32_t frames, std::uint64_t constantInputMask) {
  if (!mPlugin) return CLAP_PROCESS_ERROR;
  clap_audio_buffer_t in{}, out{};
  SetData<Sample>(in, inputs);
  in.channel_count = static_cast<uint32_t>(inChannels);
  in.constant_mask = constantInputMask;
  SetData<Sample>(out, outputs);
  out.channel_count = static_cast<uint32_t>(outChannels);
  clap_process_t process{};
  process.steady_time = mSteadyTime;
  process.frames_count = frames;
  process.audio_inputs = inputs || inChannels > 0 ? &in : nullptr;
  process.audio_inputs_count = process.audio_inputs ? 1 : 0;
  process.audio_outputs = outputs || outChannels > 0 ? &out : nullptr;
  process.audio_outputs_count = process.audio_outputs ? 1 : 0;
  process.in_events = mEvents->Input();
  process.out_events = mServices->OutputList();
  clap_process_status status;
  {
    const AudioThreadScope audio;
    status = mPlugin->process(mPlugin, &process);
  }
  mEvents->Clear();
  mSteadyTime += frames;
  return status;
}

clap_process_status ClapHost::Process(float** inputs, int inChannels, float** outputs, int outChannels,
                                      std::uint32_t frames, std::uint64_t constantInputMask) {
  return ProcessBlock(inputs, inChannels, outputs, outChannels, frames, constantInputMask);
}

clap_process_status ClapHost::Process(double** inputs, int inChannels, double** outputs, int outChannels,
                                      std::uint32_t frames, std::uint64_t constantInputMask) {
  return ProcessBlock(inputs, inChannels, outputs, outChannels, frames, constantInputMask);
}

std::vector<ClapOutputEvent> ClapHost::OutputEvents() const {
  std::lock_guard<std::mutex> hold(mServices->mutex);
  return mServices->output;
}

void ClapHost::ClearOutputEvents() {
  std::lock_guard<std::mutex> hold(mServices->mutex);
  mServices->output.clear();
}

// ---------------------------------------------------------------------------------------------
// Parameters.

namespace {
const clap_plugin_params_t* ParamsOf(const ClapHost& host) {
  return host.ExtensionAs<clap_plugin_params_t>(CLAP_EXT_PARAMS);
}
}  // namespace

std::uint32_t ClapHost::ParamCount() const {
  const clap_plugin_params_t* params = ParamsOf(*this);
  return params ? params->count(mPlugin) : 0;
}

bool ClapHost::ParamInfo(std::uint32_t index, clap_param_info_t& info) const {
  const clap_plugin_params_t* params = ParamsOf(*this);
  return params && params->get_info(mPlugin, index, &info);
}

bool ClapHost::ParamValue(clap_id id, double& value) const {
  const clap_plugin_params_t* params = ParamsOf(*this);
  return params && params->get_value(mPlugin, id, &value);
}

bool ClapHost::ParamText(clap_id id, double value, std::string& text) const {
  const clap_plugin_params_t* params = ParamsOf(*this);
  char buffer[CLAP_NAME_SIZE] = {};
  if (!params || !params->value_to_text(mPlugin, id, value, buffer, sizeof buffer)) return false;
  text.assign(buffer, strnlen(buffer, sizeof buffer));
  return true;
}

bool ClapHost::ParamValueOfText(clap_id id, const std::string& text, double& value) const {
  const clap_plugin_params_t* params = ParamsOf(*this);
  return params && params->text_to_value(mPlugin, id, text.c_str(), &value);
}

void ClapHost::Flush() {
  const clap_plugin_params_t* params = ParamsOf(*this);
  if (!params) return;
  if (mActive) {
    const AudioThreadScope audio;  // an active plug-in is flushed from its audio thread
    params->flush(mPlugin, mEvents->Input(), mServices->OutputList());
  } else {
    params->flush(mPlugin, mEvents->Input(), mServices->OutputList());
  }
  mEvents->Clear();
}

bool ClapHost::FlushWhenRequested() {
  {
    std::lock_guard<std::mutex> hold(mServices->mutex);
    if (!mServices->flushPending) return false;
    mServices->flushPending = false;
  }
  Flush();
  return true;
}

// ---------------------------------------------------------------------------------------------
// State.

bool ClapHost::SaveState(std::vector<std::uint8_t>& bytes, std::size_t bytesPerCall, std::size_t failAfter) {
  bytes.clear();
  const auto* state = ExtensionAs<clap_plugin_state_t>(CLAP_EXT_STATE);
  if (!state) return Fail("the plug-in keeps no state");
  OutputStream out{&bytes, bytesPerCall, failAfter};
  const clap_ostream_t stream{&out, WriteStream};
  if (!state->save(mPlugin, &stream)) {
    bytes.clear();
    return Fail("the plug-in did not save its state");
  }
  return true;
}

bool ClapHost::LoadState(const std::vector<std::uint8_t>& bytes, std::size_t bytesPerCall) {
  const auto* state = ExtensionAs<clap_plugin_state_t>(CLAP_EXT_STATE);
  if (!state) return Fail("the plug-in keeps no state");
  InputStream in{&bytes, bytesPerCall};
  const clap_istream_t stream{&in, ReadStream};
  if (!state->load(mPlugin, &stream)) return Fail("the plug-in refused the state");
  return true;
}

// ---------------------------------------------------------------------------------------------
// Main thread and loop.

void ClapHost::RunMainThreadCallbacks() {
  bool pending = false;
  {
    std::lock_guard<std::mutex> hold(mServices->mutex);
    pending = mServices->callbackPending;
    mServices->callbackPending = false;
    if (pending && mPlugin) ++mServices->requests.mainThreadCalls;
  }
  if (pending && mPlugin) mPlugin->on_main_thread(mPlugin);
}

ClapHostRequests ClapHost::Requests() const {
  std::lock_guard<std::mutex> hold(mServices->mutex);
  return mServices->requests;
}

std::vector<ClapHost::Timer> ClapHost::Timers() const {
  std::lock_guard<std::mutex> hold(mServices->mutex);
  return mServices->timers;
}

std::vector<ClapHost::FdWatch> ClapHost::FdWatches() const {
  std::lock_guard<std::mutex> hold(mServices->mutex);
  return mServices->fdWatches;
}

void ClapHost::RunLoopStep(int waitMs) {
  if (!mPlugin) return;
  for (const FdWatch& ready : ReadyDescriptors(FdWatches(), waitMs))
    if (const auto* fds = ExtensionAs<clap_plugin_posix_fd_support_t>(CLAP_EXT_POSIX_FD_SUPPORT))
      fds->on_fd(mPlugin, ready.fd, ready.flags);
  // A timer the plug-in drops in a callback must not be called after it.
  for (const Timer& timer : Timers()) {
    const auto current = Timers();
    const bool stillThere =
        std::any_of(current.begin(), current.end(), [&](const Timer& t) { return t.id == timer.id; });
    if (!stillThere) continue;
    if (const auto* timers = ExtensionAs<clap_plugin_timer_support_t>(CLAP_EXT_TIMER_SUPPORT))
      timers->on_timer(mPlugin, timer.id);
  }
  RunMainThreadCallbacks();
}

void ClapHost::OfferTimers(bool offer) { mServices->offerTimers = offer; }
void ClapHost::OfferFdSupport(bool offer) { mServices->offerFds = offer; }

}  // namespace brel
