// Under Wine the glyph path draws text the same on every host, so the fonts only take GDI's own
// text drawing on a real Windows. Wine announces itself with a registry key of its own.
#include <windows.h>

#include "raster/NativeText.h"

bool NativeText::RunningUnderWine() {
  static const bool underWine = [] {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Wine", 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }();
  return underWine;
}
