#pragma once
// What a window shows, read back from the system after the window has repainted all of it, and
// saved as a PNG file for people to look at.
//
// The pixels are copied with BitBlt from the window's own device context into a 32-bit DIB
// section, right after RedrawWindow has made the window paint its whole client area. That reads
// what the window painted on every system we test on, Wine included, as long as the window lies
// on the screen. PrintWindow is not used: it asks the window to draw itself with WM_PRINTCLIENT,
// which a window that paints only from WM_PAINT answers with nothing (Wine's PrintWindow then
// reports success and leaves the bitmap as it was).

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace brel::win {

struct WindowPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows from the top, width per row

  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Makes the window repaint its whole client area now, then copies it; false (and an empty
// picture) when the window is gone or the system refuses.
bool CaptureWindow(HWND window, WindowPicture& out);

// An 8-bit RGB PNG file; false with a one-line reason when it cannot be written.
bool SavePng(const WindowPicture& picture, const std::string& path, std::string& error);

}  // namespace brel::win
