#pragma once
// The editor core: the list of controls, the backing bitmap they draw into, the mouse state, the
// value box and the exchange of parameter values with the plug-in core. A window host derives
// from it (one per platform) and drives it from its window's messages and repaint timer: it
// translates native events into the entry points below and puts the backing bitmap on screen;
// what an event does is decided here, the same on every platform.
//
// Threads (docs/threads.md): everything here runs on the host's user-interface thread, except
// ApplyParameterFromPlug, which the core calls under the plug-in lock from whichever thread the
// host used; it only posts the value into the mailbox, and the next timer step moves the
// controls. The image cache is process-wide and guarded by its own lock.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/EditorParamMailbox.h"
#include "core/IEditor.h"
#include "editor/EditorThread.h"
#include "editor/EditorTypes.h"
#include "editor/IControl.h"
#include "editor/ValueEntry.h"
#include "raster/AreaResample.h"

class IPlugBase;
class LICE_IBitmap;
class LICE_MemBitmap;
class LICE_SysBitmap;

class IGraphics : public IEditor {
public:
  IGraphics(IPlugBase* plug, int width, int height, int frameRate);
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // ---- What the core asks of its editor.
  int GetWidth() const override { return mWidth; }
  int GetHeight() const override { return mHeight; }
  void ApplyPlugValueToControls(int paramIndex, double normalized) override;
  void CreateDrawingSurfaces() override;
  void ApplyParameterFromPlug(int paramIndex, double value, bool isNormalized) override;

  // ---- Scale. The editor keeps its logical size, layout and control rectangles at every factor;
  // only the window is larger. Factors above 1 draw the controls at twice the resolution from the
  // second image set; a factor other than 2 then shows that picture resampled to the window.
  void WindowSize(int& width, int& height) override;
  bool SetHostScale(double factor) override;
  double Scale() const override { return mScale; }
  // The resolution the backing bitmap is drawn at: 1, or 2 for every factor above 1.
  int ArtScale() const { return mArtScale; }
  // Window pixels to editor pixels (a position; a rectangle grows to cover), and back.
  int ToEditor(int windowPixel) const;
  Rect ToEditor(const Rect& windowRect) const;
  Rect ToWindow(const Rect& editorRect) const;

  // ---- The window host's half, in slot order. The window's own operations have no body here;
  // the services a window host may not offer (menus, dialogs, folders, the clipboard, addresses)
  // answer "none" until it does.
  virtual bool PaintScreen(const Rect& rect) = 0;
  virtual bool MeasureText(TextStyle& style, const char* text, Rect& rect);
  // The open value box is dropped at the next frame.
  virtual void CancelTextEntry() { mEntry.RequestCancel(); }
  virtual void Resize(int width, int height);
  virtual bool IsWindowOpen() { return WindowHandle() != nullptr; }
  virtual const char* GraphicsApiName() { return ""; }
  virtual int ShowMessageBox(const char* text, const char* caption, int type) { return 0; }
  // The menu opens below `rect`, in window pixels as every rectangle the window host is given.
  virtual PopupMenu* RunPopupMenu(PopupMenu& menu, const Rect& rect) { return nullptr; }
  // Opens the native value box over the control; the host then hands it to BeginTextEntry.
  virtual void OpenTextEntry(IControl* control, const TextStyle& style, const Rect& rect, const char* text,
                             int paramIndex) = 0;
  virtual bool HostDirectory(std::string& out) { return false; }
  virtual bool ModuleDirectory(std::string& out) { return false; }
  virtual bool DesktopDirectory(std::string& out) { return false; }
  virtual bool AppDataDirectory(std::string& out, bool systemWide) { return false; }
  virtual bool UserDataDirectory(std::string& out) { return false; }
  virtual bool ChooseFileDialog(std::string& path, int action, std::string& directory,
                                const char* extensions) {
    return false;
  }
  virtual bool ChooseColorDialog(Color& colour, const char* title) { return false; }
  virtual bool OpenUrl(const char* url, const char* title, const char* confirmation, const char* error) {
    return false;
  }
  virtual int Query() { return 0; }
  // OpenEditorWindow comes from IEditor: the window host opens its native window there.
  virtual void Hook1() {}
  virtual void Hook2() {}
  // CloseEditorWindow comes from IEditor, and so does WindowHandle, which every window host gives.
  void* WindowHandle() override = 0;
  virtual bool ClipboardText(std::string& out) { return false; }
  ~IGraphics() override;
  virtual void HideCursor() {}
  virtual void ShowCursor() {}
  virtual void Hook3() {}
  // A new bitmap decoded from the module's PNG image with this id (found as the module's
  // resources are on each platform), or null for an unknown id or a name that is no PNG; the
  // caller owns it. Every editor loads its images this one way.
  virtual LICE_IBitmap* LoadImageResource(int resourceId, const char* fileName);

