// Writes the LV2 bundle's Turtle: lv2_turtle BUNDLE_DIR. Run by the build, never shipped.

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "adapters/lv2/IPlugLV2.h"
#include "adapters/lv2/turtle/Lv2Turtle.h"

namespace {

constexpr char kPluginBinary[] = "Brelvane.so";
constexpr char kUiBinary[] = "BrelvaneUI.so";
constexpr char kDescriptionFile[] = "Brelvane.ttl";

bool WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (out) return true;
  std::fprintf(stderr, "lv2_turtle: cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: lv2_turtle BUNDLE_DIR\n");
    return 2;
  }
  const std::string bundle = argv[1];
  std::unique_ptr<IPlugLV2> plug(MakePlug(IPlugLV2InstanceInfo{48000.0, 2}));
  plug->Prepare();
  const bool written =
      WriteFile(bundle + "/manifest.ttl", lv2turtle::Manifest(kPluginBinary, kUiBinary, kDescriptionFile)) &&
      WriteFile(bundle + "/" + kDescriptionFile, lv2turtle::Description(*plug, kUiBinary));
  return written ? 0 : 1;
}
