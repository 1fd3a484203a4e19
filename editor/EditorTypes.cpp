#include "editor/EditorTypes.h"

#include <algorithm>
#include <cctype>
#include <cstring>

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

bool HasPngExtension(const char* fileName) {
  const char* dot = fileName ? std::strrchr(fileName, '.') : nullptr;
  if (!dot) return false;
  const char* png = "png";
  for (int i = 0; i < 4; ++i) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(dot[1 + i])));
    if (c != png[i]) return false;
  }
  return true;
}