  // ---- Building the editor.
  // The strip of the image with this id, loaded once per module and shared by every editor.
  BitmapStrip LoadBitmapStrip(int resourceId, const char* fileName, int frames);
  IControl* AddControl(IControl* control);
  IControl* AddBackground(IControl* control);
  int NControls() const { return static_cast<int>(mControls.size()); }
  IControl* GetControl(int index) const;
  IPlugBase* Plug() const { return mPlug; }
  int FrameRate() const { return mFrameRate; }
  void SetStrictDrawing(bool strict) { mStrictDrawing = strict; }
  void SetHandleMouseOver(bool handle) { mHandleMouseOver = handle; }
  void SetKeyCatcher(IControl* control);

  // ---- Drawing, from the controls' Draw.
  bool DrawBitmapRegion(const BitmapStrip& strip, const Rect& dest, int sourceX, int sourceY,
                        const BlendSpec& blend);
  bool DrawBitmapFrame(const BitmapStrip& strip, const Rect& dest, int frame, const BlendSpec& blend);
  bool DrawText(TextStyle& style, const char* text, const Rect& rect);
  const Rect& DrawRect() const { return mDrawRect; }
  // The backing bitmap (null until the editor is attached), at ArtScale times the editor's size.
  LICE_IBitmap* DrawBitmap() const;
  // What the window shows, at the window's size: the backing bitmap, or its resampled copy at a
  // factor between the art scales.
  LICE_IBitmap* ScreenBitmap() const;

  // ---- The parameter exchange, editor side.
  // A control moved by the user: remembered as the shown value and set in the core.
  void SetParamFromEditor(int paramIndex, double normalized);
  // The value the editor currently shows for a parameter (normalized): what the host last posted
  // and the editor took, or what a control last set.
  double ShownParamValue(int paramIndex) const;
  void AskValueFromUser(IControl* control, int paramIndex, const Rect& rect);

  // ---- The window host's timer and paint.
  // One step of the repaint timer. A frame the value box spends (a pending commit or cancel
  // carried out) draws nothing. Otherwise the controls move to every value posted since the last
  // step, and `dirtyOut` gets the bounding box of the dirty controls in window pixels, which the
  // host paints now when the answer is true (the value box then counts the frame as drawn).
  bool TimerStep(Rect& dirtyOut);
  // The drawing pass over the editor pixels covering `update` (window pixels); then PaintScreen of
  // `update` from ScreenBitmap, with no controls too (a window asks for its region again until it
  // is painted).
  bool RedrawRegion(const Rect& update);
  // Every control dirty, as when the window opens.
  void MarkAllDirty();

  // ---- Mouse and keys, in window pixels; the controls hear editor pixels.
  // A button pressed in the window (not a double click's second press). While the value box is
  // open the press is the box's (ValueEntry::TakesPress). True when it goes on to the controls:
  // the host then takes the keyboard and the pointer, and calls HandleMouseDown.
  bool PressReachesControls(PointerButton button) { return !mEntry.TakesPress(button); }
  void HandleMouseDown(int x, int y, const MouseModifiers& mods);
  void HandleMouseUp(int x, int y, const MouseModifiers& mods);
  bool HandleMouseOver(int x, int y, const MouseModifiers& mods);
  // A move with a button held while the host holds the pointer; no drag while the value box is open.
  void HandleMouseDrag(int x, int y, const MouseModifiers& mods);
  // True when the control takes the double click as a mouse-down and now holds the capture.
  bool HandleMouseDoubleClick(int x, int y, const MouseModifiers& mods);
  // Whole notches; the open value box takes them (ValueEntry::TakesWheel).
  void HandleMouseWheel(int x, int y, const MouseModifiers& mods, int notches);
  // True when a control (or the key catcher) took the key; NoKey and keys refused go on to the host.
  bool HandleKeyDown(int x, int y, EditorKey key);
  // The pointer left the window: every control hears it, and none is under the pointer.
  void HandleMouseOut();
  int CapturedControl() const { return mCaptured; }
  int MouseOverControl() const { return mMouseOver; }

