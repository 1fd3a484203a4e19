// brel_artwork SOURCE_ROOT [--scale 1|2] [--composite PREVIEW.png] [--fonts DIR]
// Draws every image listed in SOURCE_ROOT/resources/img/images.txt and writes it to the file
// the list names; with --scale 2 it draws the same images at twice the resolution into a 2x/
// folder beside each file, under the same name. The same inputs give the same bytes, so
// regenerating changes no file unless a painter changed.

#include <cstdio>
#include <filesystem>
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
  int scale = 1;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--composite" || arg == "--fonts") && i + 1 < argc) {
      (arg == "--composite" ? options.composite : options.fonts) = argv[++i];
    } else if (arg == "--scale" && i + 1 < argc) {
      const std::string scale = argv[++i];
      if (scale != "1" && scale != "2") return false;
      options.scale = scale == "1" ? 1 : 2;
    } else if (options.root.empty() && arg.rfind("--", 0) != 0) {
      options.root = arg;
    } else {
      return false;
    }
  }
  return !options.root.empty();
}

// resources/img/X.png at scale 2 is resources/img/2x/X.png.
std::filesystem::path OutputFile(const std::string& root, const std::string& file, int scale) {
  const std::filesystem::path listed = std::filesystem::path(root) / file;
  if (scale == 1) return listed;
  return listed.parent_path() / (std::to_string(scale) + "x") / listed.filename();
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "brel_artwork: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options))
    return Fail("usage: brel_artwork SOURCE_ROOT [--scale 1|2] [--composite PREVIEW.png] [--fonts DIR]");
  if (!LoadFonts(options.fonts)) return Fail("the DejaVu fonts are missing from " + options.fonts);
  std::vector<ManifestEntry> entries;
  std::string error;
  if (!ReadManifest(options.root + "/resources/img/images.txt", entries, error)) return Fail(error);

  std::map<std::string, Strip> strips;
  for (const ManifestEntry& entry : entries) {
    const Artwork* artwork = FindArtwork(entry.name);
    if (!artwork) return Fail("no painter for " + entry.name);
    if (artwork->frames != entry.frames)
      return Fail(entry.name + " has " + std::to_string(artwork->frames) + " frames, the list says " +
                  std::to_string(entry.frames));
    Strip strip = RenderStrip(*artwork, options.scale);
    const std::filesystem::path file = OutputFile(options.root, entry.file, options.scale);
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    if (!WritePng(strip.Bands(), file.string())) return Fail("cannot write " + file.string());
    std::printf("%-52s %4d x %-5d %3d frames\n", file.lexically_relative(options.root).c_str(),
                artwork->width * options.scale, artwork->frameHeight * artwork->frames * options.scale,
                artwork->frames);
    if (!options.composite.empty()) strips[entry.name] = std::move(strip);
  }
  if (!options.composite.empty()) {
    auto find = [&](const std::string& name) -> const Strip* {
      auto it = strips.find(name);
      return it == strips.end() ? nullptr : &it->second;
    };
    if (!WriteComposite(find, options.scale, options.composite))
      return Fail("cannot write the composite " + options.composite);
  }
  return 0;
}
