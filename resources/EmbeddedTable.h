#pragma once
// The generated table behind FindEmbeddedResource: every embedded file, then a null entry.

#include "resources/EmbeddedResource.h"

extern const EmbeddedResource* const kEmbeddedResources[];
extern const int kEmbeddedResourceCount;
