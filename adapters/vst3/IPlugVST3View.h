#pragma once
// The editor's view as a VST 3 host sees it: it opens the editor's window in the host's window
// (of the kind the editor takes: "HWND" on Windows, "X11EmbedWindowID" on Linux, where the
// host's run loop keeps it going), answers the editor's window size (its fixed size at its
// scale), takes the host's content scale factor and passes the host's frame to the adapter for
// resize requests. It keeps the adapter alive while it exists.

#include "adapters/vst3/Vst3Sdk.h"

#include "adapters/vst3/Vst3EditorPump.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

class IPlugVST3;

class IPlugVST3View : public Steinberg::CPluginView, public Steinberg::IPlugViewContentScaleSupport {
public:
  explicit IPlugVST3View(IPlugVST3* plug);
  ~IPlugVST3View() override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) noexcept override;

  Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) noexcept override;
  Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) noexcept override;
  Steinberg::tresult PLUGIN_API removed() noexcept override;
  Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) noexcept override;
  Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) noexcept override;
  // The host's factor goes to the editor, which holds it within its range; an attached view then
  // asks the frame for the new size.
  Steinberg::tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) noexcept override;

  // The adapter is about to ask the frame for a new size; the host's answer arrives as onSize.
  void SetResizePending() { mResizePending = true; }
  Steinberg::IPlugFrame* GetFrame() const { return plugFrame; }

  OBJ_METHODS(IPlugVST3View, CPluginView)
  REFCOUNT_METHODS(CPluginView)

private:
  // Closes the editor's window when this view is the one showing it.
  void CloseWindow();

  IPlugVST3* mPlug;
  bool mResizePending = false;
  Vst3EditorPump mPump;
};
