#pragma once
// Where the meter's parts sit inside its 264 x 136 rectangle, shared by the face, the needle,
// the cap and the bezel so that they stack up as one instrument.

namespace brel::artwork {

constexpr double kPivotX = 132;
constexpr double kPivotY = 150;  // below the window: the cap hides it
constexpr double kWindowInset = 9;
constexpr double kWindowRadius = 6;
constexpr double kBezelRadius = 10;
constexpr double kScaleRadius = 106;
constexpr double kNeedleSweepDegrees = 94;

// How far along the needle's travel (0 at rest, 1 at the end) a level in dB sits. It follows the
// meter's needle law, so the printed scale agrees with where the needle strip points.
double NeedleTravel(double decibels);

}  // namespace brel::artwork
