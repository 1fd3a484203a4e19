#pragma once
// Where the editor puts each control, so the panel's engraving and wells line up with the
// controls drawn over it. The editor layout in engine/ places the controls at these corners.

namespace brel::artwork {

struct Box {
  int left;
  int top;
  int width;
  int height;
  double CentreX() const { return left + width / 2.0; }
  double CentreY() const { return top + height / 2.0; }
};

constexpr int kPanelWidth = 904;
constexpr int kPanelHeight = 416;

constexpr int kKnobSize = 128;
constexpr int kSmallKnobSize = 80;
constexpr int kMeterWidth = 264;
constexpr int kMeterHeight = 136;
constexpr int kPowerSize = 100;
constexpr int kLimitSize = 56;
constexpr int kModeSize = 50;
constexpr int kLedSize = 16;

struct KnobPlace {
  Box box;
  const char* label;
};

constexpr KnobPlace kKnobs[] = {
    {{64, 232, kKnobSize, kKnobSize}, "PRES COMP"},
    {{210, 274, kSmallKnobSize, kSmallKnobSize}, "LOWCUT"},
    {{298, 274, kSmallKnobSize, kSmallKnobSize}, "TIGHTEN"},
    {{394, 274, kSmallKnobSize, kSmallKnobSize}, "BASS"},
    {{482, 274, kSmallKnobSize, kSmallKnobSize}, "CRISPY"},
    {{576, 232, kKnobSize, kKnobSize}, "FINAL COMP"},
    {{712, 232, kKnobSize, kKnobSize}, "DB OUTPUT"},
};

constexpr Box kPowerBox{401, 56, kPowerSize, kPowerSize};
constexpr Box kPresLimitBox{373, 126, kLimitSize, kLimitSize};
constexpr Box kFinalLimitBox{474, 126, kLimitSize, kLimitSize};
constexpr Box kPresMeterBox{112, 32, kMeterWidth, kMeterHeight};
constexpr Box kFinalMeterBox{528, 32, kMeterWidth, kMeterHeight};
constexpr Box kModeBoxes[] = {
    {51, 48, kModeSize, kModeSize},
    {51, 120, kModeSize, kModeSize},
    {803, 48, kModeSize, kModeSize},
    {803, 120, kModeSize, kModeSize},
};

// The clip LED sits at this offset inside a meter; the status lamp mirrors it on the left.
constexpr int kLedLeft = 234;
constexpr int kLedTop = 109;

// Knob pointers sweep 300 degrees, from seven to five o'clock.
constexpr double kKnobSweepDegrees = 300.0;

}  // namespace brel::artwork