  // Number of distinct images the process-wide cache holds.
  static int CachedImageCount();

protected:
  // ---- For the window hosts.
  // The host made its native box over `control` (OpenTextEntry): the value box's rules take it.
  void BeginTextEntry(EntryBoxWindow& box, IControl& control, int paramIndex);
  ValueEntry& Entry() { return mEntry; }
  const ValueEntry& Entry() const { return mEntry; }
  // What every window host's Resize does first: nothing when the size is unchanged (false);
  // otherwise the value box closes (its control goes with all the others) and the core's Resize
  // rebuilds the editor at the new size.
  bool RebuildAtSize(int width, int height);
  // A VST2 host's window is sized to its editor; a VST3 host sizes its frame itself.
  bool ResizesHostWindow() const;
  // Forgets the captured control and the last mouse position (a menu or a double click takes over).
  void ReleaseMouseCapture();
  // The platform's factor: the monitor's the open window is on, or the desktop's while none is
  // open. 1 where the platform has no such setting.
  virtual double PlatformScale() { return 1.0; }
  // An open window follows a new scale: the window host gives its native window (and its
  // surfaces) the new WindowSize. Drawing is already at the new scale.
  virtual void OnScaleChanged() {}
  // Unless the host gave its factor, the editor takes the platform's now (before a window opens,
  // and when the platform's changes under an open one).
  void FollowPlatformScale();

private:
  int HitSearch(int x, int y, bool forMouseOver) const;
  void ApplyToBoundControls(int paramIndex, double normalized);
  void DrawStrict(const Rect& update);
  void DrawNonStrict();
  void DeleteControls();
  bool ApplyScale(double factor);
  void ScaledSize(int& width, int& height) const;
  void LoadHiResImages();
  LICE_IBitmap* HiResOf(const LICE_IBitmap* bitmap) const;
  // The cached image with this id, decoded and cached now when it is not there yet.
  LICE_IBitmap* CachedImageFor(int resourceId, const char* fileName);

  std::vector<IControl*> mControls;  // owned; deleted last to first
  IPlugBase* mPlug;
  Rect mDrawRect;
  std::unique_ptr<LICE_SysBitmap> mDrawBitmap;
  std::unique_ptr<LICE_MemBitmap> mScratchBitmap;
  int mWidth;
  int mHeight;
  int mFrameRate;
  double mScale = 1.0;
  int mArtScale = 1;
  bool mHostScaled = false;
  std::unique_ptr<LICE_SysBitmap> mScreenBitmap;  // only while the factor is not the art scale
  AreaResampler mResampler;
  // Each 1x image's twin at twice the resolution, found at the first drawing pass at art scale 2.
  std::vector<std::pair<const LICE_IBitmap*, LICE_IBitmap*>> mHiRes;
  std::vector<std::unique_ptr<LICE_MemBitmap>> mDoubledImages;  // stand-ins for missing twins
  bool mHiResLoaded = false;
  int mCaptured = -1;
  int mMouseOver = -1;
  int mLastMouseX = 0;
  int mLastMouseY = 0;
  bool mHandleMouseOver = false;
  bool mStrictDrawing = true;
  std::unique_ptr<IControl> mKeyCatcher;
  ValueEntry mEntry;

  EditorParamMailbox mMailbox;
  std::vector<double> mShown;  // per parameter, the editor's thread only
  EditorThreadCheck mThreadCheck;
};
