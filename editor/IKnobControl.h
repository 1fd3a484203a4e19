#pragma once
// Knobs: a value turned by vertical (or horizontal) drags and the mouse wheel, drawn from a strip
// of frames. IKnobControl holds the turning, IKnobMultiControl the strip.

#include "editor/IBitmapControl.h"

class IKnobControl : public IControl {
public:
  enum Direction : int { kVertical = 0, kHorizontal = 1 };

  IKnobControl(IPlugBase* plug, const Rect& rect, int paramIndex, int direction, double gearing,
               const BlendSpec& blend = BlendSpec{});
  ~IKnobControl() override = default;
  // Dragging the control's height turns it by 1 / gearing; shift or control is ten times finer.
  void OnMouseDrag(int x, int y, int dx, int dy, const MouseModifiers& mods) override;
  // 0.01 a notch, 0.001 with shift or control.
  void OnMouseWheel(int x, int y, const MouseModifiers& mods, int notches) override;

protected:
  int mDirection;
  double mGearing;
};

class IKnobMultiControl : public IKnobControl {
public:
  IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIndex, const BitmapStrip& strip, int direction,
                    double gearing, const BlendSpec& blend = BlendSpec{});
  ~IKnobMultiControl() override = default;
  bool Draw(IGraphics& graphics) override;

  const BitmapStrip& Strip() const { return mStrip; }

protected:
  BitmapStrip mStrip;
};
