#include "hosts/lv2/Lv2Host.h"

#include <lilv/lilv.h>
#include <lv2/units/units.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "hosts/module/ModuleFile.h"

namespace brel {
namespace {

// A node lilv hands over for the caller to free.
struct NodeDeleter {
  void operator()(LilvNode* node) const { lilv_node_free(node); }
};
using Node = std::unique_ptr<LilvNode, NodeDeleter>;

std::string TextOf(const LilvNode* node) {
  const char* text = node ? lilv_node_as_string(node) : nullptr;
  return text ? text : "";
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// lilv takes a bundle as a file URI of its folder, ending in a slash.
std::string AbsoluteFolder(const std::string& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  std::string folder = resolved ? resolved : path;
  std::free(resolved);
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

// A control input starts where the bundle says it does; without a default at its lowest value.
float StartingValue(const Lv2PortInfo& port) {
  if (!std::isnan(port.defaultValue)) return port.defaultValue;
  return std::isnan(port.min) ? 0.0f : port.min;
}

}  // namespace

struct Lv2Host::World {
  World() : world(lilv_world_new()) {
    if (!world) return;
    // A dynamic manifest is code run while the bundle is read, before its binary is checked.
    Node off(lilv_new_bool(world, false));
    lilv_world_set_option(world, LILV_OPTION_DYN_MANIFEST, off.get());
    inputPort.reset(lilv_new_uri(world, LV2_CORE__InputPort));
    outputPort.reset(lilv_new_uri(world, LV2_CORE__OutputPort));
    controlPort.reset(lilv_new_uri(world, LV2_CORE__ControlPort));
    audioPort.reset(lilv_new_uri(world, LV2_CORE__AudioPort));
    optional.reset(lilv_new_uri(world, LV2_CORE__connectionOptional));
    toggled.reset(lilv_new_uri(world, LV2_CORE__toggled));
    integer.reset(lilv_new_uri(world, LV2_CORE__integer));
    enumeration.reset(lilv_new_uri(world, LV2_CORE__enumeration));
    unit.reset(lilv_new_uri(world, LV2_UNITS__unit));
  }
  ~World() {
    // The nodes belong to the world's lifetime; free them before it.
    for (Node* node : {&inputPort, &outputPort, &controlPort, &audioPort, &optional, &toggled, &integer,
                       &enumeration, &unit})
      node->reset();
    lilv_world_free(world);
  }
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  const LilvPlugins* Plugins() const { return lilv_world_get_all_plugins(world); }

  LilvWorld* world;
  Node inputPort, outputPort, controlPort, audioPort, optional, toggled, integer, enumeration, unit;
};

Lv2Host::Lv2Host() = default;

Lv2Host::~Lv2Host() {
  Release();
  mWorld.reset();
}

bool Lv2Host::Fail(const std::string& message) {
  mError = message;
  return false;
}

// ---------------------------------------------------------------------------------------------
// The bundle.

bool Lv2Host::LoadBundle(const std::string& bundlePath) {
  Release();
  mWorld.reset();
  if (!IsFolder(bundlePath)) return Fail("'" + bundlePath + "' is not a folder, so it is no LV2 bundle");
  const std::string folder = AbsoluteFolder(bundlePath);
  if (!IsFile(folder + "manifest.ttl"))
    return Fail("'" + bundlePath + "' holds no manifest.ttl, so it is no LV2 bundle");
  auto world = std::make_unique<World>();
  if (!world->world) return Fail("lilv could not make a world to load '" + bundlePath + "' in");
  Node uri(lilv_new_file_uri(world->world, nullptr, folder.c_str()));
  lilv_world_load_bundle(world->world, uri.get());
  lilv_world_load_specifications(world->world);
  lilv_world_load_plugin_classes(world->world);
  if (lilv_plugins_size(world->Plugins()) == 0) return Fail("'" + bundlePath + "' describes no plug-in");
  mWorld = std::move(world);
  return true;
}

bool Lv2Host::IsLoaded() const { return mWorld != nullptr; }

std::vector<std::string> Lv2Host::PluginUris() const {
  std::vector<std::string> uris;
  if (!mWorld) return uris;
  const LilvPlugins* plugins = mWorld->Plugins();
  LILV_FOREACH(plugins, it, plugins)
  uris.push_back(TextOf(lilv_plugin_get_uri(lilv_plugins_get(plugins, it))));
  return uris;
}

// ---------------------------------------------------------------------------------------------
// The instance.

// The plug-in of `uri`, its description sound, nothing required that this host lacks, its binary
// a whole shared library: what must hold before the system's loader maps the binary.
bool Lv2Host::CheckPlugin(const std::string& uri) {
  Node node(lilv_new_uri(mWorld->world, uri.c_str()));
  const LilvPlugin* plugin = lilv_plugins_get_by_uri(mWorld->Plugins(), node.get());
  if (!plugin) return Fail("the bundle describes no plug-in <" + uri + ">");
  if (!lilv_plugin_verify(plugin)) return Fail("the description of <" + uri + "> is incomplete or damaged");
  LilvNodes* required = lilv_plugin_get_required_features(plugin);
  std::string missing = lilv_nodes_size(required) > 0 ? TextOf(lilv_nodes_get_first(required)) : "";
  lilv_nodes_free(required);
  if (!missing.empty())
    return Fail("<" + uri + "> requires the feature <" + missing + ">, which this host lacks");
  char* path = lilv_file_uri_parse(TextOf(lilv_plugin_get_library_uri(plugin)).c_str(), nullptr);
  const std::string binary = path ? path : "";
  lilv_free(path);
  std::string why;
  if (binary.empty()) return Fail("<" + uri + "> names no binary in a local file");
  if (!CheckModuleFile(binary, why)) return Fail("'" + binary + "' " + why);
  mPlugin = plugin;
  return true;
}

bool Lv2Host::ReadPorts() {
  const World& w = *mWorld;
  const std::uint32_t count = lilv_plugin_get_num_ports(mPlugin);
  std::vector<float> mins(count), maxs(count), defaults(count);
  lilv_plugin_get_port_ranges_float(mPlugin, mins.data(), maxs.data(), defaults.data());
  for (std::uint32_t i = 0; i < count; ++i) {
    const LilvPort* port = lilv_plugin_get_port_by_index(mPlugin, i);
    Lv2PortInfo info;
    info.index = i;
    info.symbol = TextOf(lilv_port_get_symbol(mPlugin, port));
    Node name(lilv_port_get_name(mPlugin, port));
    info.name = TextOf(name.get());
    info.input = lilv_port_is_a(mPlugin, port, w.inputPort.get());
    info.control = lilv_port_is_a(mPlugin, port, w.controlPort.get());
    info.audio = lilv_port_is_a(mPlugin, port, w.audioPort.get());
    const bool output = lilv_port_is_a(mPlugin, port, w.outputPort.get());
    // A port of a kind this host cannot feed is left unconnected, which only an optional one may be.
    if ((info.input == output || info.control == info.audio) &&
        !lilv_port_has_property(mPlugin, port, w.optional.get()))
      return Fail("<" + mPluginUri + "> has a port '" + info.symbol + "' of a kind this host cannot connect");
    info.min = mins[i];
    info.max = maxs[i];
    info.defaultValue = defaults[i];
    LilvNodes* units = lilv_port_get_value(mPlugin, port, w.unit.get());
    if (lilv_nodes_size(units) > 0) info.unit = TextOf(lilv_nodes_get_first(units));
    lilv_nodes_free(units);
    info.toggled = lilv_port_has_property(mPlugin, port, w.toggled.get());
    info.integer = lilv_port_has_property(mPlugin, port, w.integer.get());
    info.enumeration = lilv_port_has_property(mPlugin, port, w.enumeration.get());
    LilvScalePoints* points = lilv_port_get_scale_points(mPlugin, port);
    LILV_FOREACH(scale_points, it, points) {
      const LilvScalePoint* point = lilv_scale_points_get(points, it);
      info.scalePoints.push_back(
          {lilv_node_as_float(lilv_scale_point_get_value(point)), TextOf(lilv_scale_point_get_label(point))});
    }
    lilv_scale_points_free(points);
    std::stable_sort(info.scalePoints.begin(), info.scalePoints.end(),
                     [](const Lv2ScalePoint& a, const Lv2ScalePoint& b) { return a.value < b.value; });
    mPorts.push_back(std::move(info));
  }
  return true;
}

bool Lv2Host::Instantiate(const std::string& pluginUri, double sampleRate, std::uint32_t blockSize) {
  const std::string uri = pluginUri;  // PluginUri() itself, say, which Release() clears
  Release();
  if (!mWorld) return Fail("no bundle is loaded");
  if (!(sampleRate > 0.0) || !std::isfinite(sampleRate) || blockSize == 0)
    return Fail("a plug-in runs at a positive sample rate in blocks of at least one frame");
  mPluginUri = uri;
  if (!CheckPlugin(uri) || !ReadPorts()) {
    Release();
    return false;
  }
  const LV2_Feature* const features[] = {nullptr};
  mInstance = lilv_plugin_instantiate(mPlugin, sampleRate, features);
  if (!mInstance) {
    const std::string error =
        "<" + uri + "> could not be instantiated at " + std::to_string(sampleRate) + " Hz";
    Release();
    return Fail(error);
  }
  mSampleRate = sampleRate;
  mBlockSize = blockSize;
  mControls.assign(mPorts.size(), 0.0f);
  for (const Lv2PortInfo& port : mPorts) {
    if (port.control) {
      if (port.input) mControls[port.index] = StartingValue(port);
      lilv_instance_connect_port(mInstance, port.index, &mControls[port.index]);
    } else if (port.audio) {
      (port.input ? mAudioIns : mAudioOuts).push_back(port.index);
    } else {
      lilv_instance_connect_port(mInstance, port.index, nullptr);
    }
  }
  mSilence.assign(blockSize, 0.0f);
  mDiscard.assign(blockSize, 0.0f);
  ConnectScratch();
  return true;
}

bool Lv2Host::SetBlockSize(std::uint32_t frames) {
  if (!mInstance || frames == 0) return Fail("a plug-in runs in blocks of at least one frame");
  mBlockSize = frames;
  mSilence.assign(frames, 0.0f);
  mDiscard.assign(frames, 0.0f);
  ConnectScratch();
  return true;
}

// Audio ports point at the host's own blocks between runs, so no port is ever left unconnected.
void Lv2Host::ConnectScratch() {
  for (std::uint32_t port : mAudioIns) lilv_instance_connect_port(mInstance, port, mSilence.data());
  for (std::uint32_t port : mAudioOuts) lilv_instance_connect_port(mInstance, port, mDiscard.data());
}

void Lv2Host::Release() {
  Deactivate();
  if (mInstance) lilv_instance_free(mInstance);
  mInstance = nullptr;
  mPlugin = nullptr;
  mPluginUri.clear();
  mSampleRate = 0.0;
  mBlockSize = 0;
  mPorts.clear();
  mControls.clear();
  mAudioIns.clear();
  mAudioOuts.clear();
}

std::string Lv2Host::PluginName() const {
  if (!mPlugin) return "";
  Node name(lilv_plugin_get_name(mPlugin));
  return TextOf(name.get());
}

std::string Lv2Host::AuthorName() const {
  if (!mPlugin) return "";
  Node name(lilv_plugin_get_author_name(mPlugin));
  return TextOf(name.get());
}

int Lv2Host::PortIndex(const std::string& symbol) const {
  for (const Lv2PortInfo& port : mPorts)
    if (port.symbol == symbol) return static_cast<int>(port.index);
  return -1;
}

float Lv2Host::Control(std::uint32_t port) const {
  return port < mPorts.size() && mPorts[port].control ? mControls[port] : 0.0f;
}

bool Lv2Host::SetControl(std::uint32_t port, float value) {
  if (port >= mPorts.size() || !mPorts[port].control || !mPorts[port].input) return false;
  mControls[port] = value;
  return true;
}

// ---------------------------------------------------------------------------------------------
// Processing.

bool Lv2Host::Activate() {
  if (!mInstance) return Fail("no plug-in is instantiated");
  if (!mActive) lilv_instance_activate(mInstance);
  mActive = true;
  return true;
}

void Lv2Host::Deactivate() {
  if (mActive) lilv_instance_deactivate(mInstance);
  mActive = false;
}

bool Lv2Host::Run(float* const* inputs, float* const* outputs, std::uint32_t frames) {
  if (!mActive) return Fail("the plug-in runs only while active");
  std::uint32_t done = 0;
  do {
    const std::uint32_t n = std::min(frames - done, mBlockSize);
    RunBlock(inputs, outputs, done, n);
    done += n;
  } while (done < frames);
  ConnectScratch();
  return true;
}

void Lv2Host::RunBlock(float* const* inputs, float* const* outputs, std::uint32_t offset,
                       std::uint32_t frames) {
  std::fill_n(mSilence.begin(), frames, 0.0f);
  for (std::size_t c = 0; c < mAudioIns.size(); ++c) {
    float* channel = inputs && inputs[c] ? inputs[c] + offset : mSilence.data();
    lilv_instance_connect_port(mInstance, mAudioIns[c], channel);
  }
  for (std::size_t c = 0; c < mAudioOuts.size(); ++c) {
    float* channel = outputs && outputs[c] ? outputs[c] + offset : mDiscard.data();
    lilv_instance_connect_port(mInstance, mAudioOuts[c], channel);
  }
  lilv_instance_run(mInstance, frames);
}

// ---------------------------------------------------------------------------------------------
// The binary's own.

LV2_Handle Lv2Host::Handle() const { return mInstance ? lilv_instance_get_handle(mInstance) : nullptr; }

const LV2_Descriptor* Lv2Host::Descriptor() const {
  return mInstance ? lilv_instance_get_descriptor(mInstance) : nullptr;
}

const void* Lv2Host::ExtensionData(const char* uri) const {
  return mInstance && uri ? lilv_instance_get_extension_data(mInstance, uri) : nullptr;
}

const Lv2BrelvanePrivate* Lv2Host::Private(const char* uri) const {
  return static_cast<const Lv2BrelvanePrivate*>(ExtensionData(uri));
}

}  // namespace brel
