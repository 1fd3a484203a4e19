// The LV2 UI binary's entry: one X11 UI serving both plug-ins of the bundle, the features it
// reads at instantiation, and the C entries a host calls on it, each keeping every exception
// inside the binary.

#include <cstring>
#include <memory>
#include <mutex>

#include <lv2/atom/atom.h>
#include <lv2/data-access/data-access.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include "BrelvaneRelease.h"
#include "adapters/lv2/ui/IPlugLV2UI.h"

namespace {

// Serialises construction of instances across every thread of the host: the constructor fills
// caches the whole binary shares.
std::mutex& ConstructionLock() {
  static std::mutex lock;
  return lock;
}

bool Is(const char* uri, const char* expected) { return uri && std::strcmp(uri, expected) == 0; }

bool ServesPlugin(const char* uri) {
  return Is(uri, release::kLv2StereoUri) || Is(uri, release::kLv2MonoUri);
}

// The playing instance's private table, reached through data-access; only with the instance
// itself is it of any use.
const Lv2BrelvanePrivate* PrivateTable(const LV2_Extension_Data_Feature* access) {
  if (!access || !access->data_access) return nullptr;
  return static_cast<const Lv2BrelvanePrivate*>(access->data_access(release::kLv2PrivateUri));
}

// ui:scaleFactor among the host's options: a float, under the URIDs the host's map gives. Without
// the map the keys cannot be read, and the host has given no factor.
void ReadScale(const LV2_Options_Option* options, const LV2_URID_Map* map, Lv2UiHost& host) {
  if (!options || !map || !map->map) return;
  const LV2_URID key = map->map(map->handle, LV2_UI__scaleFactor);
  const LV2_URID floatType = map->map(map->handle, LV2_ATOM__Float);
  for (const LV2_Options_Option* option = options; option->key != 0 || option->value; ++option) {
    if (option->key != key || option->type != floatType || option->size != sizeof(float) || !option->value)
      continue;
    std::memcpy(&host.scale, option->value, sizeof host.scale);
    host.hasScale = true;
  }
}

Lv2UiHost HostOf(LV2UI_Write_Function write, LV2UI_Controller controller,
                 const LV2_Feature* const* features) {
  Lv2UiHost host;
  host.write = write;
  host.controller = controller;
  const LV2_Extension_Data_Feature* dataAccess = nullptr;
  const LV2_Options_Option* options = nullptr;
  const LV2_URID_Map* map = nullptr;
  for (const LV2_Feature* const* at = features; at && *at; ++at) {
    const LV2_Feature& feature = **at;
    if (Is(feature.URI, LV2_UI__parent)) host.parent = feature.data;
    if (Is(feature.URI, LV2_UI__touch)) host.touch = static_cast<const LV2UI_Touch*>(feature.data);
    if (Is(feature.URI, LV2_UI__resize)) host.resize = static_cast<const LV2UI_Resize*>(feature.data);
    if (Is(feature.URI, LV2_INSTANCE_ACCESS_URI)) host.instance = feature.data;
    if (Is(feature.URI, LV2_DATA_ACCESS_URI))
      dataAccess = static_cast<const LV2_Extension_Data_Feature*>(feature.data);
    if (Is(feature.URI, LV2_OPTIONS__options)) options = static_cast<const LV2_Options_Option*>(feature.data);
    if (Is(feature.URI, LV2_URID__map)) map = static_cast<const LV2_URID_Map*>(feature.data);
  }
  ReadScale(options, map, host);
  if (host.instance) host.dsp = PrivateTable(dataAccess);
  return host;
}

IPlugLV2UI* PlugOf(LV2UI_Handle ui) noexcept { return static_cast<IPlugLV2UI*>(ui); }

LV2UI_Handle Instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                         const LV2_Feature* const* features) noexcept {
  if (!widget) return nullptr;
  *widget = nullptr;
  if (!ServesPlugin(pluginUri)) return nullptr;
  try {
    const Lv2UiHost host = HostOf(write, controller, features);
    if (!host.parent) return nullptr;
    std::unique_ptr<IPlugLV2UI> plug;
    {
      std::lock_guard<std::mutex> guard(ConstructionLock());
      plug.reset(MakePlug(IPlugLV2UIInstanceInfo{}));
    }
    if (!plug) return nullptr;
    plug->Prepare();
    if (!plug->Open(host)) return nullptr;
    *widget = plug->Widget();
    return plug.release();
  } catch (...) {
    // Out of memory while building the model: the host is told there is no UI.
    return nullptr;
  }
}

void Cleanup(LV2UI_Handle ui) noexcept {
  IPlugLV2UI* plug = PlugOf(ui);
  if (!plug) return;
  try {
    plug->Close();
  } catch (...) {}
  delete plug;
}

void PortEvent(LV2UI_Handle ui, std::uint32_t port, std::uint32_t size, std::uint32_t format,
               const void* buffer) noexcept {
  IPlugLV2UI* plug = PlugOf(ui);
  if (!plug) return;
  try {
    plug->PortEvent(port, size, format, buffer);
  } catch (...) {}
}

// Non-zero tells the host the window is gone (destroyed with the host's window, say).
int Idle(LV2UI_Handle ui) noexcept {
  IPlugLV2UI* plug = PlugOf(ui);
  if (!plug) return 1;
  try {
    return plug->Idle() ? 0 : 1;
  } catch (...) {
    return 1;
  }
}

const LV2UI_Idle_Interface kIdleInterface = {Idle};

// Only the idle interface; any other URI, a made-up one included, is answered with nothing.
const void* ExtensionData(const char* uri) noexcept {
  return Is(uri, LV2_UI__idleInterface) ? &kIdleInterface : nullptr;
}

const LV2UI_Descriptor kDescriptor = {release::kLv2UiUri, Instantiate, Cleanup, PortEvent, ExtensionData};

}  // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(std::uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}
