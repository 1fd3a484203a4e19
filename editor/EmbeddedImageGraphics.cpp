#include "editor/EmbeddedImageGraphics.h"

#include "raster/PngDecode.h"
#include "resources/EmbeddedResource.h"

LICE_IBitmap* EmbeddedImageGraphics::LoadImageResource(int resourceId, const char* fileName) {
  if (!HasPngExtension(fileName)) return nullptr;
  const EmbeddedResource* resource = FindEmbeddedResource(resourceId);
  if (!resource || resource->size > 0x7FFFFFFF) return nullptr;
  return DecodePngImage(resource->data, static_cast<int>(resource->size));
}
