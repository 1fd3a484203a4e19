#pragma once
// What the plug-in core needs from an attached editor. The core owns the editor once attached
// and destroys it before anything else, so the editor may still use the core while it goes.
//
// Threads (docs/threads.md). The editor lives on the host's user-interface thread: its window,
// timer, drawing and mouse handling run there, and so does everything a control does. The core
// calls ApplyParameterFromPlug from whatever thread the host used to change a parameter (the
// audio thread included), always under the plug-in lock. An editor therefore never touches a
// control from that call: it posts the value into an EditorParamMailbox, and its timer moves the
// controls on its own thread. Parameter values are read by the editor only under the plug-in
// lock; parameter metadata (names, ranges, steps, display texts) never changes after
// construction and may be read from any thread. Meter levels and lamps are atomics.

class IEditor {
public:
  virtual ~IEditor() = default;

  // The editor's own size. Its layout, controls and pointer work in these logical pixels at every
  // scale; the window is WindowSize.
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  // The window's size in the platform's pixels: the logical size times the editor's scale. Unless
  // a host has given its scale, the platform's factor is read first (the desktop's, or that of the
  // monitor the host's window is on), so a host asking before it opens the editor gets the size
  // the window will have.
  virtual void WindowSize(int& width, int& height) {
    width = GetWidth();
    height = GetHeight();
  }
  // The host's scale factor for the editor (VST3's content scale, CLAP's set_scale, LV2's
  // ui:scaleFactor): from then on it wins over the platform's. Clamped to 1..3; an open window
  // takes the new size and the host is asked to follow. False from an editor that cannot scale.
  virtual bool SetHostScale(double factor) { return false; }
  virtual double Scale() const { return 1.0; }
  // Sets every control bound to the parameter, and the first auxiliary slot bound to it on each
  // control, to the normalized value. Called once per parameter while the editor is attached,
  // before any other thread can reach it.
  virtual void ApplyPlugValueToControls(int paramIndex, double normalized) = 0;
  // Creates the bitmaps the editor draws into, sized width by height.
  virtual void CreateDrawingSurfaces() = 0;
  // A parameter changed outside the editor (host, preset, state): show the new value. Any thread,
  // under the plug-in lock; see above.
  virtual void ApplyParameterFromPlug(int paramIndex, double value, bool isNormalized) = 0;
  // Whether this editor can open a native window on this platform. Hosts are told of an editor
  // (VST2 has-editor flag and rectangle, VST3 view) only when it can.
  virtual bool HasWindowHost() const { return false; }
  // Opens the editor's window inside the host's parent window; false when it cannot. An editor
  // without a window host on this platform opens none.
  virtual bool OpenEditorWindow(void* parentWindow) { return false; }
  virtual void CloseEditorWindow() {}
  // The open window's native handle (an HWND, or an X window's id in the pointer), for a host
  // that is handed the editor's window rather than giving it one (LV2's widget); null while no
  // window is open, also once the host destroyed it.
  virtual void* WindowHandle() { return nullptr; }
  // The kind of parent window OpenEditorWindow takes, named as VST 3 hosts name it ("HWND",
  // "X11EmbedWindowID"); "" for an editor that opens none.
  virtual const char* WindowType() const { return ""; }
  // Where the window system has no per-thread message loop (X11), the host's user-interface
  // thread drives the open window: it calls Idle when EventFd (the editor's connection to the
  // window system, -1 while closed or where there is none) is readable and at least every
  // IdlePeriodMs milliseconds (0: needs no calls). Idle handles what arrived and runs the repaint
  // step when it is due; it takes the plug-in lock only where the editor sets a value, so hosts
  // call it without holding that lock.
  virtual int EventFd() const { return -1; }
  virtual int IdlePeriodMs() const { return 0; }
  virtual void Idle() {}
};
