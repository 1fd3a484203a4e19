#pragma once
// What the end-to-end editor tests share: the reference picture (docs/snapshot.png) and the
// comparison against it, where the knobs sit on the screen (the layout's corners and the knob
// images' frame sizes), and where pictures for people go.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "editor/BrelvaneKnob.h"
#include "editor/VuControl.h"
#include "engine/BrelvaneLayout.h"
#include "hosts/win/HostWindow.h"
#include "hosts/win/WindowPicture.h"
#include "raster/Bitmap.h"
#include "raster/PngDecode.h"
#include "resources/EmbeddedResource.h"
#include "resources/ImageResources.h"

extern const EmbeddedResource kEmbedded900;  // docs/snapshot.png

namespace wintest {

// Enough timer frames for every lamp to finish fading in, as the reference picture shows them.
constexpr int kSettledFrames = VuControl::kLampFadeFrames + 2;
// Loop iterations any wait here may take; each one waits at most one message wait period.
constexpr int kMaxIterations = 10 * kSettledFrames;

// Where pictures go: $BREL_EDITOR_PICTURES, else the test's build folder.
inline std::string PicturePath(const std::string& name) {
  const char* folder = std::getenv("BREL_EDITOR_PICTURES");
  return std::string(folder && *folder ? folder : BREL_EDITOR_PICTURES_DIR) + "/" + name;
}

inline void SavePicture(const brel::win::WindowPicture& picture, const std::string& name) {
  std::string error;
  EXPECT_TRUE(brel::win::SavePng(picture, PicturePath(name), error)) << error;
}

// A saved picture read back with the raster library's decoder; null when unreadable.
inline std::unique_ptr<LICE_MemBitmap> LoadPicture(const std::string& name) {
  std::vector<unsigned char> bytes;
  if (std::FILE* file = std::fopen(PicturePath(name).c_str(), "rb")) {
    for (int c; (c = std::fgetc(file)) != EOF;) bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(file);
  }
  return std::unique_ptr<LICE_MemBitmap>(DecodePngImage(bytes.data(), static_cast<int>(bytes.size())));
}

inline LICE_MemBitmap& ReferencePicture() {
  static const std::unique_ptr<LICE_MemBitmap> picture(
      DecodePngImage(kEmbedded900.data, static_cast<int>(kEmbedded900.size)));
  return *picture;
}

struct Area {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// How a captured window differs from the reference picture (colour channels only: the window
// has no alpha).
struct Difference {
  bool sameSize = false;
  int pixels = 0;
  Area bounds;  // of the differing pixels
};

inline Difference CompareWith(const brel::win::WindowPicture& picture, LICE_IBitmap& reference) {
  Difference difference;
  difference.sameSize = picture.width == reference.Width() && picture.height == reference.Height();
  if (!difference.sameSize) return difference;
  for (int y = 0; y < picture.height; ++y) {
    const LicePixel* row = RowPointer(reference, y);
    for (int x = 0; x < picture.width; ++x) {
      if (picture.At(x, y) == (row[x] & 0x00FFFFFFu)) continue;
      Area& b = difference.bounds;
      if (difference.pixels++ == 0) b = Area{x, y, x + 1, y + 1};
      b = Area{std::min(b.left, x), std::min(b.top, y), std::max(b.right, x + 1), std::max(b.bottom, y + 1)};
    }
  }
  return difference;
}

inline Difference CompareWithReference(const brel::win::WindowPicture& picture) {
  return CompareWith(picture, ReferencePicture());
}

// Passes when the window shows `reference` exactly; otherwise saves what it showed as `name` and
// says how many pixels differ.
inline ::testing::AssertionResult ShowsPicture(HWND window, LICE_IBitmap& reference,
                                               const std::string& name) {
  brel::win::WindowPicture picture;
  if (!brel::win::CaptureWindow(window, picture))
    return ::testing::AssertionFailure() << "the window's pixels could not be read";
  const Difference difference = CompareWith(picture, reference);
  if (difference.sameSize && difference.pixels == 0) return ::testing::AssertionSuccess();
  std::string error;
  brel::win::SavePng(picture, PicturePath(name), error);
  auto failure = ::testing::AssertionFailure();
  if (!difference.sameSize)
    return failure << "the window is " << picture.width << " x " << picture.height << "; saved as "
                   << PicturePath(name);
  const Area& b = difference.bounds;
  return failure << difference.pixels << " pixels differ from the reference, within (" << b.left << ", "
                 << b.top << ") to (" << b.right << ", " << b.bottom << "); saved as " << PicturePath(name);
}

inline ::testing::AssertionResult ShowsReferencePicture(HWND window, const std::string& name) {
  return ShowsPicture(window, ReferencePicture(), name);
}

// The width and height of one frame of an image strip the modules hold, read from its PNG header.
inline SIZE FrameSize(const ImageResource& image) {
  const EmbeddedResource* file = FindEmbeddedResource(image.id);
  if (!file || file->size < 24) return SIZE{0, 0};
  const auto word = [file](std::size_t at) {
    return static_cast<int>((std::uint32_t{file->data[at]} << 24) |
                            (std::uint32_t{file->data[at + 1]} << 16) |
                            (std::uint32_t{file->data[at + 2]} << 8) | file->data[at + 3]);
  };
  return SIZE{word(16), word(20) / (image.frames < 1 ? 1 : image.frames)};
}

// Where knob `index` (its parameter index) sits in the editor.
inline Area KnobArea(int index) {
  const SIZE size = FrameSize(layout::kKnobIsLarge[index] ? kKnobImage : kKnobSmallImage);
  const layout::Corner corner = layout::kKnobs[index];
  return Area{corner.x, corner.y, corner.x + size.cx, corner.y + size.cy};
}

// What one vertical drag step of `pixels` upwards adds to a knob's normalized value.
inline double KnobStep(int index, int pixels, bool fine = false) {
  const Area knob = KnobArea(index);
  return pixels / static_cast<double>(knob.bottom - knob.top) / BrelvaneKnob::kGearing / (fine ? 10.0 : 1.0);
}

// Waits for the editor's window to have drawn kSettledFrames frames.
inline ::testing::AssertionResult Settled(HWND editorWindow) {
  if (brel::win::MessagePump::RunTimerTicks(editorWindow, kSettledFrames, kMaxIterations))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the editor's timer did not run " << kSettledFrames << " times";
}

// Every top-level window this thread owns (host windows, tooltips, menus).
inline int ThreadWindowCount() {
  int count = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND, LPARAM counter) -> BOOL {
        ++*reinterpret_cast<int*>(counter);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

}  // namespace wintest
