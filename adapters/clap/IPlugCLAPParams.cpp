// IPlugCLAP: the parameters as a CLAP host sees them (plain values in each parameter's own
// range, the id being the index), their texts, the flush outside processing, the editor's
// gestures going back to the host, and one page of remote controls.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "adapters/clap/ClapAbi.h"
#include "core/AudioPath.h"
#include "core/FixedText.h"

namespace {

constexpr char kRemoteSection[] = "Main";
constexpr char kRemotePage[] = "Controls";

// Every value of a stepped parameter has a text of its own: the host may offer them as a list.
bool IsEnumeration(const IParamDef& param) {
  if (param.GetType() == ParamType::Double) return false;
  for (double v = param.GetMin(); v <= param.GetMax(); v += 1.0) {
    const char* text = param.DisplayTextFor(v);
    if (!text || !text[0]) return false;
  }
  return true;
}

clap_param_info_flags FlagsOf(const IParamDef& param) {
  clap_param_info_flags flags = 0;
  if (param.GetCanAutomate()) flags |= CLAP_PARAM_IS_AUTOMATABLE;
  if (param.GetType() != ParamType::Double) flags |= CLAP_PARAM_IS_STEPPED;
  if (IsEnumeration(param)) flags |= CLAP_PARAM_IS_ENUM;
  return flags;
}

// The knobs a controller maps: the continuous parameters, in index order (the editor's).
bool IsRemoteControl(const IParamDef& param) { return param.GetType() == ParamType::Double; }

}  // namespace

struct ClapParamsAbi {
  static std::uint32_t CLAP_ABI Count(const clap_plugin_t* plugin) noexcept {
    return Guarded(plugin, std::uint32_t{0}, [](IPlugCLAP& plug) {
      plug.ExpectThread(ClapThread::Main, "params.count");
      return static_cast<std::uint32_t>(plug.NParams());
    });
  }
  static bool CLAP_ABI GetInfo(const clap_plugin_t* plugin, std::uint32_t index,
                               clap_param_info_t* info) noexcept {
    if (!info) return false;
    return Guarded(plugin, false, [&](IPlugCLAP& plug) { return plug.ParamInfo(index, *info); });
  }
  static bool CLAP_ABI GetValue(const clap_plugin_t* plugin, clap_id id, double* value) noexcept {
    if (!value) return false;
    return Guarded(plugin, false, [&](IPlugCLAP& plug) { return plug.ParamValue(id, *value); });
  }
  static bool CLAP_ABI ValueToText(const clap_plugin_t* plugin, clap_id id, double value, char* text,
                                   std::uint32_t size) noexcept {
    if (!text || size == 0) return false;
    return Guarded(plugin, false, [&](IPlugCLAP& plug) { return plug.ParamToText(id, value, text, size); });
  }
  static bool CLAP_ABI TextToValue(const clap_plugin_t* plugin, clap_id id, const char* text,
                                   double* value) noexcept {
    if (!text || !value) return false;
    return Guarded(plugin, false, [&](IPlugCLAP& plug) { return plug.ParamFromText(id, text, *value); });
  }
  static void CLAP_ABI Flush(const clap_plugin_t* plugin, const clap_input_events_t* in,
                             const clap_output_events_t* out) noexcept {
    GuardedCall(plugin, [&](IPlugCLAP& plug) { plug.FlushParams(in, out); });
  }

  static std::uint32_t CLAP_ABI RemoteCount(const clap_plugin_t* plugin) noexcept {
    return Guarded(plugin, std::uint32_t{0}, [](IPlugCLAP& plug) { return plug.RemotePageCount(); });
  }
  static bool CLAP_ABI RemoteGet(const clap_plugin_t* plugin, std::uint32_t index,
                                 clap_remote_controls_page_t* page) noexcept {
    if (!page) return false;
    return Guarded(plugin, false, [&](IPlugCLAP& plug) { return plug.RemotePage(index, *page); });
  }
};

const clap_plugin_params_t kClapParams = {ClapParamsAbi::Count,       ClapParamsAbi::GetInfo,
                                          ClapParamsAbi::GetValue,    ClapParamsAbi::ValueToText,
                                          ClapParamsAbi::TextToValue, ClapParamsAbi::Flush};
