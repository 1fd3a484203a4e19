#include "editor/EmbeddedImageGraphics.h"

#include <cctype>
#include <cstring>

#include "raster/PngDecode.h"
#include "resources/EmbeddedResource.h"

namespace {

bool HasPngExtension(const char* fileName) {
  const std::size_t length = fileName ? std::strlen(fileName) : 0;
  if (length < 4) return false;
  const char* ext = fileName + length - 4;
  return ext[0] == '.' && std::tolower(static_cast<unsigned char>(ext[1])) == 'p' &&
         std::tolower(static_cast<unsigned char>(ext[2])) == 'n' &&
         std::tolower(static_cast<unsigned char>(ext[3])) == 'g';
}

}  // namespace

LICE_IBitmap* EmbeddedImageGraphics::LoadImageResource(int resourceId, const char* fileName) {
  if (!HasPngExtension(fileName)) return nullptr;
  const EmbeddedResource* resource = FindEmbeddedResource(resourceId);
  if (!resource || resource->size > 0x7FFFFFFF) return nullptr;
  return DecodePngImage(resource->data, static_cast<int>(resource->size));
}
