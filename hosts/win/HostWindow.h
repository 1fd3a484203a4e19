#pragma once
// The test host's own top-level window, the kind a DAW gives a plug-in's editor to live in, and
// the thread's message loop run in steps. The window has no frame (its client area starts at its
// screen position), clips its children and records the keys that reach it, so tests can see what
// an editor sends on to the host. Everything runs on the thread that made the window.

#include <windows.h>

#include <vector>

#include "hosts/editor/EditorParent.h"

namespace brel::win {

inline HWND AsHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }

class HostWindow : public EditorParent {
public:
  // Shown at (x, y) on the screen, its client area width by height; IsOpen() tells whether the
  // system made it.
  HostWindow(int width, int height, int x = 0, int y = 0);
  ~HostWindow() override;
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  bool IsOpen() const { return mWindow != nullptr; }
  HWND Handle() const { return mWindow; }
  // Resizes the client area, keeping the position; false when the system refuses.
  bool Resize(int width, int height) override;
  SIZE ClientSize() const;
  // The window's direct children, in the system's order (topmost first).
  std::vector<HWND> Children() const;

  // The window as an editor session sees it; a closed editor's messages are dispatched by Sync.
  void* ParentHandle() const override { return mWindow; }
  std::vector<WindowId> ChildWindows() const override;
  void Sync() override;

  // WM_KEYDOWN and WM_KEYUP that reached this window (the virtual key of each), oldest first.
  const std::vector<UINT>& KeysDown() const { return mKeysDown; }
  const std::vector<UINT>& KeysUp() const { return mKeysUp; }

private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND mWindow = nullptr;
  std::vector<UINT> mKeysDown;
  std::vector<UINT> mKeysUp;
};

// The thread's message loop, in steps a test can count. One iteration waits until a message is
// there (or one wait period has gone by) and then dispatches every message waiting. Loops end
// after a number of iterations or once a window has had its timer frames; nothing is timed.
class MessagePump {
public:
  static constexpr DWORD kWaitMilliseconds = 50;  // longer than one editor frame (40 ms)

  // Dispatches every message waiting now, without waiting; how many there were.
  static int DispatchWaiting();
  static void Run(int iterations);
  // Iterates until `window` has been dispatched `ticks` timer messages (any timer id), at most
  // maxIterations times; false when it saw fewer.
  static bool RunTimerTicks(HWND window, int ticks, int maxIterations);

private:
  static int Iterate(HWND countedWindow, int& timerTicks);
  static int Dispatch(HWND countedWindow, int& timerTicks);
};

}  // namespace brel::win
