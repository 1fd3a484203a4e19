#pragma once
// Drawing helpers shared by the artwork painters: colours, shapes, soft shadows, metal
// textures, and the writer that turns a cairo surface into a straight-alpha RGBA PNG.

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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

// A transparent ARGB32 surface of width x height drawing units, `scale` device pixels to a unit
// each way: its contexts draw the same picture at any scale. And a context on it.
SurfacePtr NewSurface(int width, int height, int scale = 1);
ContextPtr NewContext(cairo_surface_t* surface);
// The device pixels per drawing unit of a surface made by NewSurface.
int SurfaceScale(cairo_surface_t* surface);
// A scratch surface of width x height units at the scale of the surface `cr` draws on.
SurfacePtr NewScratch(cairo_t* cr, int width, int height);

// Three box passes each way come close to a gaussian of the same radius, given in drawing
// units: at 2x the blur spreads as far over the picture as at 1x.
void BlurSurface(cairo_surface_t* surface, int radius);

// Paints a blurred, offset silhouette of whatever `shape` fills, under the current drawing.
// The silhouette is built on a scratch surface of width x height in the caller's user space.
void PaintShadow(cairo_t* cr, int width, int height, const std::function<void(cairo_t*)>& shape, double dx,
                 double dy, int blur, double alpha);

// A disc whose colour depends on the angle around its centre: the sheen of turned metal.
// The angle is in radians, clockwise from the +x axis as cairo measures it.
void ConicFill(cairo_t* cr, double cx, double cy, double radius, const std::function<Rgb(double)>& colour,
               int segments = 96);

// Fine horizontal streaks over an opaque area (in drawing units), as left by brushing the metal.
// The grain is one value per unit, the same at every scale, so a 2x panel is the 1x panel's
// metal at twice the resolution rather than a finer, fainter one.
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

// 8-bit RGBA, straight alpha, maximum compression; the bytes depend only on the pixels. The
// bands, of one width, are stacked from the top down into one image.
bool WritePng(const std::vector<cairo_surface_t*>& bands, const std::string& path);

}  // namespace brel::artwork
