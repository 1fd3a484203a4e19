#pragma once
// The plug-in's knob: a 240-frame strip turned by vertical drags with gearing 4. Clicks alone do
// nothing (no value entry); the editor still brackets the drag as one edit gesture.

#include "editor/IKnobControl.h"

class BrelvaneKnob : public IKnobMultiControl {
public:
  static constexpr double kGearing = 4.0;

  BrelvaneKnob(IPlugBase* plug, int x, int y, int paramIndex, const BitmapStrip& strip);
  ~BrelvaneKnob() override = default;
  void OnMouseDown(int x, int y, const MouseModifiers& mods) override {}
  void OnMouseUp(int x, int y, const MouseModifiers& mods) override {}
  void OnMouseDrag(int x, int y, int dx, int dy, const MouseModifiers& mods) override;
  void OnMouseWheel(int x, int y, const MouseModifiers& mods, int notches) override;
  bool Draw(IGraphics& graphics) override;

  // The frame shown for a value: rounded to the nearest, never past the last.
  static int FrameFor(double value, int frames);
};
