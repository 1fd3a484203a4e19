#pragma once
// The Linux editor: the editor core inside an X11 child window of the host's window. Each open
// window has its own connection to the X server; the host's user-interface thread drives it
// through Idle (IEditor), which turns the window's events into the core's entry points and, every
// frame period, runs the core's frame and paints what it left dirty. A press captures the pointer
// until its release. The value box is a child window drawn with the raster fonts; its rules are
// the core's.
// The window is the editor's WindowSize: its size at its scale, which is the X server's Xft.dpi
// over 96 unless the host gives a factor of its own; painting, pointer and value box are in the
// window's pixels, which the core maps to its own.
//
// Threads: everything here runs on the host's user-interface thread (docs/threads.md). X errors
// on the editor's connection (a host window destroyed under the editor, a server that cannot
// share memory) are trapped, one trap for each call of the host's, and never reach the process's
// error handler. A call that has nothing to do sends the server nothing.

#include <chrono>
#include <memory>
#include <string>

#include "editor/IGraphics.h"
#include "editor/linux/EntryLine.h"

struct _XDisplay;
struct _XGC;
union _XEvent;
class XImageSurface;
class LICE_MemBitmap;

class IGraphicsLinux : public IGraphics, private EntryBoxWindow {
public:
  IGraphicsLinux(IPlugBase* plug, int width, int height, int frameRate);
  ~IGraphicsLinux() override;

  bool HasWindowHost() const override { return true; }
  const char* WindowType() const override { return "X11EmbedWindowID"; }
  // `parentWindow` is the host's X11 window id (the pointer's value). A window already open moves
  // to the new parent, keeping its place and size. False without a parent, without an X server
  // or when the parent is gone.
  bool OpenEditorWindow(void* parentWindow) override;
  void CloseEditorWindow() override;
  int EventFd() const override;
  int IdlePeriodMs() const override { return mTimerPeriod; }
  void Idle() override;

  bool PaintScreen(const Rect& rect) override;
  void Resize(int width, int height) override;
  bool IsWindowOpen() override { return mWindow != 0; }
  const char* GraphicsApiName() override { return "X11"; }
  void OpenTextEntry(IControl* control, const TextStyle& style, const Rect& rect, const char* text,
                     int paramIndex) override;
  void* WindowHandle() override { return reinterpret_cast<void*>(mWindow); }

  // ---- What Idle is made of, for hosts and tests that drive the window step by step.
  // Handles every event the server has sent.
  void ProcessEvents();
  // One frame of the core, and a repaint of what it left dirty.
  void FrameStep();

  // The editor's window and its value box (X11 window ids; 0 when there is none).
  unsigned long WindowId() const { return mWindow; }
  unsigned long EntryWindowId() const { return mEntryWindow; }
  const std::string& EntryText() const { return mEntryLine.Text(); }
  // The requests the window's connection has sent the server so far (0 while closed): every
  // round trip is one, so a call that sent none cost none.
  unsigned long RequestsSent() const;
  // Whether the window's picture travels through shared memory; a window opened after
  // AllowSharedMemory(false) never uses it.
  bool UsesSharedMemory() const;
  void AllowSharedMemory(bool allow) { mAllowSharedMemory = allow; }
  // The frame period in milliseconds: int(1000 / frame rate), 40 at 25 frames per second.
  int TimerPeriod() const { return mTimerPeriod; }

  // How long two presses of a button may be apart, and how far, to count as a double click:
  // the Windows defaults (500 ms, a 4 x 4 pixel box around the first press).
  static constexpr unsigned long kDoubleClickMs = 500;
  static constexpr int kDoubleClickDistance = 2;

protected:
  // The X server's Xft.dpi over 96, on the window's connection or, while none is open, on one
  // opened for the question (the server's resources may have changed since the last).
  double PlatformScale() override;
  // The window, its picture and (where the editor sizes the host's window) the parent follow.
  void OnScaleChanged() override;

private:
  // The event handlers (IGraphicsLinuxEvents.h).
  struct X;

  bool CreateWindow(unsigned long parent, int x, int y, int w, int h);
  void DestroyWindowResources();
  // The window and its surface take WindowSize; the parent, where the editor sizes it, grows or
  // shrinks by as much. Everything is painted again.
  void FitWindowToScale();
  void ForgetWindow();
  // Idle's parts, inside the trap of the host's call.
  void HandleEvents();
  void RunFrame();
  void Dispatch(_XEvent& event);
  void PaintPending();
  std::string EntryBoxText() override;
  void DestroyEntryBox() override;
  void DrawEntry();

  _XDisplay* mDisplay = nullptr;
  unsigned long mWindow = 0;
  unsigned long mParent = 0;
  _XGC* mGC = nullptr;
  std::unique_ptr<XImageSurface> mSurface;
  bool mAllowSharedMemory = true;
  bool mPointerGrabbed = false;
  bool mTrackingLeave = false;
  // The last press that may start a double click.
  unsigned int mLastPressButton = 0;
  unsigned long mLastPressTime = 0;
  int mLastPressX = 0;
  int mLastPressY = 0;
  // Exposed parts not yet painted.
  Rect mPendingPaint;
  int mTimerPeriod = 0;
  std::chrono::steady_clock::time_point mLastFrame;

  // The value box's window.
  unsigned long mEntryWindow = 0;
  std::unique_ptr<XImageSurface> mEntrySurface;
  std::unique_ptr<LICE_MemBitmap> mEntryPicture;
  TextStyle mEntryStyle;
  EntryLine mEntryLine;
};
