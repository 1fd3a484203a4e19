#pragma once
// What the Linux end-to-end editor tests share: the pictures a window is held against (what
// `brelvane snapshot` draws for the default state, and docs/snapshot.png), the comparison, where
// the knobs sit (the layout's corners and the knob images' frame sizes), waiting for the plug-in
// over the host's loop, and where pictures for people go.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "hosts/linux/HostWindow.h"
#include "raster/Bitmap.h"

namespace x11test {

// Loop steps any wait here may take (each step waits at most about 10 ms): enough for the
// editor's lamps to finish fading in many times over, and a bound so that a test never hangs.
constexpr int kMaxSteps = 400;

// Where pictures go: $BREL_EDITOR_PICTURES, else the test's build folder.
std::string PicturePath(const std::string& name);
// The picture as a PNG file, written by the raster library's encoder (the one the command uses).
::testing::AssertionResult SavePicture(const brel::x11::WindowPicture& picture, const std::string& name);
// A saved picture read back with the raster library's decoder; null when unreadable.
std::unique_ptr<LICE_MemBitmap> LoadPicture(const std::string& name);

// docs/snapshot.png, decoded.
LICE_MemBitmap& ReferencePicture();
// What `brelvane snapshot` draws with no options but the scale (the default state), made once
// per process and scale by the command's own code; null when it failed (the reason is in
// SnapshotProblem()).
LICE_MemBitmap* SnapshotPicture(double scale = 1.0);
const std::string& SnapshotProblem(double scale = 1.0);

// Xft.dpi on the X server while it exists (the root window's resources, which a connection reads
// as it opens); none afterwards, so the other cases run at 96.
struct ServerDpi {
  ServerDpi(Display* display, int dpi);
  ~ServerDpi();
  Display* display;
};

struct Area {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  int CentreX() const { return (left + right) / 2; }
  int CentreY() const { return (top + bottom) / 2; }
};

// How a window's picture differs from a bitmap (colour channels only: a window has no alpha).
struct Difference {
  bool sameSize = false;
  int pixels = 0;
  Area bounds;  // of the differing pixels
};
Difference Compare(const brel::x11::WindowPicture& picture, LICE_IBitmap& expected);

// Steps the host's loop until the window shows `expected` exactly, at most kMaxSteps steps. On
// failure saves what the window showed last as `mismatchName` and says how it differs.
::testing::AssertionResult ComesToShow(const brel::x11::LoopStep& step, Display* display, Window window,
                                       LICE_IBitmap& expected, const std::string& mismatchName);

// Where knob `index` (its parameter index) sits in the editor.
Area KnobArea(int index);
// What a vertical drag of `pixels` upwards adds to a knob's normalized value.
double KnobStep(int index, int pixels, bool fine = false);

// Waits (10 ms a step, at most kMaxSteps steps) until `done` holds, without calling the plug-in:
// for what the plug-in's connection sent that the host's has to see.
bool WaitUntil(const std::function<bool()>& done);

// The process's open file descriptors: an X connection the plug-in forgot to close is one more.
int OpenDescriptorCount();

}  // namespace x11test
