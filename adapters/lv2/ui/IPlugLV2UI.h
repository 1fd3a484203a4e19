#pragma once
// The LV2 editor's adapter: the plug-in class built once more, in the bundle's UI binary, as the
// model its editor shows (its engine never runs). The editor's window is a child of the host's
// (ui:parent) and is driven by the host's idle calls; its edits go to the plug-in's control ports
// through the host's write function, bracketed by ui:touch where the host offers it; the host's
// port changes arrive as a host's values. The meters come from the playing instance where the
// host grants access to it (instance-access and data-access, then our private table's
// readMeter), and from the meters' output ports otherwise. The plug-in class of the UI binary
// derives from it.
//
// Threads (docs/threads.md): every entry comes on the host's user-interface thread. The one thing
// read of the playing instance, its meters, is read lock-free.

#include <cstdint>

#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include "adapters/lv2/Lv2PortLayout.h"
#include "adapters/lv2/Lv2VendorExtension.h"
#include "core/IPlugBase.h"

// Both plug-ins of the bundle lay their control ports out alike, so one model serves either.
struct IPlugLV2UIInstanceInfo {};

// What the host gave the UI at instantiation, as the entry read it from the features.
struct Lv2UiHost {
  LV2UI_Write_Function write = nullptr;
  LV2UI_Controller controller = nullptr;
  void* parent = nullptr;                   // ui:parent: the host's X window id in the pointer
  const LV2UI_Touch* touch = nullptr;       // optional
  const LV2UI_Resize* resize = nullptr;     // optional: told the editor's size, never asked
  LV2_Handle instance = nullptr;            // instance-access: the playing instance
  const Lv2BrelvanePrivate* dsp = nullptr;  // its private table, through data-access
  bool hasScale = false;                    // the host gave ui:scaleFactor (options, urid:map)
  float scale = 1.0f;
};

class IPlugLV2UI : public IPlugBase {
public:
  IPlugLV2UI(const IPlugLV2UIInstanceInfo& instanceInfo, int nParams, const char* channelIOStr, int nPresets,
             const char* effectName, const char* productName, const char* makerName, std::int32_t versionWord,
             std::int32_t uniqueId, std::int32_t makerId, bool stateChunks = false, bool isInstrument = false,
             bool doesMidi = false);
  ~IPlugLV2UI() override;

  // Called once by the entry on the finished instance: the model's engine takes its values, so
  // the meters show the mode they would while playing.
  void Prepare();
  // Opens the editor in the host's window; false without a parent, or when the window cannot
  // open (no X server, a parent that is gone). Without a write function the editor only shows.
  bool Open(const Lv2UiHost& host);
  void Close();
  // The editor's X window id in the pointer (LV2's widget); null once the window is gone.
  void* Widget();

  // A port's new value (format 0, one float); anything else is ignored.
  void PortEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer);
  // One idle call of the host's: the meters, the window's events and, when its period has
  // passed, a frame. False once the window is gone.
  bool Idle();

  // ---- The editor's edits, to the host.
  void BeginParamEdit(int paramIndex) override;
  void NotifyHostParamChange(int paramIndex, double normalized) override;
  void EndParamEdit(int paramIndex) override;

private:
  bool ReadsInstance() const { return mHost.instance && mHost.dsp && mHost.dsp->readMeter; }
  void CopyInstanceMeters();
  void Touch(int paramIndex, bool grabbed);

  Lv2PortLayout mLayout;
  Lv2UiHost mHost;
  bool mOpen = false;
};

// Made by the plug-in class of the UI binary.
IPlugLV2UI* MakePlug(const IPlugLV2UIInstanceInfo& instanceInfo);
