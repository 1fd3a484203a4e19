#pragma once
// One of the four buttons that choose "Mode": lit while the mode is its own (button "A" also
// while a host has set mode 0). It follows the value the editor shows for the parameter, so a
// host change relights the buttons on the next frame without any click.

#include "editor/IControl.h"

class ModeSwitch : public IControl {
public:
  static constexpr int kModeParam = 8;

  ModeSwitch(IPlugBase* plug, int x, int y, int modeNumber, const BitmapStrip& strip);
  ~ModeSwitch() override = default;
  void OnMouseDown(int x, int y, const MouseModifiers& mods) override;
  bool Draw(IGraphics& graphics) override;
  bool IsDirty() override;

  int ModeNumber() const { return mModeNumber; }
  // The frame the last drawing pass showed (0 before the first).
  int DrawnFrame() const { return mDrawnFrame; }
  // The frame this button shows for a mode: 2 (lit) or 1.
  int FrameForMode(int mode) const { return mode == mModeNumber || (mModeNumber == 1 && mode == 0) ? 2 : 1; }

private:
  int CurrentMode() const;

  BitmapStrip mStrip;
  int mModeNumber;
  int mLastDrawnMode = -1;
  int mDrawnFrame = 0;
  int mModeParam = kModeParam;
};
