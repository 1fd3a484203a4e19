// IPlugLV2UI: the editor's window in the host's, the host's ports and idle calls, the edits.

#include "adapters/lv2/ui/IPlugLV2UI.h"

#include <cmath>
#include <cstring>

IPlugLV2UI::IPlugLV2UI(const IPlugLV2UIInstanceInfo&, int nParams, const char* channelIOStr, int nPresets,
                       const char* effectName, const char* productName, const char* makerName,
                       std::int32_t versionWord, std::int32_t uniqueId, std::int32_t makerId,
                       bool stateChunks, bool isInstrument, bool doesMidi)
    : IPlugBase(nParams, nPresets, channelIOStr, effectName, productName, makerName, versionWord, uniqueId,
                makerId, ApiId::Lv2, stateChunks, isInstrument, doesMidi) {
  mLayout.params = nParams;
}

IPlugLV2UI::~IPlugLV2UI() { Close(); }

// The meters exist only once the plug-in class has built them, after this class's constructor.
void IPlugLV2UI::Prepare() {
  ScopedLock lock(*this);
  mLayout.meters = NMeters();
  NotifyAllParamsChanged();
}

bool IPlugLV2UI::Open(const Lv2UiHost& host) {
  IEditor* editor = GetEditor();
  if (mOpen || !host.parent || !editor) return false;
  if (host.hasScale) editor->SetHostScale(host.scale);
  if (!editor->OpenEditorWindow(host.parent)) return false;
  mHost = host;
  mOpen = true;
  OnEditorOpened();
  // The editor keeps its own size (at its scale); a host that can hear it is told, so it fits its
  // window.
  if (host.resize && host.resize->ui_resize) {
    int width = 0, height = 0;
    editor->WindowSize(width, height);
    host.resize->ui_resize(host.resize->handle, width, height);
  }
  return true;
}

void IPlugLV2UI::Close() {
  if (!mOpen) return;
  mOpen = false;
  OnEditorClosed();
  if (IEditor* editor = GetEditor()) editor->CloseEditorWindow();
  mHost = Lv2UiHost{};
}

void* IPlugLV2UI::Widget() {
  IEditor* editor = GetEditor();
  return mOpen && editor ? editor->WindowHandle() : nullptr;
}

// ---------------------------------------------------------------------------------------------
// The host's calls.

// A parameter's port carries its plain value; a host repeating what the model holds (the echo of
// the editor's own edit, typically) changes nothing, so a knob being dragged is not pulled back
// onto the value's step. A meter's port counts only where the instance cannot be read; its
// value comes from the host, so it is held within the meter's scale.
void IPlugLV2UI::PortEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer) {
  if (format != 0 || size != sizeof(float) || !buffer) return;
  float value;
  std::memcpy(&value, buffer, sizeof value);
  if (mLayout.IsParam(port)) {
    ScopedLock lock(*this);
    const IParamDef* param = GetParam(static_cast<int>(port));
    if (param && static_cast<float>(param->GetValue()) != value)
      SetParamValueFromHost(static_cast<int>(port), value);
    return;
  }
  if (!mLayout.IsMeter(port) || ReadsInstance()) return;
  if (MeterFeed* feed = GetMeter(static_cast<int>(port - mLayout.FirstMeter()))) feed->SetLevel(value);
}

bool IPlugLV2UI::Idle() {
  IEditor* editor = GetEditor();
  if (!mOpen || !editor) return false;
  // Before the frame, so the needles drawn are the instance's now.
  if (ReadsInstance()) CopyInstanceMeters();
  editor->Idle();
  return editor->WindowHandle() != nullptr;
}

void IPlugLV2UI::CopyInstanceMeters() {
  for (int i = 0; i < mLayout.meters; ++i) {
    MeterFeed* feed = GetMeter(i);
    Lv2MeterReading reading{};
    if (!feed || !mHost.dsp->readMeter(mHost.instance, static_cast<std::uint32_t>(i), &reading)) continue;
    feed->Publish(reading.level);
    feed->SetLamp(reading.lamp != 0);
    feed->SetMode(reading.mode);
  }
}

// ---------------------------------------------------------------------------------------------
// The editor's edits: a gesture is touch on, the values, touch off.

void IPlugLV2UI::BeginParamEdit(int paramIndex) { Touch(paramIndex, true); }

// The value as the port carries it: plain, clamped and (for a stepped parameter) on its steps,
// as the plug-in will hold it.
void IPlugLV2UI::NotifyHostParamChange(int paramIndex, double normalized) {
  const IParamDef* param = GetParam(paramIndex);
  if (!mOpen || !mHost.write || !param || std::isnan(normalized)) return;
  const float value = static_cast<float>(param->SnappedFromNormalized(normalized));
  mHost.write(mHost.controller, static_cast<std::uint32_t>(paramIndex), sizeof value, 0, &value);
}

void IPlugLV2UI::EndParamEdit(int paramIndex) { Touch(paramIndex, false); }

void IPlugLV2UI::Touch(int paramIndex, bool grabbed) {
  if (!mOpen || !mHost.touch || !mHost.touch->touch || !GetParam(paramIndex)) return;
  mHost.touch->touch(mHost.touch->handle, static_cast<std::uint32_t>(paramIndex), grabbed);
}
