#pragma once
// Reads resources/img/images.txt, the one list of the editor's images: resource id, constant
// name, frame count and file (relative to the source root), one image a line, '#' comments.

#include <string>
#include <vector>

namespace brel::artwork {

struct ManifestEntry {
  int id;
  std::string name;
  int frames;
  std::string file;
};

// False with a message naming the line when the file cannot be read or a line is malformed.
bool ReadManifest(const std::string& path, std::vector<ManifestEntry>& entries, std::string& error);

}  // namespace brel::artwork
