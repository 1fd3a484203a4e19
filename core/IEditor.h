#pragma once
// What the plug-in core needs from an attached editor. The core owns the editor once attached
// and destroys it before anything else, so the editor may still use the core while it goes.

class IEditor {
public:
  virtual ~IEditor() = default;

  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  // Sets every control bound to the parameter, and the first auxiliary slot bound to it on each
  // control, to the normalized value (used once, when the editor is attached).
  virtual void ApplyPlugValueToControls(int paramIndex, double normalized) = 0;
  // Creates the bitmaps the editor draws into, sized width by height.
  virtual void CreateDrawingSurfaces() = 0;
  // A parameter changed outside the editor (host, preset, state): show the new value.
  virtual void ApplyParameterFromPlug(int paramIndex, double value, bool isNormalized) = 0;
  // Opens the editor's window inside the host's parent window; false when it cannot. An editor
  // without a window host on this platform opens none.
  virtual bool OpenEditorWindow(void* parentWindow) { return false; }
  virtual void CloseEditorWindow() {}
};
