#include "hosts/editor/EditorParent.h"

#include <algorithm>

namespace brel {

bool PumpUntil(const LoopStep& step, const std::function<bool()>& done, int maxIterations) {
  for (int i = 0; i < maxIterations; ++i) {
    if (done()) return true;
    step();
  }
  return done();
}

void Pump(const LoopStep& step, int iterations) {
  for (int i = 0; i < iterations; ++i) step();
}

WindowId NewWindow(const std::vector<WindowId>& before, const std::vector<WindowId>& after) {
  WindowId found = 0;
  for (WindowId window : after) {
    if (std::find(before.begin(), before.end(), window) != before.end()) continue;
    if (found) return 0;
    found = window;
  }
  return found;
}

WindowId AwaitNewWindow(const EditorParent& parent, const std::vector<WindowId>& before,
                        const LoopStep& step) {
  WindowId found = 0;
  PumpUntil(
      step, [&] { return (found = NewWindow(before, parent.ChildWindows())) != 0; }, kArrivalSteps);
  return found;
}

}  // namespace brel
