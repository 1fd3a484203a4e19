#include "editor/EditorTypes.h"

#include <algorithm>

Rect Rect::Union(const Rect& other) const {
  if (other.Empty()) return *this;
  if (Empty()) return other;
  return Rect{std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
              std::max(bottom, other.bottom)};
}

Rect Rect::Intersect(const Rect& other) const {
  return Rect{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
              std::min(bottom, other.bottom)};
}
