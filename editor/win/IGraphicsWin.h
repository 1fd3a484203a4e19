#pragma once
// The Windows editor: the editor core inside a Win32 child window of the host's window. It
// registers the window class, runs the core's frames from a window timer and paints what they
// leave dirty, turns mouse and key messages into the core's entry points, makes the value box's
// EDIT window (its rules are the core's), and offers menus, tooltips and dialogs. The window is
// per-monitor DPI aware: its scale follows the monitor the host's window is on, unless the host
// gave one.
//
// Threads: everything here runs on the thread that owns the host's window; the timer is a window
// timer, so its steps never overlap message handling. The count of open windows (which keeps the
// window class registered) and the frame rate handed to a new window are process-wide and touched
// only from that thread.

#include <memory>
#include <string>

#include "editor/IGraphics.h"

struct HWND__;
struct HINSTANCE__;
struct HFONT__;

class IGraphicsWin : public IGraphics, private EntryBoxWindow {
public:
  IGraphicsWin(IPlugBase* plug, int width, int height, int frameRate);
  ~IGraphicsWin() override;

  bool HasWindowHost() const override { return true; }
  const char* WindowType() const override { return "HWND"; }
  // Opens the editor as a child of `parentWindow` (an HWND); a window already open moves there.
  bool OpenEditorWindow(void* parentWindow) override;
  void CloseEditorWindow() override;

  bool PaintScreen(const Rect& rect) override;
  void Resize(int width, int height) override;
  bool IsWindowOpen() override { return mWindow != nullptr; }
  const char* GraphicsApiName() override { return "Windows GDI"; }
  int ShowMessageBox(const char* text, const char* caption, int type) override;
  PopupMenu* RunPopupMenu(PopupMenu& menu, const Rect& rect) override;
  void OpenTextEntry(IControl* control, const TextStyle& style, const Rect& rect, const char* text,
                     int paramIndex) override;
  bool HostDirectory(std::string& out) override;
  bool ModuleDirectory(std::string& out) override;
  bool DesktopDirectory(std::string& out) override;
  bool AppDataDirectory(std::string& out, bool systemWide) override;
  bool UserDataDirectory(std::string& out) override;
  bool ChooseFileDialog(std::string& path, int action, std::string& directory,
                        const char* extensions) override;
  bool ChooseColorDialog(Color& colour, const char* title) override;
  bool OpenUrl(const char* url, const char* title, const char* confirmation, const char* error) override;
  void* WindowHandle() override { return mWindow; }
  bool ClipboardText(std::string& out) override;
  void HideCursor() override;
  void ShowCursor() override;

  // Tooltips follow the pointer over controls that have one; off unless a layout turns them on.
  void SetTooltipsEnabled(bool enabled) { mTooltipsEnabled = enabled; }
  // The period the window's repaint timer was last started with, in milliseconds; 0 before.
  int TimerPeriod() const { return mTimerPeriod; }

protected:
  // The DPI of the host's window (or the system's before there is one), 96 being 1.
  double PlatformScale() override;
  // The window, and the host's where the editor sizes it, take the new WindowSize.
  void OnScaleChanged() override;

private:
  // The window procedures and message handlers (IGraphicsWinMessages.h).
  struct Win;

  // One step of the repaint timer: the core's frame, and a repaint of what it left dirty.
  void FrameStep();
  std::string EntryBoxText() override;
  void DestroyEntryBox() override;
  void ShowTooltip(const char* text);
  void HideTooltip();
  void CreateTooltip();
  void ResizeWindows(int dw, int dh);
  void FindMainWindow();

  HINSTANCE__* mInstance;
  HWND__* mWindow = nullptr;
  HWND__* mEntryWindow = nullptr;
  HWND__* mTooltipWindow = nullptr;
  long long mEntryPreviousProc = 0;
  HFONT__* mEntryFont = nullptr;  // released with the box
  bool mTooltipsEnabled = false;
  bool mTooltipShown = false;
  int mTooltipControl = -1;
  std::unique_ptr<unsigned long[]> mCustomColours;  // 16 COLORREFs, made on first use
  unsigned long mProcessId = 0;
  HWND__* mParentWindow = nullptr;
  HWND__* mMainWindow = nullptr;
  std::string mMainWindowClass;
  bool mCursorHidden = false;
  int mSavedCursorX = -1;
  int mSavedCursorY = -1;
  int mTimerPeriod = 0;
};
