#include "tools/artwork/Canvas.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace brel::artwork {

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(Rgb c, double k) {
  return {std::min(1.0, c.r * k), std::min(1.0, c.g * k), std::min(1.0, c.b * k)};
}

void SetColor(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void AddStop(cairo_pattern_t* pattern, double offset, Rgb c, double alpha) {
  cairo_pattern_add_color_stop_rgba(pattern, offset, c.r, c.g, c.b, alpha);
}

void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void CirclePath(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_close_path(cr);
}

namespace {

constexpr double kTolerance = 0.1;  // cairo's own default

}  // namespace

SurfacePtr NewSurface(int width, int height, int scale) {
  SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * scale, height * scale));
  cairo_surface_set_device_scale(surface.get(), scale, scale);
  return surface;
}

int SurfaceScale(cairo_surface_t* surface) {
  double x = 1, y = 1;
  cairo_surface_get_device_scale(surface, &x, &y);
  return static_cast<int>(std::lround(x));
}

SurfacePtr NewScratch(cairo_t* cr, int width, int height) {
  return NewSurface(width, height, SurfaceScale(cairo_get_target(cr)));
}

ContextPtr NewContext(cairo_surface_t* surface) {
  ContextPtr cr(cairo_create(surface));
  cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_GRAY);
  // cairo flattens arcs and curves to within a tolerance in device pixels. Held to the same
  // tolerance in drawing units, every scale outlines the same polygons: the 2x circles are the
  // 1x circles, not rounder ones whose edges fall elsewhere.
  cairo_set_tolerance(cr.get(), kTolerance * SurfaceScale(surface));
  return cr;
}

namespace {

// One box pass over `count` pixels `step` words apart; pixels beyond the ends count as clear.
void BoxLine(std::uint32_t* line, int count, int step, int radius, std::vector<std::uint32_t>& scratch) {
  scratch.resize(count);
  for (int i = 0; i < count; ++i) scratch[i] = line[i * step];
  const int window = 2 * radius + 1;
  int sum[4] = {0, 0, 0, 0};
  auto add = [&](std::uint32_t px, int sign) {
    for (int c = 0; c < 4; ++c) sum[c] += sign * static_cast<int>((px >> (8 * c)) & 0xff);
  };
  for (int i = 0; i < std::min(radius, count); ++i) add(scratch[i], 1);
  for (int i = 0; i < count; ++i) {
    if (i + radius < count) add(scratch[i + radius], 1);
    if (i - radius - 1 >= 0) add(scratch[i - radius - 1], -1);
    std::uint32_t out = 0;
    for (int c = 0; c < 4; ++c) out |= static_cast<std::uint32_t>((sum[c] + window / 2) / window) << (8 * c);
    line[i * step] = out;
  }
}

// The box radius of one pass, in device pixels. Three boxes of radius r spread as far as one
// gaussian of variance r(r + 1); at scale s the spread must grow s times, its variance s * s
// times, which whole-pixel radii can only come near: 2r, 2r + 1, 2r at 2x meet 4r(r + 1) exactly
// for r = 1 and within a few percent for larger radii.
int PassRadius(int radius, int scale, int pass) { return radius * scale + (pass == 1 ? scale / 2 : 0); }

}  // namespace

void BlurSurface(cairo_surface_t* surface, int radius) {
  if (radius <= 0) return;
  const int scale = SurfaceScale(surface);
  cairo_surface_flush(surface);
  const int w = cairo_image_surface_get_width(surface);
  const int h = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface) / 4;
  auto* px = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface));
  std::vector<std::uint32_t> scratch;
  for (int pass = 0; pass < 3; ++pass) {
    const int r = PassRadius(radius, scale, pass);
    for (int y = 0; y < h; ++y) BoxLine(px + y * stride, w, 1, r, scratch);
    for (int x = 0; x < w; ++x) BoxLine(px + x, h, stride, r, scratch);
  }
  cairo_surface_mark_dirty(surface);
}

void PaintShadow(cairo_t* cr, int width, int height, const std::function<void(cairo_t*)>& shape, double dx,
                 double dy, int blur, double alpha) {
  SurfacePtr mask = NewScratch(cr, width, height);
  ContextPtr mc = NewContext(mask.get());
  cairo_set_source_rgba(mc.get(), 0, 0, 0, 1);
  shape(mc.get());
  cairo_fill(mc.get());
  BlurSurface(mask.get(), blur);
  cairo_save(cr);
  cairo_set_source_surface(cr, mask.get(), dx, dy);
  cairo_paint_with_alpha(cr, alpha);
  cairo_restore(cr);
}

void ConicFill(cairo_t* cr, double cx, double cy, double radius, const std::function<Rgb(double)>& colour,
               int segments) {
  cairo_pattern_t* mesh = cairo_pattern_create_mesh();
  const double step = 2 * M_PI / segments;
  for (int i = 0; i < segments; ++i) {
    const double a0 = i * step;
    const double a1 = a0 + step;
    const Rgb c0 = colour(a0);
    const Rgb c1 = colour(a1);
    cairo_mesh_pattern_begin_patch(mesh);
    cairo_mesh_pattern_move_to(mesh, cx, cy);
    cairo_mesh_pattern_line_to(mesh, cx + radius * 1.02 * std::cos(a0), cy + radius * 1.02 * std::sin(a0));
    cairo_mesh_pattern_line_to(mesh, cx + radius * 1.02 * std::cos(a1), cy + radius * 1.02 * std::sin(a1));
    cairo_mesh_pattern_line_to(mesh, cx, cy);
    cairo_mesh_pattern_set_corner_color_rgb(mesh, 0, c0.r, c0.g, c0.b);
    cairo_mesh_pattern_set_corner_color_rgb(mesh, 1, c0.r, c0.g, c0.b);
    cairo_mesh_pattern_set_corner_color_rgb(mesh, 2, c1.r, c1.g, c1.b);
    cairo_mesh_pattern_set_corner_color_rgb(mesh, 3, c1.r, c1.g, c1.b);
    cairo_mesh_pattern_end_patch(mesh);
  }
  cairo_save(cr);
  CirclePath(cr, cx, cy, radius);
  cairo_clip(cr);
  cairo_set_source(cr, mesh);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_pattern_destroy(mesh);
}

