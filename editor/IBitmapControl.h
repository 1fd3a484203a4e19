#pragma once
// Controls drawn from one frame of a bitmap strip chosen by their value, and the switch that
// steps through the frames on every click.

#include "editor/IControl.h"

class IBitmapControl : public IControl {
public:
  // The rectangle is one frame of the strip with its top-left corner at (x, y).
  IBitmapControl(IPlugBase* plug, int x, int y, int paramIndex, const BitmapStrip& strip,
                 const BlendSpec& blend = BlendSpec{});
  ~IBitmapControl() override = default;
  bool Draw(IGraphics& graphics) override;

  const BitmapStrip& Strip() const { return mStrip; }

protected:
  BitmapStrip mStrip;
};

class ISwitchControl : public IBitmapControl {
public:
  using IBitmapControl::IBitmapControl;
  ~ISwitchControl() override = default;
  // Any button: one frame further, back to the first after the last.
  void OnMouseDown(int x, int y, const MouseModifiers& mods) override;
  // A double click is one more step.
  void OnMouseDoubleClick(int x, int y, const MouseModifiers& mods) override { OnMouseDown(x, y, mods); }
};

// The rectangle of one frame of `strip` at (x, y).
Rect FrameRect(int x, int y, const BitmapStrip& strip);