const clap_plugin_remote_controls_t kClapRemoteControls = {ClapParamsAbi::RemoteCount,
                                                           ClapParamsAbi::RemoteGet};

// ---------------------------------------------------------------------------------------------
// Information, values and texts. Metadata never changes after construction: no lock for it.

IParamDef* IPlugCLAP::ParamOfId(clap_id id) const {
  return id < static_cast<clap_id>(NParams()) ? GetParam(static_cast<int>(id)) : nullptr;
}

bool IPlugCLAP::ParamInfo(std::uint32_t index, clap_param_info_t& info) const {
  ExpectThread(ClapThread::Main, "params.get_info");
  const IParamDef* param = ParamOfId(index);
  if (!param) return false;
  info = clap_param_info_t{};
  info.id = index;
  info.flags = FlagsOf(*param);
  CopyFixedText(info.name, param->GetName());
  CopyFixedText(info.module, param->GetGroup());
  info.min_value = param->GetMin();
  info.max_value = param->GetMax();
  info.default_value = param->GetDefault();
  return true;
}

bool IPlugCLAP::ParamValue(clap_id id, double& value) {
  ExpectThread(ClapThread::Main, "params.get_value");
  const IParamDef* param = ParamOfId(id);
  if (!param) return false;
  ScopedLock lock(*this);
  value = param->GetValue();
  return true;
}

// The display text with its unit ("12.50 dB"), CLAP having no field for the unit: the number is
// the core's text for the value, as the other modules show it.
bool IPlugCLAP::ParamToText(clap_id id, double value, char* text, std::uint32_t size) const {
  ExpectThread(ClapThread::Main, "params.value_to_text");
  const IParamDef* param = ParamOfId(id);
  if (!param || std::isnan(value)) return false;
  const double plain = std::clamp(value, param->GetMin(), param->GetMax());
  char number[IParamDef::kTextSize];
  param->FormatValue(plain, false, number, sizeof number, true);
  const char* shown = param->DisplayTextFor(plain);
  const bool hasUnit = !(shown && shown[0]) && param->GetLabel()[0];
  std::snprintf(text, size, hasUnit ? "%s %s" : "%s", number, param->GetLabel());
  return true;
}

bool IPlugCLAP::ParamFromText(clap_id id, const char* text, double& value) const {
  ExpectThread(ClapThread::Main, "params.text_to_value");
  const IParamDef* param = ParamOfId(id);
  return param && param->ValueFromHostText(text, value);
}

// ---------------------------------------------------------------------------------------------
// Events in, gestures out.

void IPlugCLAP::FlushParams(const clap_input_events_t* in, const clap_output_events_t* out) {
  ScopedLock lock(*this);
  ExpectParamThread("params.flush");
  if (!mActive) {
    ApplyFlush(in, out);
    return;
  }
  // Active, the host flushes from its audio thread: the same contract as a block.
  const AudioPathScope audioPath;
  ApplyFlush(in, out);
}

void IPlugCLAP::ApplyFlush(const clap_input_events_t* in, const clap_output_events_t* out) {
  const std::uint32_t count = in && in->size && in->get ? in->size(in) : 0;
  for (std::uint32_t i = 0; i < count; ++i)
    if (const clap_event_header_t* event = in->get(in, i)) ApplyInputEvent(*event);
  SendEditorGestures(out);
}

// Only a whole parameter value event of the core's space is read as one; its plain value becomes
// the position the core takes.
void IPlugCLAP::ApplyInputEvent(const clap_event_header_t& event) {
  if (event.space_id != CLAP_CORE_EVENT_SPACE_ID || event.type != CLAP_EVENT_PARAM_VALUE ||
      event.size < sizeof(clap_event_param_value_t))
    return;
  const auto& change = reinterpret_cast<const clap_event_param_value_t&>(event);
  const IParamDef* param = ParamOfId(change.param_id);
  if (!param || !std::isfinite(change.value)) return;
  SetParamFromHost(static_cast<int>(change.param_id), param->ToNormalized(change.value));
}

void IPlugCLAP::BeginParamEdit(int paramIndex) {
  QueueGesture(CLAP_EVENT_PARAM_GESTURE_BEGIN, paramIndex, 0.0);
}

