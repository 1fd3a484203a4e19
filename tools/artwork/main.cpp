// brel_artwork SOURCE_ROOT [--composite PREVIEW.png] [--fonts DIR]
// Draws every image listed in SOURCE_ROOT/resources/img/images.txt and writes it to the file
// the list names. The same inputs give the same bytes, so regenerating changes no file unless
// a painter changed.

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tools/artwork/ArtworkSet.h"
#include "tools/artwork/Composite.h"
#include "tools/artwork/Manifest.h"
#include "tools/artwork/Text.h"

using namespace brel::artwork;

namespace {

struct Options {
  std::string root;
  std::string composite;
  std::string fonts = "/usr/share/fonts/truetype/dejavu";
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--composite" || arg == "--fonts") && i + 1 < argc) {
      (arg == "--composite" ? options.composite : options.fonts) = argv[++i];
    } else if (options.root.empty() && arg.rfind("--", 0) != 0) {
      options.root = arg;
    } else {
      return false;
    }
  }
  return !options.root.empty();
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "brel_artwork: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options))
    return Fail("usage: brel_artwork SOURCE_ROOT [--composite PREVIEW.png] [--fonts DIR]");
  if (!LoadFonts(options.fonts)) return Fail("the DejaVu fonts are missing from " + options.fonts);
  std::vector<ManifestEntry> entries;
  std::string error;
  if (!ReadManifest(options.root + "/resources/img/images.txt", entries, error)) return Fail(error);

  std::map<std::string, SurfacePtr> strips;
  for (const ManifestEntry& entry : entries) {
    const Artwork* artwork = FindArtwork(entry.name);
    if (!artwork) return Fail("no painter for " + entry.name);
    if (artwork->frames != entry.frames)
      return Fail(entry.name + " has " + std::to_string(artwork->frames) + " frames, the list says " +
                  std::to_string(entry.frames));
    SurfacePtr strip = RenderStrip(*artwork);
    if (!WritePng(strip.get(), options.root + "/" + entry.file)) return Fail("cannot write " + entry.file);
    std::printf("%-52s %4d x %-5d %3d frames\n", entry.file.c_str(), artwork->width,
                artwork->frameHeight * artwork->frames, artwork->frames);
    if (!options.composite.empty()) strips[entry.name] = std::move(strip);
  }
  if (!options.composite.empty()) {
    auto find = [&](const std::string& name) -> cairo_surface_t* {
      auto it = strips.find(name);
      return it == strips.end() ? nullptr : it->second.get();
    };
    if (!WriteComposite(find, options.composite))
      return Fail("cannot write the composite " + options.composite);
  }
  return 0;
}
