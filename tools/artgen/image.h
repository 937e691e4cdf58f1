#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>

// Shared drawing helpers of the artwork generator: an RGBA image over a cairo surface, drawing
// contexts, blur, colour changes and compositing.
namespace vexmor::artgen {

// A colour with components from 0 to 1, not premultiplied.
struct Color {
  double r = 0, g = 0, b = 0, a = 1;
};

// One pixel, 8 bits per component, not premultiplied.
struct Pixel {
  std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
  void operator()(cairo_t* cr) const;
};
// A drawing context; when it ends, everything drawn is flushed into the image.
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

// A cairo ARGB32 image surface (premultiplied alpha), transparent when created.
class Image {
 public:
  Image(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  cairo_surface_t* surface() const { return surface_.get(); }

  // A new drawing context on the image.
  Context Draw();

  Pixel At(int x, int y) const;
  void Set(int x, int y, Pixel pixel);

  // Premultiplied ARGB words of row y, for pixel loops. Call after every drawing context on the
  // image has ended; writing through it is seen by later drawing.
  std::uint32_t* Row(int y);
  const std::uint32_t* Row(int y) const;

 private:
  int width_, height_;
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface_;
};

void SetColor(cairo_t* cr, Color color);

// A copy of the image blurred with a Gaussian of about this standard deviation (three box passes).
Image Blurred(const Image& source, double sigma);

// A copy with every pixel's colour replaced by `color`, alpha scaled by the source's alpha.
Image Tinted(const Image& source, Color color);

// Draws `source` onto `target` at (x, y) with the given opacity and operator.
void Composite(Image& target, const Image& source, double x = 0, double y = 0, double opacity = 1,
               cairo_operator_t op = CAIRO_OPERATOR_OVER);

// Scales the colour of every pixel towards black by `factor` (0 black, 1 unchanged), alpha kept.
void Darken(Image& image, double factor);

// The image over a halo of its own shape in `color`: a tight bright blur that hugs the shape and
// a wide faint one that spreads the light.
Image WithGlow(const Image& image, Color color, double tightSigma, double wideSigma);

// Smooth step from 0 at edge0 to 1 at edge1.
double SmoothStep(double edge0, double edge1, double x);

// Linear blend of two colours (t = 0 gives a, 1 gives b).
Color Mix(Color a, Color b, double t);

}  // namespace vexmor::artgen
