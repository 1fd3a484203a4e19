#pragma once
// Where the editor puts each control, so the panel's engraving and wells line up with the
// controls drawn over it: the corners are the editor layout's own, the sizes those of the
// images drawn here.

#include "editor/MeterGeometry.h"
#include "engine/BrelvaneLayout.h"

namespace brel::artwork {

struct Box {
  int left;
  int top;
  int width;
  int height;
  double CentreX() const { return left + width / 2.0; }
  double CentreY() const { return top + height / 2.0; }
};

constexpr int kPanelWidth = layout::kEditorWidth;
constexpr int kPanelHeight = layout::kEditorHeight;

constexpr int kKnobSize = 128;
constexpr int kSmallKnobSize = 80;
constexpr int kMeterWidth = 264;
constexpr int kMeterHeight = 136;
constexpr int kPowerSize = 100;
constexpr int kLimitSize = 56;
constexpr int kModeSize = 50;
constexpr int kLedSize = 16;

// Each box is the control's corner in the editor's layout with the size of its image.
constexpr Box At(layout::Corner corner, int width, int height) { return {corner.x, corner.y, width, height}; }
constexpr Box KnobAt(int index) {
  const int size = layout::kKnobIsLarge[index] ? kKnobSize : kSmallKnobSize;
  return At(layout::kKnobs[index], size, size);
}

struct KnobPlace {
  Box box;
  const char* label;
};

constexpr KnobPlace kKnobs[] = {
    {KnobAt(0), "PRES COMP"}, {KnobAt(1), "LOWCUT"},     {KnobAt(2), "TIGHTEN"},   {KnobAt(3), "BASS"},
    {KnobAt(4), "CRISPY"},    {KnobAt(5), "FINAL COMP"}, {KnobAt(6), "DB OUTPUT"},
};

constexpr Box kPowerBox = At(layout::kPowerSwitch, kPowerSize, kPowerSize);
constexpr Box kPresLimitBox = At(layout::kPLimitSwitch, kLimitSize, kLimitSize);
constexpr Box kFinalLimitBox = At(layout::kFLimitSwitch, kLimitSize, kLimitSize);
constexpr Box kPresMeterBox = At({layout::kPresMeterX, meter::kTop}, kMeterWidth, kMeterHeight);
constexpr Box kFinalMeterBox = At({layout::kFinalMeterX, meter::kTop}, kMeterWidth, kMeterHeight);
constexpr Box kModeBoxes[] = {
    At(layout::kModeButtons[0], kModeSize, kModeSize),
    At(layout::kModeButtons[1], kModeSize, kModeSize),
    At(layout::kModeButtons[2], kModeSize, kModeSize),
    At(layout::kModeButtons[3], kModeSize, kModeSize),
};

// The clip LED sits at this offset inside a meter; the status lamp mirrors it on the left.
constexpr int kLedLeft = meter::kLedX;
constexpr int kLedTop = meter::kLedY;

// Knob pointers sweep 300 degrees, from seven to five o'clock.
constexpr double kKnobSweepDegrees = 300.0;

}  // namespace brel::artwork