void IPlugCLAP::NotifyHostParamChange(int paramIndex, double normalized) {
  const IParamDef* param = GetParam(paramIndex);
  if (!param || std::isnan(normalized)) return;
  QueueGesture(CLAP_EVENT_PARAM_VALUE, paramIndex, param->SnappedFromNormalized(normalized));
}

void IPlugCLAP::EndParamEdit(int paramIndex) { QueueGesture(CLAP_EVENT_PARAM_GESTURE_END, paramIndex, 0.0); }

// A value following a value of the same parameter replaces it: the host would see both at the
// same moment. The last place is kept for a gesture's end, so a full queue never leaves the host
// inside a gesture.
void IPlugCLAP::QueueGesture(std::uint16_t type, int paramIndex, double plain) {
  if (!GetParam(paramIndex)) return;
  ScopedLock lock(*this);
  const auto id = static_cast<clap_id>(paramIndex);
  EditorGesture* last = mGestureCount > 0 ? &mGestures[mGestureCount - 1] : nullptr;
  if (type == CLAP_EVENT_PARAM_VALUE && last && last->type == type && last->paramId == id) {
    last->plain = plain;
  } else {
    const int room = kGestureCapacity - (type == CLAP_EVENT_PARAM_GESTURE_END ? 0 : 1);
    if (mGestureCount >= room) return;
    mGestures[mGestureCount++] = {type, id, plain};
  }
  // While processing, the next block carries it; otherwise the host is asked for a flush.
  if (!mProcessing) RequestOnMainThread(kRequestFlush);
}

void IPlugCLAP::SendEditorGestures(const clap_output_events_t* out) {
  if (!out || !out->try_push) return;
  int sent = 0;
  for (; sent < mGestureCount; ++sent) {
    const EditorGesture& gesture = mGestures[sent];
    bool pushed;
    if (gesture.type == CLAP_EVENT_PARAM_VALUE) {
      clap_event_param_value_t event{};
      event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID, gesture.type, 0};
      event.param_id = gesture.paramId;
      event.note_id = -1;
      event.port_index = -1;
      event.channel = -1;
      event.key = -1;
      event.value = gesture.plain;
      pushed = out->try_push(out, &event.header);
    } else {
      clap_event_param_gesture_t event{};
      event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID, gesture.type, 0};
      event.param_id = gesture.paramId;
      pushed = out->try_push(out, &event.header);
    }
    if (!pushed) break;  // the rest wait for the next block
  }
  std::copy(mGestures.begin() + sent, mGestures.begin() + mGestureCount, mGestures.begin());
  mGestureCount -= sent;
}

// ---------------------------------------------------------------------------------------------
// Remote controls: pages of up to eight knobs.

std::uint32_t IPlugCLAP::RemotePageCount() const {
  ExpectThread(ClapThread::Main, "remote-controls.count");
  int knobs = 0;
  for (int i = 0; i < NParams(); ++i) knobs += IsRemoteControl(*GetParam(i)) ? 1 : 0;
  return static_cast<std::uint32_t>((knobs + CLAP_REMOTE_CONTROLS_COUNT - 1) / CLAP_REMOTE_CONTROLS_COUNT);
}

bool IPlugCLAP::RemotePage(std::uint32_t index, clap_remote_controls_page_t& page) const {
  ExpectThread(ClapThread::Main, "remote-controls.get");
  if (index >= RemotePageCount()) return false;
  page = clap_remote_controls_page_t{};
  std::snprintf(page.section_name, sizeof page.section_name, "%s", kRemoteSection);
  std::snprintf(page.page_name, sizeof page.page_name, "%s", kRemotePage);
  page.page_id = index;
  std::fill(std::begin(page.param_ids), std::end(page.param_ids), CLAP_INVALID_ID);
  const int first = static_cast<int>(index) * CLAP_REMOTE_CONTROLS_COUNT;
  for (int i = 0, knob = 0; i < NParams(); ++i) {
    if (!IsRemoteControl(*GetParam(i))) continue;
    const int slot = knob++ - first;
    if (slot >= 0 && slot < CLAP_REMOTE_CONTROLS_COUNT) page.param_ids[slot] = static_cast<clap_id>(i);
  }
  return true;
}
