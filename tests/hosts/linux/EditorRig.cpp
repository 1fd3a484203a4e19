#include "tests/hosts/linux/EditorRig.h"

#include <dirent.h>
#include <poll.h>

#include <X11/Xatom.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <vector>

#include "editor/BrelvaneKnob.h"
#include "engine/BrelvaneLayout.h"
#include "raster/PngDecode.h"
#include "raster/PngEncode.h"
#include "resources/EmbeddedResource.h"
#include "resources/ImageResources.h"
#include "tools/brelvane/Snapshot.h"

extern const EmbeddedResource kEmbedded900;  // docs/snapshot.png

namespace x11test {

using brel::x11::WindowPicture;

namespace {

std::unique_ptr<LICE_MemBitmap> ReadPng(const std::string& path) {
  std::vector<unsigned char> bytes;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    for (int c; (c = std::fgetc(file)) != EOF;) bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(file);
  }
  if (bytes.empty()) return nullptr;
  return std::unique_ptr<LICE_MemBitmap>(DecodePngImage(bytes.data(), static_cast<int>(bytes.size())));
}

struct Snapshot {
  std::unique_ptr<LICE_MemBitmap> picture;
  std::string problem;
};

const Snapshot& TheSnapshot(double scale) {
  static std::map<double, Snapshot> snapshots;
  if (snapshots.count(scale)) return snapshots[scale];
  return snapshots[scale] = [scale] {
    Snapshot made;
    const std::string path =
        PicturePath(scale == 1.0 ? std::string("brelvane_snapshot.png")
                                 : "brelvane_snapshot_" + std::to_string(scale) + ".png");
    std::ostringstream out, err;
    brel::cmd::CommandLine request;
    request.command = brel::cmd::Command::Snapshot;
    request.output = path;
    request.scale = scale;
    const int code = brel::cmd::RunSnapshot(request, out, err);
    if (code != 0) {
      made.problem = "brelvane snapshot answered " + std::to_string(code) + ": " + err.str();
      return made;
    }
    made.picture = ReadPng(path);
    if (!made.picture) made.problem = path + " cannot be read back";
    return made;
  }();
}

// The width and height of one frame of an image strip the modules hold, read from its PNG header.
void FrameSize(const ImageResource& image, int& width, int& height) {
  width = height = 0;
  const EmbeddedResource* file = FindEmbeddedResource(image.id);
  if (!file || file->size < 24) return;
  const auto word = [file](std::size_t at) {
    return static_cast<int>((std::uint32_t{file->data[at]} << 24) |
                            (std::uint32_t{file->data[at + 1]} << 16) |
                            (std::uint32_t{file->data[at + 2]} << 8) | file->data[at + 3]);
  };
  width = word(16);
  height = word(20) / (image.frames < 1 ? 1 : image.frames);
}

}  // namespace

std::string PicturePath(const std::string& name) {
  const char* folder = std::getenv("BREL_EDITOR_PICTURES");
  return std::string(folder && *folder ? folder : BREL_EDITOR_PICTURES_DIR) + "/" + name;
}

::testing::AssertionResult SavePicture(const WindowPicture& picture, const std::string& name) {
  LICE_MemBitmap bitmap(picture.width, picture.height);
  for (int y = 0; y < picture.height; ++y)
    std::copy_n(picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * picture.width, picture.width,
                RowPointer(bitmap, y));
  std::vector<unsigned char> png;
  if (picture.width <= 0 || !EncodePngImage(bitmap, png))
    return ::testing::AssertionFailure() << "the picture cannot be encoded";
  const std::string path = PicturePath(name);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  const bool written = file && std::fwrite(png.data(), 1, png.size(), file) == png.size();
  if (file && std::fclose(file) != 0) return ::testing::AssertionFailure() << path << " cannot be written";
  if (!written) return ::testing::AssertionFailure() << path << " cannot be written";
  return ::testing::AssertionSuccess();
}

