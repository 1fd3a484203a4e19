#pragma once
// Where a needle meter's parts sit: its top edge in the editor and its clip LED inside it (the
// status lamp mirrors the LED on the left). The meter control draws there, and the artwork tool
// engraves the panel and the meter face around the same places.

namespace meter {

constexpr int kTop = 32;
constexpr int kLedX = 234;
constexpr int kLedY = 109;

}  // namespace meter
