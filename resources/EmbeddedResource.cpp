#include "resources/EmbeddedResource.h"

#include "resources/EmbeddedTable.h"

const EmbeddedResource* FindEmbeddedResource(int id) {
  for (int i = 0; i < kEmbeddedResourceCount; ++i)
    if (kEmbeddedResources[i]->id == id) return kEmbeddedResources[i];
  return nullptr;
}
