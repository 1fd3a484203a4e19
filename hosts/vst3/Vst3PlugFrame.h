#pragma once
// The host's frame around a plug-in's view: records every resize the view asks for and answers
// as a host does, by giving the view its new size through onSize (and, when set, resizing the
// host's own window first). Used on the host's user-interface thread only.

#include <functional>
#include <vector>

#include "pluginterfaces/gui/iplugview.h"

namespace brel {

struct Vst3ResizeRequest {
  Steinberg::IPlugView* view = nullptr;
  Steinberg::ViewRect size;
};

class Vst3PlugFrame : public Steinberg::IPlugFrame {
public:
  Vst3PlugFrame();
  virtual ~Vst3PlugFrame() = default;

  // A null view or size is refused (kInvalidArgument) and recorded nowhere.
  Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view, Steinberg::ViewRect* newSize) override;

  // Called with the requested width and height before the view hears of its new size; false
  // refuses the request (the view is not told).
  void SetWindowResizer(std::function<bool(int width, int height)> resizer) { mResizer = std::move(resizer); }
  const std::vector<Vst3ResizeRequest>& Requests() const { return mRequests; }

  DECLARE_FUNKNOWN_METHODS

private:
  std::function<bool(int, int)> mResizer;
  std::vector<Vst3ResizeRequest> mRequests;
};

}  // namespace brel
