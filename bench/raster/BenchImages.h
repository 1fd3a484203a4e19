#pragma once
// The pictures both halves of the benchmark draw: an opaque editor background and control
// artwork whose alpha is like a knob's (transparent corners, an opaque body, soft edges).

#include <cmath>
#include <cstdint>

constexpr int kFrameWidth = 904;
constexpr int kFrameHeight = 416;

struct ControlPlacement {
  int x, y, size;
};
// Sixteen controls of the editor's sizes: seven knobs, three switches, four mode buttons, two meters
// (square stand-ins of the meters' area).
constexpr ControlPlacement kControls[16] = {{20, 40, 128},  {160, 40, 128}, {300, 40, 128},  {440, 40, 128},
                                            {580, 40, 128}, {20, 220, 128}, {160, 220, 80},  {300, 220, 80},
                                            {400, 220, 80}, {500, 220, 50}, {560, 220, 50},  {620, 220, 50},
                                            {680, 220, 50}, {740, 40, 136}, {740, 220, 136}, {300, 320, 80}};

inline std::uint32_t BackgroundPixel(int x, int y) {
  return 0xFF000000u |
         static_cast<std::uint32_t>(((x * 7) & 0xFF) << 16 | ((y * 3) & 0xFF) << 8 | ((x + y) & 0xFF));
}

// Straight (not premultiplied) alpha: a disc with a two-pixel soft edge.
inline std::uint32_t ControlPixel(int x, int y, int size) {
  const double r = size / 2.0 - 2, d = std::hypot(x + 0.5 - size / 2.0, y + 0.5 - size / 2.0);
  const double coverage = d <= r - 2 ? 1.0 : d >= r ? 0.0 : (r - d) / 2;
  const auto alpha = static_cast<std::uint32_t>(coverage * 255 + 0.5);
  return alpha << 24 | static_cast<std::uint32_t>((x * 5 & 0xFF) << 16 | (y * 9 & 0xFF) << 8 | 0x80);
}
