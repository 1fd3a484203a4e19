#pragma once
// The Windows raster tests replace the library's Wine probe (WineProbeOverride.cpp is linked
// ahead of the library), so they can take the native text path under Wine and the glyph path
// where it would be native.

namespace WineProbeOverride {
// What NativeText::RunningUnderWine() answers; true, as under the Wine the tests run in.
extern bool pretendWine;
}  // namespace WineProbeOverride
