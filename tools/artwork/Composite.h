#pragma once
// A preview of the whole editor: the panel with one frame of every control at its place, as
// the editor stacks them. For judging the artwork; it is not one of the editor's images.

#include <functional>
#include <string>

#include "tools/artwork/ArtworkSet.h"

namespace brel::artwork {

// `strip` gives the rendered strip of a manifest name, or null when it was not drawn; the
// preview has the strips' scale.
bool WriteComposite(const std::function<const Strip*(const std::string&)>& strip, int scale,
                    const std::string& path);

}  // namespace brel::artwork
