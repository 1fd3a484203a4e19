#pragma once
// The test host's own top-level X window, the kind a DAW gives a plug-in's editor to live in, on
// a connection of its own to $DISPLAY (the plug-in opens another; the server is what they
// share). Also what a test reads from the server: a window's children, every window there is, a
// window's pixels, and the X errors any connection of the process reported.
//
// Everything runs on the thread that made the window, as a host's user-interface thread does.

#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "hosts/editor/EditorParent.h"

namespace brel::x11 {

class HostWindow : public EditorParent {
public:
  // Mapped at (x, y) on the root window, width by height, without a frame (override-redirect:
  // no window manager moves it). IsOpen() tells whether the server made it; Problem() says why not.
  HostWindow(int width, int height, int x = 0, int y = 0);
  ~HostWindow() override;
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  bool IsOpen() const { return mWindow != 0; }
  const std::string& Problem() const { return mProblem; }
  Display* Connection() const { return mDisplay; }
  Window Handle() const { return mWindow; }

  // Resizes the window, keeping its position; false when it is not open.
  bool Resize(int width, int height) override;
  // The window's size as the server has it now.
  bool Size(int& width, int& height) const;
  // The window's direct children as the server has them now (bottom first).
  std::vector<Window> Children() const;

  // The window as an editor session sees it: its id in the pointer, and Sync a round trip on the
  // host's connection, after which it has seen what the plug-in's connection did.
  void* ParentHandle() const override { return reinterpret_cast<void*>(mWindow); }
  std::vector<WindowId> ChildWindows() const override;
  void Sync() override;

private:
  Display* mDisplay = nullptr;
  Window mWindow = 0;
  std::string mProblem;
};

// Every window on the server: the root's children, theirs, and so on (the root not counted).
int ServerWindowCount(Display* display);

struct WindowPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xAARRGGBB with alpha 0xFF, rows from the top

  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// What the window shows now (XGetImage of the whole window, its children included); false (and
// an empty picture) when the window is not viewable or the server refuses.
bool CaptureWindow(Display* display, Window window, WindowPicture& out);

// Counts the X errors of every connection in the process while it exists (Xlib has one error
// handler per process, so the plug-in's connection reports here too unless it set its own).
class XErrorCounter {
public:
  XErrorCounter();
  ~XErrorCounter();  // puts the previous handler back
  XErrorCounter(const XErrorCounter&) = delete;
  XErrorCounter& operator=(const XErrorCounter&) = delete;

  int Count() const;
  // "error E, request R.M" of the first error seen; empty without one.
  std::string First() const;
  // False when someone replaced this counter's handler since it was installed.
  bool StillInstalled() const;

private:
  XErrorHandler mPrevious = nullptr;
};

// The host's user-interface loop in bounded steps, as every editor session runs it: each step
// runs the plug-in's idle route (which may wait a little for its events).
using brel::kArrivalSteps;
using brel::LoopStep;
using brel::Pump;
using brel::PumpUntil;

}  // namespace brel::x11
