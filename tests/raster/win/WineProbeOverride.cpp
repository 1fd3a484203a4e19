#include "tests/raster/win/WineProbeOverride.h"

#include "raster/NativeText.h"

namespace WineProbeOverride {
bool pretendWine = true;
}

bool NativeText::RunningUnderWine() { return WineProbeOverride::pretendWine; }