std::unique_ptr<LICE_MemBitmap> LoadPicture(const std::string& name) { return ReadPng(PicturePath(name)); }

LICE_MemBitmap& ReferencePicture() {
  static const std::unique_ptr<LICE_MemBitmap> picture(
      DecodePngImage(kEmbedded900.data, static_cast<int>(kEmbedded900.size)));
  return *picture;
}

LICE_MemBitmap* SnapshotPicture(double scale) { return TheSnapshot(scale).picture.get(); }
const std::string& SnapshotProblem(double scale) { return TheSnapshot(scale).problem; }

ServerDpi::ServerDpi(Display* d, int dpi) : display(d) {
  const std::string resources = "Xft.dpi:\t" + std::to_string(dpi) + "\n";
  XChangeProperty(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(resources.data()),
                  static_cast<int>(resources.size()));
  XSync(display, False);
}

ServerDpi::~ServerDpi() {
  XDeleteProperty(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER);
  XSync(display, False);
}

Difference Compare(const WindowPicture& picture, LICE_IBitmap& expected) {
  Difference difference;
  difference.sameSize = picture.width == expected.Width() && picture.height == expected.Height();
  if (!difference.sameSize) return difference;
  for (int y = 0; y < picture.height; ++y) {
    const LicePixel* row = RowPointer(expected, y);
    for (int x = 0; x < picture.width; ++x) {
      if (((picture.At(x, y) ^ row[x]) & 0x00FFFFFFu) == 0) continue;
      Area& b = difference.bounds;
      if (difference.pixels++ == 0) b = Area{x, y, x + 1, y + 1};
      b = Area{std::min(b.left, x), std::min(b.top, y), std::max(b.right, x + 1), std::max(b.bottom, y + 1)};
    }
  }
  return difference;
}

::testing::AssertionResult ComesToShow(const brel::x11::LoopStep& step, Display* display, Window window,
                                       LICE_IBitmap& expected, const std::string& mismatchName) {
  WindowPicture picture;
  Difference difference;
  const bool shown = brel::x11::PumpUntil(
      step,
      [&] {
        if (!brel::x11::CaptureWindow(display, window, picture)) return false;
        difference = Compare(picture, expected);
        return difference.sameSize && difference.pixels == 0;
      },
      kMaxSteps);
  if (shown) return ::testing::AssertionSuccess();
  if (picture.width == 0) return ::testing::AssertionFailure() << "the window's pixels could not be read";
  SavePicture(picture, mismatchName);
  auto failure = ::testing::AssertionFailure();
  if (!difference.sameSize)
    return failure << "the window is " << picture.width << " x " << picture.height << "; saved as "
                   << PicturePath(mismatchName);
  const Area& b = difference.bounds;
  return failure << difference.pixels << " pixels differ, within (" << b.left << ", " << b.top << ") to ("
                 << b.right << ", " << b.bottom << "); saved as " << PicturePath(mismatchName);
}

Area KnobArea(int index) {
  int width = 0, height = 0;
  FrameSize(layout::kKnobIsLarge[index] ? kKnobImage : kKnobSmallImage, width, height);
  const layout::Corner corner = layout::kKnobs[index];
  return Area{corner.x, corner.y, corner.x + width, corner.y + height};
}

double KnobStep(int index, int pixels, bool fine) {
  const Area knob = KnobArea(index);
  return pixels / static_cast<double>(knob.bottom - knob.top) / BrelvaneKnob::kGearing / (fine ? 10.0 : 1.0);
}

bool WaitUntil(const std::function<bool()>& done) {
  return brel::x11::PumpUntil([] { poll(nullptr, 0, 10); }, done, kMaxSteps);
}

int OpenDescriptorCount() {
  int count = 0;
  if (DIR* folder = opendir("/proc/self/fd")) {
    while (const dirent* entry = readdir(folder)) count += entry->d_name[0] != '.';
    closedir(folder);
  }
  return count - 1;  // the listing's own
}

}  // namespace x11test
