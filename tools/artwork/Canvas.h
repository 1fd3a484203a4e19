#pragma once
// Drawing helpers shared by the artwork painters: colours, shapes, soft shadows, metal
// textures, and the writer that turns a cairo surface into a straight-alpha RGBA PNG.

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace brel::artwork {

struct Rgb {
  double r;
  double g;
  double b;
};

// Colours are written as 0xRRGGBB in the painters, so they can be compared with a colour picker.
constexpr Rgb Hex(std::uint32_t rgb) {
  return {((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0};
}
Rgb Mix(Rgb a, Rgb b, double t);
Rgb Scale(Rgb c, double k);

void SetColor(cairo_t* cr, Rgb c, double alpha = 1.0);
void AddStop(cairo_pattern_t* pattern, double offset, Rgb c, double alpha = 1.0);
void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r);
void CirclePath(cairo_t* cr, double cx, double cy, double r);

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using ContextPtr = std::unique_ptr<cairo_t, ContextDeleter>;

// A transparent ARGB32 surface and a context on it.
SurfacePtr NewSurface(int width, int height);
ContextPtr NewContext(cairo_surface_t* surface);

// Three box passes each way come close to a gaussian of the same radius.
void BlurSurface(cairo_surface_t* surface, int radius);

// Paints a blurred, offset silhouette of whatever `shape` fills, under the current drawing.
// The silhouette is built on a scratch surface of width x height in the caller's user space.
void PaintShadow(cairo_t* cr, int width, int height, const std::function<void(cairo_t*)>& shape, double dx,
                 double dy, int blur, double alpha);

// A disc whose colour depends on the angle around its centre: the sheen of turned metal.
// The angle is in radians, clockwise from the +x axis as cairo measures it.
void ConicFill(cairo_t* cr, double cx, double cy, double radius, const std::function<Rgb(double)>& colour,
               int segments = 96);

// Fine horizontal streaks over an opaque area, as left by brushing the metal.
void BrushMetal(cairo_surface_t* surface, int x0, int y0, int width, int height, double strength,
                std::uint32_t seed);

// A small deterministic generator, so every run draws the same grain.
class Random {
public:
  explicit Random(std::uint32_t seed) : mState(seed ? seed : 1u) {}
  std::uint32_t Next();
  double Uniform();  // in [0, 1)
  double Signed();   // in [-1, 1)

private:
  std::uint32_t mState;
};

// 8-bit RGBA, straight alpha, maximum compression; the bytes depend only on the pixels.
bool WritePng(cairo_surface_t* surface, const std::string& path);

}  // namespace brel::artwork