namespace {

// Adds `n` (in 8-bit levels of an opaque pixel) to one premultiplied pixel's colour.
void ShiftPixel(std::uint32_t& p, double n) {
  std::uint32_t out = p & 0xff000000u;
  const double a = (p >> 24) & 0xff;
  for (int c = 0; c < 3; ++c) {
    const double v = (p >> (8 * c)) & 0xff;
    const double shifted = std::clamp(std::round(v + n * a / 255.0), 0.0, a);
    out |= static_cast<std::uint32_t>(shifted) << (8 * c);
  }
  p = out;
}

}  // namespace

void BrushMetal(cairo_surface_t* surface, int x0, int y0, int width, int height, double strength,
                std::uint32_t seed) {
  const int scale = SurfaceScale(surface);
  cairo_surface_flush(surface);
  const int stride = cairo_image_surface_get_stride(surface) / 4;
  auto* px = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface));
  Random random(seed);
  std::vector<double> grain(width);
  std::vector<double> streak(width);
  for (int y = y0; y < y0 + height; ++y) {
    // Each row is one brush stroke: a row tone, long soft streaks and a little fine grain.
    const double rowTone = random.Signed() * 0.55;
    for (int x = 0; x < width; ++x) grain[x] = random.Signed();
    double run = 0;
    for (int x = 0; x < width; ++x) {
      run += (grain[x] - run) * 0.04;
      streak[x] = run;
    }
    // One unit's grain covers its scale x scale block of device pixels.
    for (int dy = 0; dy < scale; ++dy) {
      std::uint32_t* row = px + (y * scale + dy) * stride + x0 * scale;
      for (int x = 0; x < width; ++x) {
        const double n = (rowTone + streak[x] * 2.2 + grain[x] * 0.25) * strength;
        for (int dx = 0; dx < scale; ++dx) ShiftPixel(row[x * scale + dx], n);
      }
    }
  }
  cairo_surface_mark_dirty(surface);
}

std::uint32_t Random::Next() {
  mState ^= mState << 13;
  mState ^= mState >> 17;
  mState ^= mState << 5;
  return mState;
}

double Random::Uniform() { return (Next() >> 8) / 16777216.0; }

double Random::Signed() { return Uniform() * 2.0 - 1.0; }

namespace {

struct PngFile {
  std::FILE* file = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngFile() {
    if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    if (file) std::fclose(file);
  }
};

// cairo keeps premultiplied native-endian ARGB words; PNG wants straight R, G, B, A bytes.
void StraightRgbaRow(const std::uint32_t* px, int width, std::vector<png_byte>& rgba) {
  std::size_t o = 0;
  for (int x = 0; x < width; ++x) {
    const std::uint32_t p = px[x];
    const std::uint32_t a = p >> 24;
    for (int shift : {16, 8, 0}) {
      const std::uint32_t c = (p >> shift) & 0xff;
      rgba[o++] = static_cast<png_byte>(a == 0 ? 0 : std::min(255u, (c * 255 + a / 2) / a));
    }
    rgba[o++] = static_cast<png_byte>(a);
  }
}

struct ImageSize {
  int width;
  int height;
};

// The bands stacked, or 0 x 0 unless they share one width and all were made: a surface cairo
// could not make (taller than it allows, say) has no pixels to write.
ImageSize StackedSize(const std::vector<cairo_surface_t*>& bands) {
  ImageSize size{bands.empty() ? 0 : cairo_image_surface_get_width(bands.front()), 0};
  for (cairo_surface_t* band : bands) {
    if (cairo_surface_status(band) != CAIRO_STATUS_SUCCESS ||
        cairo_image_surface_get_width(band) != size.width)
      return {0, 0};
    size.height += cairo_image_surface_get_height(band);
  }
  return size;
}

}  // namespace

bool WritePng(const std::vector<cairo_surface_t*>& bands, const std::string& path) {
  const ImageSize size = StackedSize(bands);
  const int w = size.width, h = size.height;
  if (w <= 0 || h <= 0) return false;
  PngFile out;
  out.file = std::fopen(path.c_str(), "wb");
  if (!out.file) return false;
  out.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!out.png) return false;
  out.info = png_create_info_struct(out.png);
  if (!out.info) return false;
  if (setjmp(png_jmpbuf(out.png))) return false;
  png_init_io(out.png, out.file);
  png_set_compression_level(out.png, 9);
  png_set_IHDR(out.png, out.info, w, h, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(out.png, out.info);
  std::vector<png_byte> row(static_cast<std::size_t>(w) * 4);
  for (cairo_surface_t* band : bands) {
    cairo_surface_flush(band);
    const int stride = cairo_image_surface_get_stride(band) / 4;
    const auto* px = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(band));
    for (int y = 0; y < cairo_image_surface_get_height(band); ++y) {
      StraightRgbaRow(px + static_cast<std::size_t>(y) * stride, w, row);
      png_write_row(out.png, row.data());
    }
  }
  png_write_end(out.png, out.info);
  return std::fflush(out.file) == 0;
}

}  // namespace brel::artwork
