// On Linux the glyphs come from FreeType: a font is a face file opened at the requested cell
// height, and a character is rendered white on black into the glyph canvas. The face is looked up
// among the installed TrueType fonts by name, with DejaVu Sans standing in for any face that is not
// there (Verdana, the default, usually is not). There is no string drawing of the window system's.
#include "raster/NativeText.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <mutex>
#include <new>
#include <string>
#include <unistd.h>

namespace {

constexpr const char* kFontRoot = "/usr/share/fonts/truetype/";

struct LinuxFont {
  FT_Face face;
  int ascent;
  int lineHeight;
  bool monochrome;
};

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library made = nullptr;
    return FT_Init_FreeType(&made) == 0 ? made : nullptr;
  }();
  return library;
}

// FreeType faces share the library; it is not safe to open them from two threads at once.
std::mutex& LibraryLock() {
  static std::mutex* lock = new std::mutex;
  return *lock;
}

std::string Suffix(int weight, bool italic) {
  if (weight >= 700) return italic ? "-BoldOblique" : "-Bold";
  return italic ? "-Oblique" : "";
}

// "DejaVu Sans" → /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf and the like.
std::string FaceFile(const char* face, int weight, bool italic) {
  std::string compact;
  for (const char* c = face; *c; ++c) {
    if (*c != ' ' && *c != '/' && *c != '.') compact += *c;
  }
  std::string folder;
  for (char c : compact) folder += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  const std::string suffix = Suffix(weight, italic);
  if (!compact.empty()) {
    for (const std::string& dir : {folder, std::string("dejavu"), std::string("freefont")}) {
      for (const std::string& tail : {suffix, std::string(italic ? "-Italic" : ""), std::string()}) {
        const std::string path = kFontRoot + dir + "/" + compact + tail + ".ttf";
        if (access(path.c_str(), R_OK) == 0) return path;
      }
    }
  }
  return std::string(kFontRoot) + "dejavu/DejaVuSans" + suffix + ".ttf";
}

LinuxFont* AsFont(NativeText::Font font) { return static_cast<LinuxFont*>(font); }

FT_Int32 LoadFlags(const LinuxFont& font) {
  return FT_LOAD_DEFAULT | (font.monochrome ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
}

// Control characters draw nothing, as on Windows.
bool Drawable(unsigned int code) { return code >= 32 && code != 127; }

}  // namespace

namespace NativeText {

Font OpenFont(const FontRequest& request) {
  if (!request.face || request.height <= 0) return nullptr;
  std::lock_guard<std::mutex> guard(LibraryLock());
  if (!Library()) return nullptr;
  FT_Face face = nullptr;
  const std::string path = FaceFile(request.face, request.weight, request.italic);
  if (FT_New_Face(Library(), path.c_str(), 0, &face) != 0) return nullptr;
  // A positive height is the character cell, ascent plus descent, as the window system takes it.
  FT_Size_RequestRec size = {FT_SIZE_REQUEST_TYPE_CELL, 0, static_cast<FT_Long>(request.height) * 64, 0, 0};
  if (FT_Request_Size(face, &size) != 0) {
    FT_Done_Face(face);
    return nullptr;
  }
  auto* font = new (std::nothrow) LinuxFont;
  if (!font) {
    FT_Done_Face(face);
    return nullptr;
  }
  const int ascent = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
  const int descent = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
  *font = {face, ascent, ascent + descent, request.quality == 3};
  return font;
}

void CloseFont(Font font) {
  if (!font) return;
  std::lock_guard<std::mutex> guard(LibraryLock());
  FT_Done_Face(AsFont(font)->face);
  delete AsFont(font);
}

void PrepareCanvas(LICE_SysBitmap&) {}

int LineHeight(Font font, LICE_SysBitmap&) { return font ? AsFont(font)->lineHeight : 0; }

void MeasureChar(Font font, LICE_SysBitmap&, unsigned int code, int* width, int* height) {
  *width = 0;
  *height = 0;
  LinuxFont* f = AsFont(font);
  if (!f || !Drawable(code)) return;
  if (FT_Load_Char(f->face, code, LoadFlags(*f)) != 0) return;
  *width = static_cast<int>((f->face->glyph->advance.x + 32) >> 6);
  *height = f->lineHeight;
}

void DrawChar(Font font, LICE_SysBitmap& canvas, unsigned int code) {
  LinuxFont* f = AsFont(font);
  if (!f || !canvas.Pixels() || !Drawable(code)) return;
  if (FT_Load_Char(f->face, code, LoadFlags(*f) | FT_LOAD_RENDER) != 0) return;
  const FT_GlyphSlot slot = f->face->glyph;
  const FT_Bitmap& glyph = slot->bitmap;
  const bool mono = glyph.pixel_mode == FT_PIXEL_MODE_MONO;
  const int left = slot->bitmap_left, top = f->ascent - slot->bitmap_top;
  for (int gy = 0; gy < static_cast<int>(glyph.rows); ++gy) {
    const int y = top + gy;
    if (y < 0 || y >= canvas.Height()) continue;
    const unsigned char* src = glyph.buffer + static_cast<std::ptrdiff_t>(gy) * glyph.pitch;
    LicePixel* row = canvas.Pixels() + static_cast<std::ptrdiff_t>(y) * canvas.RowSpan();
    for (int gx = 0; gx < static_cast<int>(glyph.width); ++gx) {
      const int x = left + gx;
      if (x < 0 || x >= canvas.Width()) continue;
      const int coverage = mono ? ((src[gx >> 3] >> (7 - (gx & 7))) & 1) * 255 : src[gx];
      const int old = LicePixelRed(row[x]);
      const int level = std::max(old, coverage);
      row[x] = LicePixelFromChannels(level, level, level, 255);
    }
  }
}

bool HasStringDrawing() { return false; }
bool RunningUnderWine() { return false; }
int DrawString(const StringRequest&) { return 0; }
void ReleaseScratch() {}

}  // namespace NativeText
