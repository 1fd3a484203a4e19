#include "raster/FontCache.h"

#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <vector>

namespace {

struct FontCacheEntry {
  int size;
  int orientation;
  int style;
  std::string face;
  LICE_IFont* font;
};

// Created on first use and never destroyed: its fonts live as long as the module.
struct FontCacheList {
  std::mutex lock;
  std::vector<FontCacheEntry> entries;
};

FontCacheList& List() {
  static FontCacheList* list = new FontCacheList;
  return *list;
}

// The window system's quality values for the style's 0..3.
int NativeQuality(int quality) {
  static const int kQualities[4] = {0, 3, 4, 5};
  return quality >= 0 && quality < 4 ? kQualities[quality] : 0;
}

LICE_IFont* MakeFont(const TextStyle& style, const char* face) {
  const NativeText::FontRequest request = {face,
                                           style.size,
                                           style.orientation * 10,
                                           style.style == kTextBold ? 700 : 400,
                                           style.style == kTextItalic,
                                           NativeQuality(style.quality)};
  NativeText::Font native = NativeText::OpenFont(request);
  if (!native) return nullptr;
  auto* font = new (std::nothrow) LICE_CachedFont;
  if (!font) {
    NativeText::CloseFont(native);
    return nullptr;
  }
  font->SetNativeFont(native, kFontOwnsNative | kFontPreferNative);
  return font;
}

}  // namespace

LICE_IFont* FontCache::FontFor(TextStyle& style) {
  // The face is read up to its terminator, and never past the style's field.
  const std::string face(style.face, strnlen(style.face, sizeof style.face));
  FontCacheList& list = List();
  {
    std::lock_guard<std::mutex> guard(list.lock);
    for (const FontCacheEntry& entry : list.entries) {
      if (entry.size == style.size && entry.orientation == style.orientation && entry.style == style.style &&
          entry.face == face) {
        style.cachedFont = entry.font;
        return entry.font;
      }
    }
  }
  // Made outside the lock: asking the window system for a font can take a while.
  LICE_IFont* font = MakeFont(style, face.c_str());
  if (!font) return nullptr;
  {
    std::lock_guard<std::mutex> guard(list.lock);
    list.entries.push_back({style.size, style.orientation, style.style, face, font});
  }
  style.cachedFont = font;
  return font;
}
