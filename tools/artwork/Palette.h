#pragma once
// The colours the whole panel shares: graphite metal, one warm amber for everything lit.

#include "tools/artwork/Canvas.h"

namespace brel::artwork {

constexpr Rgb kAmber = Hex(0xffa62b);
constexpr Rgb kAmberHot = Hex(0xffe2a6);
constexpr Rgb kAmberDeep = Hex(0xd9541a);
constexpr Rgb kPaint = Hex(0xc9ccd2);  // printed labels
constexpr Rgb kGraphiteLight = Hex(0x3a3d43);
constexpr Rgb kGraphite = Hex(0x24262b);
constexpr Rgb kGraphiteDark = Hex(0x131417);
constexpr Rgb kInk = Hex(0x2c241a);  // meter face print
constexpr Rgb kInkRed = Hex(0xb8261b);
constexpr Rgb kCream = Hex(0xf3e6c4);

}  // namespace brel::artwork
