#pragma once
// The editor's PNG images, compiled into the module and found by resource id: on Windows the
// module's resources of type "PNG", on Linux byte arrays that stand in for them.

#include <cstddef>

// One image as the layout names it (the generated resources/ImageResources.h lists them all).
struct ImageResource {
  int id;
  const char* fileName;
  int frames;
  const char* hiResFileName;  // the twin at twice the resolution, at id + kHiResImageIdOffset
};

// The bytes of one embedded file; they live as long as the module.
struct EmbeddedResource {
  int id;
  const char* fileName;
  const unsigned char* data;
  std::size_t size;
};

// The embedded file with this resource id, or null when there is none.
const EmbeddedResource* FindEmbeddedResource(int id);

// The image of id N drawn at twice the resolution is embedded as N + kHiResImageIdOffset.
constexpr int kHiResImageIdOffset = 1000;
