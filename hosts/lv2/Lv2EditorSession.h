#pragma once
// An LV2 plug-in's X11 UI opened the way an LV2 host embeds one: the UI binary loaded, its
// descriptor found by the UI's URI and instantiated for one plug-in with the host's window as
// ui:parent, the host's ui:touch and ui:resize, its scale as the ui:scaleFactor option (with the
// urid:map its keys need) when it has one and, where the host grants it, the playing
// instance (instance-access, with its descriptor's extension_data as data-access); the UI's idle
// interface called from the host's loop until it says its window is gone; port values sent to
// port_event; cleanup when the editor closes. Every write_function and touch call of the UI is
// recorded in order. The editor's window is the child that appears in the host's window, and the
// widget instantiate hands back. The platform's test host supplies the window and one step of
// its loop.

#include <lv2/core/lv2.h>
#include <lv2/data-access/data-access.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "hosts/editor/EditorParent.h"
#include "hosts/module/LoadedModule.h"

namespace brel {

// The playing instance a host may hand its UI: the instance and its descriptor's extension_data.
struct Lv2InstanceAccess {
  LV2_Handle instance = nullptr;
  const void* (*extensionData)(const char* uri) = nullptr;
};

// One call the UI made to the host: touch(port, true), write_function(port, ...) or
// touch(port, false).
struct Lv2UiCall {
  enum class Kind { TouchOn, Value, TouchOff };
  Kind kind = Kind::Value;
  std::uint32_t port = 0;
  float value = 0.0f;          // a write of one float
  std::uint32_t size = 0;      // a write's buffer size
  std::uint32_t protocol = 0;  // a write's protocol
};

class Lv2EditorSession {
public:
  // `settle`: one step of the platform's loop (a short wait for the UI's events); each Step() of
  // the session is one of those, then the UI's idle.
  explicit Lv2EditorSession(LoopStep settle) : mSettle(std::move(settle)) {}
  ~Lv2EditorSession() { Close(); }
  Lv2EditorSession(const Lv2EditorSession&) = delete;
  Lv2EditorSession& operator=(const Lv2EditorSession&) = delete;

  // Loads the UI binary and finds the UI of that URI among its descriptors; false with the
  // reason in Problem().
  bool Load(const std::string& binaryPath, const char* uiUri);
  const LV2UI_Descriptor* Descriptor() const { return mDescriptor; }
  // Whether instantiate offers ui:touch (it does unless told not to).
  void OfferTouch(bool offer) { mOfferTouch = offer; }
  // Whether instantiate offers the ui:scaleFactor option, and its value (offered when told).
  void OfferScale(float factor) {
    mScale = factor;
    mOfferScale = true;
  }

  // Instantiates the UI for `pluginUri` in `parent`, with access to `instance` when given: the
  // editor's window (the one child that appeared, looked for over a few steps), or 0 with the
  // reason in Problem(). An open UI is cleaned up first.
  WindowId Open(EditorParent& parent, const char* pluginUri, const std::string& bundlePath,
                const Lv2InstanceAccess* instance = nullptr);
  const std::string& Problem() const { return mProblem; }
  // cleanup of an instantiated UI. Afterwards the host's window has seen what it did
  // (EditorParent::Sync).
  void Close();

  // port_event with one float (format 0), or with anything at all.
  void PortEvent(std::uint32_t port, float value) { PortEvent(port, sizeof value, 0, &value); }
  void PortEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer);
  // The UI's idle; its answer (non-zero: its window is gone, and the host calls it no more).
  int Idle();
  // One step of the host's loop: the settle step, then idle while the UI wants it.
  void Step();
  LoopStep Stepper() {
    return [this] { Step(); };
  }

  bool IsOpen() const { return mUi != nullptr; }
  // What instantiate handed back as the UI's widget, as a window id.
  WindowId Widget() const { return mWidget; }
  WindowId EditorWindow() const { return mEditorWindow; }
  // Whether idle has answered that the window is gone.
  bool UiClosed() const { return mUiClosed; }
  // The sizes the UI asked for through ui:resize, in order.
  const std::vector<std::pair<int, int>>& ResizeRequests() const { return mResizes; }
  const std::vector<Lv2UiCall>& Calls() const { return mCalls; }
  void ClearCalls() { mCalls.clear(); }

private:
  static void WriteFunction(LV2UI_Controller controller, std::uint32_t port, std::uint32_t size,
                            std::uint32_t protocol, const void* buffer);
  static void TouchFunction(LV2UI_Feature_Handle handle, std::uint32_t port, bool grabbed);
  static int ResizeFunction(LV2UI_Feature_Handle handle, int width, int height);
  static LV2_URID MapFunction(LV2_URID_Map_Handle handle, const char* uri);
  bool Instantiate(EditorParent& parent, const char* pluginUri, const std::string& bundlePath,
                   const Lv2InstanceAccess* instance);
  const LV2UI_Idle_Interface* IdleInterface() const;

  LoopStep mSettle;
  LoadedModule mModule;
  const LV2UI_Descriptor* mDescriptor = nullptr;
  bool mOfferTouch = true;
  bool mOfferScale = false;
  float mScale = 1.0f;
  std::vector<std::string> mUris;  // URID n is mUris[n - 1]
  LV2_URID_Map mMap{};
  LV2_Options_Option mOptions[2]{};
  // What the features point at, for as long as the UI lives.
  LV2UI_Touch mTouch{};
  LV2UI_Resize mResize{};
  LV2_Extension_Data_Feature mDataAccess{};
  EditorParent* mParent = nullptr;  // the window the UI was given
  LV2UI_Handle mUi = nullptr;
  bool mUiClosed = false;
  WindowId mWidget = 0;
  WindowId mEditorWindow = 0;
  std::vector<std::pair<int, int>> mResizes;
  std::vector<Lv2UiCall> mCalls;
  std::string mProblem;
};

}  // namespace brel
