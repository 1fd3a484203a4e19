#pragma once
// The plug-in on the host-less test adapter, with its editor drawn the way a window host would.
#include <memory>

#include "editor/EditorSnapshot.h"
#include "editor/IGraphics.h"
#include "engine/Brelvane.h"

namespace editortest {

inline std::unique_ptr<Brelvane> MakeBrelvane() {
  return std::unique_ptr<Brelvane>(static_cast<Brelvane*>(MakePlug(TestInstanceInfo{})));
}

// One timer frame: take the posted values, draw whatever is dirty.
inline void Frame(IGraphics& editor) {
  Rect dirty;
  if (editor.TimerStep(dirty)) editor.RedrawRegion(dirty);
}

// The engine's view of the plug-in after a block of silence: lamps and meter modes follow.
inline void ProcessSilence(Brelvane& plug, int frames = 64) {
  std::vector<double> l(frames), r(frames), ol(frames), orr(frames);
  double* in[2] = {l.data(), r.data()};
  double* out[2] = {ol.data(), orr.data()};
  IPlugBase::ScopedLock lock(plug);
  plug.ProcessDoubleBlock(in, out, frames);
}

}  // namespace editortest
