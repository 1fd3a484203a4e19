#pragma once
// Where the editor's controls sit: the top-left corner of each, in editor pixels. Each control's
// size is one frame of its image, so the corners are all the layout fixes.

namespace layout {

constexpr int kEditorWidth = 904;
constexpr int kEditorHeight = 416;
constexpr int kFrameRate = 25;

struct Corner {
  int x, y;
};

// The seven knobs, in parameter order; the first and the last two are the large ones.
constexpr Corner kKnobs[] = {{64, 232},  {210, 274}, {298, 274}, {394, 274},
                             {482, 274}, {576, 232}, {712, 232}};
constexpr bool kKnobIsLarge[] = {true, false, false, false, false, true, true};
constexpr Corner kPowerSwitch = {401, 56};
constexpr Corner kPLimitSwitch = {373, 126};
constexpr Corner kFLimitSwitch = {474, 126};
// The meters' top edge is the meter's own (editor/MeterGeometry.h).
constexpr int kPresMeterX = 112;
constexpr int kFinalMeterX = 528;
// Buttons "A" to "D", selecting modes 1 to 4.
constexpr Corner kModeButtons[] = {{51, 48}, {51, 120}, {803, 48}, {803, 120}};

}  // namespace layout
