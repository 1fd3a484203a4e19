#include "tools/artwork/Manifest.h"

#include <fstream>
#include <sstream>

namespace brel::artwork {

bool ReadManifest(const std::string& path, std::vector<ManifestEntry>& entries, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = path + ": cannot be read";
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::istringstream fields(line);
    ManifestEntry entry;
    if (!(fields >> entry.id)) {
      if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
      error = path + ":" + std::to_string(number) + ": expected a resource id";
      return false;
    }
    std::string extra;
    if (!(fields >> entry.name >> entry.frames >> entry.file) || (fields >> extra) || entry.frames < 1) {
      error = path + ":" + std::to_string(number) + ": expected: id name frames file";
      return false;
    }
    entries.push_back(entry);
  }
  return true;
}

}  // namespace brel::artwork
