#pragma once
// What the editor sessions of every plug-in format share: the host's window an editor opens in,
// as each platform's test host makes it; finding the editor's own window among its children; and
// waiting for the plug-in over steps of the host's user-interface loop.

#include <cstdint>
#include <functional>
#include <vector>

namespace brel {

// A window as a number: an HWND's address or an X window's id. 0 is no window.
using WindowId = std::uintptr_t;

class EditorParent {
public:
  virtual ~EditorParent() = default;

  // What the plug-in is handed as its parent (the formats carry an X window's id in the pointer).
  virtual void* ParentHandle() const = 0;
  // Resizes the window, keeping its position; false when the system refuses.
  virtual bool Resize(int width, int height) = 0;
  // The window's direct children as the system has them now.
  virtual std::vector<WindowId> ChildWindows() const = 0;
  // Called once the plug-in has closed its editor: afterwards the host has seen all the close
  // did to its window.
  virtual void Sync() = 0;
};

// One step of the host's user-interface loop; it may wait a little for the plug-in's events.
using LoopStep = std::function<void()>;

// Loops end once `done` holds or after maxIterations steps, so a test never hangs; nothing is
// timed.
bool PumpUntil(const LoopStep& step, const std::function<bool()>& done, int maxIterations);
void Pump(const LoopStep& step, int iterations);

// Loop steps a host waits for something the plug-in has to send to the window system.
constexpr int kArrivalSteps = 50;

// The one window among `after` that is not in `before`; 0 when none or several appeared.
WindowId NewWindow(const std::vector<WindowId>& before, const std::vector<WindowId>& after);

// The one child the plug-in added to `parent` since `before` was listed. Looked for over loop
// steps (none when it is there at once), since a plug-in's requests may reach the window system
// only when its connection is flushed; 0 when none or several appeared.
WindowId AwaitNewWindow(const EditorParent& parent, const std::vector<WindowId>& before,
                        const LoopStep& step);

}  // namespace brel
