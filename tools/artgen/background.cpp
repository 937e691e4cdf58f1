// 152: the 1920 x 1080 background, fully opaque. A moonlit night vista: a starry sky with a band
// of nebula, a large moon with a halo and soft rays, five mountain ranges fading into fog with
// distance, a castle with lit windows on a ridge under the moon, and a dark pine forest in front.
//
// The places where the launcher draws text stay calm: the top edge (title), the left column
// (news) and the bottom band (progress and PLAY) are the darkest parts of the picture.
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "tools/artgen/artwork.h"
#include "tools/artgen/noise.h"

namespace vexmor::artgen {
namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr double kPi = 3.14159265358979323846;

constexpr double kMoonX = 1330, kMoonY = 285, kMoonRadius = 66;
constexpr Color kMoonlight{0.72, 0.78, 0.98};
constexpr Color kFog{0.30, 0.32, 0.48};
constexpr Color kWindowLight{1.0, 0.62, 0.26};

// An RGB picture in floats (0 to 1), composed layer by layer and quantised once at the end.
struct Canvas {
  std::vector<float> rgb = std::vector<float>(std::size_t(kWidth) * kHeight * 3);

  float* At(int x, int y) { return &rgb[(std::size_t(y) * kWidth + x) * 3]; }
  void Blend(int x, int y, Color c, double alpha) {
    float* p = At(x, y);
    p[0] = float(p[0] + (c.r - p[0]) * alpha);
    p[1] = float(p[1] + (c.g - p[1]) * alpha);
    p[2] = float(p[2] + (c.b - p[2]) * alpha);
  }
  void Add(int x, int y, Color c, double amount) {
    float* p = At(x, y);
    p[0] = float(p[0] + c.r * amount);
    p[1] = float(p[1] + c.g * amount);
    p[2] = float(p[2] + c.b * amount);
  }
};

double Distance(double x0, double y0, double x1, double y1) { return std::hypot(x1 - x0, y1 - y0); }

// --- sky -------------------------------------------------------------------------------------

Color SkyGradient(double y) {
  struct Stop {
    double y;
    Color color;
  };
  static constexpr Stop kStops[] = {
      {0, {0.010, 0.014, 0.040}},
      {380, {0.040, 0.055, 0.130}},
      {620, {0.110, 0.110, 0.220}},
      {820, {0.230, 0.190, 0.300}},
      {1080, {0.260, 0.200, 0.300}},
  };
  for (std::size_t i = 1; i < std::size(kStops); ++i) {
    if (y <= kStops[i].y) {
      const double t = (y - kStops[i - 1].y) / (kStops[i].y - kStops[i - 1].y);
      return Mix(kStops[i - 1].color, kStops[i].color, SmoothStep(0, 1, t));
    }
  }
  return kStops[std::size(kStops) - 1].color;
}

// Closeness to the band of the galaxy, a soft diagonal from the left middle to the upper right.
double BandWeight(double x, double y) {
  const double ax = 0, ay = 560, bx = 1920, by = 60;
  const double length = Distance(ax, ay, bx, by);
  const double across = ((bx - ax) * (ay - y) - (by - ay) * (ax - x)) / length;
  const double wobble = 90 * (FractalNoise(x / 700.0, 3.1, 41, 3) - 0.5);
  return std::exp(-std::pow((across + wobble) / 170.0, 2));
}

void PaintSky(Canvas& canvas) {
  for (int y = 0; y < kHeight; ++y) {
    const Color base = SkyGradient(y);
    for (int x = 0; x < kWidth; ++x) {
      canvas.Blend(x, y, base, 1);
      // The moon's halo: a tight bright core and a wide faint spread.
      const double d = Distance(x, y, kMoonX, kMoonY);
      canvas.Add(x, y, kMoonlight, 0.30 * std::exp(-d / 140.0) + 0.16 * std::exp(-d / 520.0));

      // Nebula: domain-warped noise, thickest along the band and thinning towards the horizon.
      const double band = BandWeight(x, y);
      const double horizonFade = 1 - SmoothStep(380, 720, y);
      if (band * horizonFade < 0.01) continue;
      const double wx = x / 520.0 + 0.8 * FractalNoise(x / 300.0, y / 300.0, 51, 3);
      const double wy = y / 520.0 + 0.8 * FractalNoise(x / 300.0 + 7.3, y / 300.0, 52, 3);
      const double cloud = SmoothStep(0.38, 0.78, FractalNoise(wx, wy, 53, 6));
      const double dust = SmoothStep(0.55, 0.85, RidgedNoise(wx * 1.7, wy * 1.7, 54, 4));
      const double hue = FractalNoise(x / 900.0, y / 900.0, 55, 2);
      const Color tint = Mix({0.42, 0.22, 0.62}, {0.12, 0.42, 0.60}, SmoothStep(0.35, 0.65, hue));
      const double amount = band * horizonFade * (0.30 * cloud + 0.14 * dust * cloud + 0.04);
      canvas.Add(x, y, tint, amount);
      // Dark lanes of dust cut through the glow.
      const double lane = SmoothStep(0.6, 0.85, FractalNoise(wx * 2.3 + 4, wy * 2.3, 56, 4));
      canvas.Blend(x, y, {0.01, 0.012, 0.035}, 0.55 * lane * band * horizonFade);
    }
  }
}

// A soft round point of light, with four thin spikes for the brightest stars.
void PaintStar(Canvas& canvas, double cx, double cy, double radius, double brightness, Color tint, bool spikes) {
  const int reach = int(std::ceil(spikes ? radius * 9 : radius * 3));
  for (int y = int(cy) - reach; y <= int(cy) + reach; ++y) {
    for (int x = int(cx) - reach; x <= int(cx) + reach; ++x) {
      if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) continue;
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      double light = brightness * std::exp(-(dx * dx + dy * dy) / (2 * radius * radius));
      if (spikes) {
        const double along = std::max(std::exp(-dy * dy / 0.35) * std::exp(-std::abs(dx) / (radius * 2.6)),
                                      std::exp(-dx * dx / 0.35) * std::exp(-std::abs(dy) / (radius * 2.6)));
        light += brightness * 0.5 * along;
      }
      canvas.Add(x, y, tint, light);
    }
  }
}

void PaintStars(Canvas& canvas) {
  Random random(61);
  // Scattered stars: more high up and inside the galaxy band, few near the horizon and the moon;
  // most faint, a few bright ones with spikes.
  for (int placed = 0; placed < 1700;) {
    const double x = random.Between(0, kWidth), y = random.Between(0, 900);
    const double density = (0.4 + 0.6 * BandWeight(x, y)) * (1 - SmoothStep(250, 760, y)) *
                           SmoothStep(kMoonRadius * 1.4, kMoonRadius * 4, Distance(x, y, kMoonX, kMoonY));
    const double keep = random.Next(), size = random.Next(), warmth = random.Next();
    if (keep > density) continue;
    ++placed;
    const double magnitude = std::pow(size, 7);
    const Color tint = warmth < 0.2 ? Color{1.0, 0.85, 0.7} : warmth > 0.75 ? Color{0.75, 0.85, 1.0} : Color{1, 1, 1};
    PaintStar(canvas, x, y, 0.45 + 0.8 * magnitude, 0.18 + 1.4 * magnitude, tint, magnitude > 0.7);
  }
  // Star dust: thousands of faint points that make the band read as distant light.
  for (int placed = 0; placed < 9000;) {
    const double x = random.Between(0, kWidth), y = random.Between(0, 800);
    const double density = BandWeight(x, y) * (1 - SmoothStep(300, 700, y));
    const double keep = random.Next(), brightness = random.Next();
    if (keep > density) continue;
    ++placed;
    PaintStar(canvas, x, y, 0.4, 0.05 + 0.12 * brightness, {0.85, 0.88, 1.0}, false);
  }
}

void PaintMoon(Canvas& canvas) {
  // Craters: a shallow dark bowl with a bright rim on the side facing away from the light.
  struct Crater {
    double u, v, radius;
  };
  std::vector<Crater> craters;
  Random random(73);
  while (craters.size() < 28) {
    const double u = random.Between(-0.9, 0.9), v = random.Between(-0.9, 0.9);
    const double radius = 0.03 + 0.12 * std::pow(random.Next(), 3);
    if (u * u + v * v < 0.85) craters.push_back({u, v, radius});
  }
  const int reach = int(kMoonRadius) + 2;
  for (int y = int(kMoonY) - reach; y <= int(kMoonY) + reach; ++y) {
    for (int x = int(kMoonX) - reach; x <= int(kMoonX) + reach; ++x) {
      const double d = Distance(x + 0.5, y + 0.5, kMoonX, kMoonY);
      const double coverage = std::clamp(kMoonRadius - d + 0.5, 0.0, 1.0);
      if (coverage <= 0) continue;
      const double u = (x + 0.5 - kMoonX) / kMoonRadius, v = (y + 0.5 - kMoonY) / kMoonRadius;
      // Soft dark plains, fine grain, and a surface that darkens a little towards the rim.
      const double plains = SmoothStep(0.45, 0.68, FractalNoise(u * 1.3 + 3, v * 1.3, 71, 3));
      const double grain = FractalNoise(u * 9, v * 9, 72, 3) - 0.5;
      const double limb = std::sqrt(std::max(0.0, 1 - (d / kMoonRadius) * (d / kMoonRadius)));
      double light = (0.82 + 0.18 * limb) * (1 - 0.2 * plains) + 0.08 * grain;
      for (const auto& c : craters) {
        const double r = std::hypot(u - c.u, v - c.v) / c.radius;
        if (r > 1.25) continue;
        const double side = ((u - c.u) * -0.6 + (v - c.v) * 0.8) / (c.radius * std::max(r, 1e-3));
        light += r < 1 ? -0.07 * (1 - r * r) : 0.0;
        light += 0.09 * std::exp(-std::pow((r - 1) / 0.12, 2)) * side;
      }
      canvas.Blend(x, y, {0.96 * light, 0.95 * light, 0.90 * light}, coverage);
    }
  }
}

// Shafts of moonlight fanning out downwards; they fall over the two far ranges and the sky and
// pass behind the nearer ranges.
double RayLight(double x, double y) {
  const double dx = x - kMoonX, dy = y - kMoonY;
  const double d = std::hypot(dx, dy);
  if (dy <= 0 || d < kMoonRadius) return 0;
  const double angle = std::atan2(dy, dx);
  const double beams = std::pow(FractalNoise(angle * 7.0, 0.5, 81, 3), 3.0) * 3.2;
  const double downwards = SmoothStep(0.1, 0.9, std::sin(angle));
  const double falloff = std::exp(-(d - kMoonRadius) / 520.0) * SmoothStep(kMoonRadius, kMoonRadius * 2.5, d);
  return 0.07 * beams * downwards * falloff;
}

// --- ranges ----------------------------------------------------------------------------------

struct Range {
  double base, amplitude, period;  // mean crest height, its spread, horizontal scale (pixels)
  Color color;
  double haze;       // fog mixed in everywhere: more for farther ranges
  double valleyFog;  // extra fog deep below the crest
  double snow;       // how far snow reaches down from the peaks (0: none)
  double light;      // strength of moonlight on faces turned towards the moon
  std::uint32_t seed;
  double mist = 0;   // a bank of mist drifting in front of the range
};

constexpr Range kRanges[] = {
    {560, 290, 600, {0.15, 0.15, 0.27}, 0.52, 0.55, 0.8, 0.9, 101},
    {650, 230, 470, {0.095, 0.095, 0.19}, 0.34, 0.60, 0.7, 1.0, 102},
    {740, 180, 380, {0.058, 0.058, 0.120}, 0.20, 0.75, 0.0, 0.8, 103, 0.45},
    {840, 140, 300, {0.034, 0.034, 0.072}, 0.10, 0.70, 0.0, 0.5, 104, 0.35},
    {985, 70, 420, {0.012, 0.012, 0.028}, 0.0, 0.0, 0.0, 0.0, 105},
};
constexpr int kRangeCount = int(std::size(kRanges));
constexpr int kFirstNearRange = 2;  // moonlight rays pass behind this range and those after it
constexpr int kCastleRange = 2;     // the castle stands on this range
constexpr double kCastleX = 1150;
constexpr int kTreeRanges[] = {3, 4};
constexpr int kForestRange = 4;

// One range's outline and the shapes standing on it.
struct RangeShape {
  std::vector<double> crest;   // crest height per column (0..kWidth)
  std::vector<double> facing;  // -1 (turned away from the moon) to 1 (lit), smoothed per column
  std::optional<Image> extras; // castle or trees, as coverage
};

std::vector<double> Crest(const Range& range, int index) {
  std::vector<double> crest(kWidth + 1);
  for (int x = 0; x <= kWidth; ++x) {
    const double peaks = RidgedNoise(x / range.period, 0.37, range.seed, 4, 0.42);
    const double rolling = FractalNoise(x / (range.period * 2.7), 5.1, range.seed + 1, 3);
    const double rough = FractalNoise(x / 18.0, 9.3, range.seed + 2, 3) - 0.5;
    const double shape = 0.58 * peaks + 0.42 * rolling;
    // A dip under the moon frames it; the forest floor rises towards the sides.
    const double dip = index < kCastleRange ? 0.45 * std::exp(-std::pow((x - kMoonX) / 330.0, 2)) : 0.0;
    const double frame = index == kForestRange ? 0.6 * std::pow(std::abs(x - 1000) / 1000.0, 2) : 0.0;
    crest[x] = range.base - range.amplitude * ((shape - 0.35) * 1.6 * (1 - dip) + frame) + 6 * rough;
  }
  return crest;
}

// Faces that fall away towards the moon are lit; the crest's slope, smoothed over a peak's width,
// says which way each part of the range faces.
std::vector<double> Facing(const std::vector<double>& crest) {
  constexpr int kReach = 24;
  std::vector<double> facing(kWidth + 1);
  for (int x = 0; x <= kWidth; ++x) {
    const double slope = (crest[std::min(x + kReach, kWidth)] - crest[std::max(x - kReach, 0)]) / (2 * kReach);
    facing[x] = std::tanh((x < kMoonX ? slope : -slope) * 2.5);
  }
  return facing;
}

// A pine: stacked tiers narrowing to the top over a short trunk.
void Pine(cairo_t* cr, double x, double groundY, double height) {
  const double width = height * 0.36;
  const int tiers = std::max(3, int(height / 14));
  cairo_rectangle(cr, x - width * 0.05, groundY - height * 0.15, width * 0.1, height * 0.2);
  for (int i = 0; i < tiers; ++i) {
    const double t = double(i) / tiers;  // 0 at the bottom tier
    const double tierBottom = groundY - height * (0.08 + 0.8 * t);
    const double tierWidth = width * (1 - 0.85 * t);
    const double tierTop = tierBottom - height * 0.32;
    cairo_move_to(cr, x - tierWidth / 2, tierBottom);
    cairo_line_to(cr, x, std::max(tierTop, groundY - height));
    cairo_line_to(cr, x + tierWidth / 2, tierBottom);
    cairo_close_path(cr);
  }
  cairo_fill(cr);
}

Image Trees(const std::vector<double>& crest, int rangeIndex) {
  Image mask(kWidth, kHeight);
  auto cr = mask.Draw();
  cairo_set_source_rgba(cr.get(), 1, 1, 1, 1);
  Random random(900 + rangeIndex);
  const bool front = rangeIndex == kForestRange;
  for (double x = -20; x < kWidth + 20;) {
    x += front ? random.Between(9, 26) : random.Between(4, 11);
    const double sideness = std::abs(x - 1000) / 1000.0;  // 0 in the middle, 1 at the sides
    const double height = front ? random.Between(50, 120) + 170 * sideness * sideness : random.Between(10, 26);
    if (!front && random.Next() < 0.35) continue;  // gaps in the far tree line
    // Sunk a little into the ground so no sky shows under the lowest branches.
    Pine(cr.get(), x, crest[std::clamp(int(x), 0, kWidth)] + height * 0.08 + 3, height);
  }
  return mask;
}

// The castle: a curtain wall, towers with pointed roofs and a keep with a banner, standing on the
// crest around centerX. Returns where its lit windows are.
std::vector<std::array<double, 2>> Castle(Image& mask, const std::vector<double>& crest, double centerX) {
  auto cr = mask.Draw();
  cairo_set_source_rgba(cr.get(), 1, 1, 1, 1);
  const double ground = *std::max_element(crest.begin() + int(centerX) - 90, crest.begin() + int(centerX) + 90) + 6;
  struct Tower {
    double offset, width, height, roof;  // roof 0: a flat top with battlements
  };
  static constexpr Tower kTowers[] = {
      {-78, 16, 58, 20}, {-52, 22, 82, 26}, {-18, 34, 104, 0}, {-6, 14, 146, 30},
      {22, 24, 90, 28},  {52, 18, 66, 22},  {76, 12, 48, 16},
  };
  cairo_rectangle(cr.get(), centerX - 80, ground - 40, 160, 44);
  for (double x = centerX - 80; x < centerX + 80; x += 8) cairo_rectangle(cr.get(), x, ground - 45, 4, 6);
  for (const auto& t : kTowers) {
    const double left = centerX + t.offset - t.width / 2, top = ground - t.height;
    cairo_rectangle(cr.get(), left, top, t.width, t.height);
    if (t.roof > 0) {
      cairo_move_to(cr.get(), left - 2, top);
      cairo_line_to(cr.get(), left + t.width / 2, top - t.roof);
      cairo_line_to(cr.get(), left + t.width + 2, top);
      cairo_close_path(cr.get());
    } else {
      for (double x = left; x < left + t.width; x += 7) cairo_rectangle(cr.get(), x, top - 5, 4, 5);
    }
  }
  cairo_fill(cr.get());
  cairo_set_line_width(cr.get(), 1.2);
  cairo_move_to(cr.get(), centerX - 6, ground - 176);
  cairo_line_to(cr.get(), centerX - 6, ground - 192);
  cairo_stroke(cr.get());
  cairo_move_to(cr.get(), centerX - 6, ground - 192);
  cairo_curve_to(cr.get(), centerX + 2, ground - 193, centerX + 6, ground - 187, centerX + 12, ground - 189);
  cairo_line_to(cr.get(), centerX - 6, ground - 185);
  cairo_close_path(cr.get());
  cairo_fill(cr.get());

  std::vector<std::array<double, 2>> windows;
  Random random(950);
  for (const auto& t : kTowers) {
    for (double y = ground - t.height + 10; y < ground - 16; y += 14) {
      if (random.Next() < 0.55) windows.push_back({centerX + t.offset + random.Between(-0.25, 0.25) * t.width, y});
    }
  }
  return windows;
}

Color FogColorAt(double x) { return Mix(kFog, kMoonlight, 0.25 * std::exp(-std::abs(x - kMoonX) / 500.0)); }

// A pixel of a range's rock face, `depth` pixels below its crest.
Color RockColor(const Range& range, const RangeShape& shape, double x, double y, double depth) {
  const int column = std::clamp(int(x), 0, kWidth);
  // Facets: the slope of a noise relief, lit from the moon's side, gives the rock its planes.
  const double sx = x / 55.0, sy = y / 38.0;
  const double relief = RidgedNoise(sx, sy, range.seed + 10, 4);
  const double reliefX = RidgedNoise(sx + 0.02, sy, range.seed + 10, 4) - relief;
  const double reliefY = RidgedNoise(sx, sy + 0.02, range.seed + 10, 4) - relief;
  const double towardsMoon = x < kMoonX ? 1 : -1;
  const double facet = std::clamp((reliefX * towardsMoon - reliefY * 0.6) * 35, -1.0, 1.0);
  const double grain = FractalNoise(x / 9.0, y / 9.0, range.seed + 11, 2) - 0.5;

  // The crest's large faces dominate near the top and fade into the relief lower down.
  const double face = shape.facing[column] * std::exp(-depth / 260.0);
  const double lit = std::clamp(0.65 * face + 0.45 * facet, -1.0, 1.0);
  const double nearMoon = 0.4 + 0.6 * std::exp(-std::abs(x - kMoonX) / 650.0);

  Color color = range.color;
  const double shade = 0.85 + 0.25 * (relief - 0.5) + 0.12 * grain;
  color = {color.r * shade, color.g * shade, color.b * shade};
  if (lit > 0) {
    color = Mix(color, {kMoonlight.r * 0.55, kMoonlight.g * 0.55, kMoonlight.b * 0.55}, range.light * 0.35 * lit * nearMoon);
  } else {
    color = Mix(color, {0, 0, 0.02}, range.light * 0.35 * -lit);
  }
  // A thin bright edge where a lit face meets the sky.
  const double rim = range.light * std::max(0.0, 0.3 + face) * nearMoon * std::exp(-depth / 3.5);
  color = Mix(color, kMoonlight, 0.45 * std::min(1.0, rim));

  if (range.snow > 0) {
    // Snow on the high peaks, reaching further down the gullies, ragged at its lower edge.
    const double height = std::clamp((range.base - shape.crest[column]) / range.amplitude + 0.3, 0.0, 1.2);
    const double reach = range.snow * 120 * height * height;
    const double gully = SmoothStep(0.55, 0.8, RidgedNoise(x / 16.0 + y / 40.0, y / 70.0, range.seed + 12, 3));
    const double ragged = 60 * (FractalNoise(x / 30.0, y / 20.0, range.seed + 13, 4) - 0.5);
    const double cover = 1 - SmoothStep(reach * 0.55, reach * (1 + 0.5 * gully), depth + ragged);
    const Color snow = Mix({0.30, 0.34, 0.50}, {0.72, 0.77, 0.94}, std::clamp(0.5 + 0.7 * lit, 0.0, 1.0) * nearMoon);
    color = Mix(color, snow, 0.9 * cover * SmoothStep(0.3, 0.5, relief + 0.2 * gully));
  }

  // Distance haze, and fog settling in the valleys, drifting thinner and thicker.
  const double drift = FractalNoise(x / 260.0, y / 60.0, range.seed + 14, 4);
  const double valley = range.valleyFog * SmoothStep(25, 200, depth) * (0.4 + 0.9 * drift);
  return Mix(color, FogColorAt(x), std::clamp(range.haze + (1 - range.haze) * valley, 0.0, 0.92));
}

// Trees and castle stand out as dark shapes against what lies behind them.
Color SilhouetteColor(const Range& range, double x) {
  const Color dark{range.color.r * 0.7, range.color.g * 0.7, range.color.b * 0.7};
  return Mix(dark, FogColorAt(x), range.haze * 0.8);
}

// A bank of mist along the foot of a range, in wisps; further down the next range hides it.
double Mist(const Range& range, double x, double y) {
  const double foot = range.base + range.amplitude * 0.25;
  const double profile = SmoothStep(foot - 110, foot, y) * (1 - SmoothStep(foot + 40, foot + 180, y));
  const double wisps = SmoothStep(0.35, 0.75, FractalNoise(x / 340.0, y / 45.0, range.seed + 20, 5));
  return range.mist * profile * wisps;
}

double CrestCoverage(const std::vector<double>& crest, int x, int y) {
  const double slope = (crest[std::min(x + 1, kWidth)] - crest[std::max(x - 1, 0)]) / 2;
  return std::clamp(0.5 + (y + 0.5 - crest[x]) / std::sqrt(1 + slope * slope), 0.0, 1.0);
}

void PaintRanges(Canvas& canvas) {
  std::vector<RangeShape> shapes;
  for (int i = 0; i < kRangeCount; ++i) {
    auto crest = Crest(kRanges[i], i);
    auto facing = Facing(crest);
    shapes.push_back({std::move(crest), std::move(facing), std::nullopt});
  }
  shapes[kCastleRange].extras.emplace(kWidth, kHeight);
  const auto windows = Castle(*shapes[kCastleRange].extras, shapes[kCastleRange].crest, kCastleX);
  for (int i : kTreeRanges) shapes[i].extras = Trees(shapes[i].crest, i);

  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      std::array<double, kRangeCount> rock, extra;
      int first = 0;  // the farthest range still visible here
      for (int i = 0; i < kRangeCount; ++i) {
        rock[i] = CrestCoverage(shapes[i].crest, x, y);
        extra[i] = shapes[i].extras ? (shapes[i].extras->Row(y)[x] >> 24) / 255.0 : 0.0;
        if (rock[i] >= 1 || (extra[i] >= 1 && y < shapes[i].crest[x])) first = i;
      }
      for (int i = first; i < kRangeCount; ++i) {
        if (i == kFirstNearRange && first < kFirstNearRange) canvas.Add(x, y, kMoonlight, RayLight(x, y));
        if (rock[i] > 0) {
          const double depth = std::max(0.0, y - shapes[i].crest[x]);
          canvas.Blend(x, y, RockColor(kRanges[i], shapes[i], x, y, depth), rock[i]);
        }
        // Castle and trees rise out of the rock: below the crest they fade into it.
        const double rooted = extra[i] * (1 - SmoothStep(0, 16, y - shapes[i].crest[x]));
        if (rooted > 0) canvas.Blend(x, y, SilhouetteColor(kRanges[i], x), rooted);
        if (kRanges[i].mist > 0) canvas.Blend(x, y, FogColorAt(x), Mist(kRanges[i], x, y));
      }
    }
  }

  for (const auto& w : windows) {
    PaintStar(canvas, w[0], w[1], 0.9, 0.9, kWindowLight, false);
    PaintStar(canvas, w[0], w[1], 4.0, 0.06, kWindowLight, false);
  }
}

// --- finish ----------------------------------------------------------------------------------

// Darkens the edges, most of all the left column and the bottom band where text is drawn.
void PaintVignette(Canvas& canvas) {
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const double u = (x - 0.62 * kWidth) / (0.75 * kWidth), v = (y - 0.42 * kHeight) / (0.75 * kHeight);
      const double edge = SmoothStep(0.35, 1.15, std::sqrt(u * u + v * v));
      const double left = 1 - SmoothStep(0, 760, x);
      const double top = 1 - SmoothStep(0, 90, y);
      const double keep = (1 - 0.6 * edge) * (1 - 0.4 * left) * (1 - 0.35 * top);
      float* p = canvas.At(x, y);
      for (int c = 0; c < 3; ++c) p[c] = float(p[c] * keep);
    }
  }
}

// Quantises with a little seeded noise so the dark gradients do not show bands.
Image Quantise(Canvas& canvas) {
  Image image(kWidth, kHeight);
  Random random(99);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const float* p = canvas.At(x, y);
      std::uint8_t c[3];
      for (int i = 0; i < 3; ++i) {
        const double dither = (random.Next() + random.Next() - 1.0) * 0.6;
        c[i] = static_cast<std::uint8_t>(std::clamp(std::lround(std::clamp(double(p[i]), 0.0, 1.0) * 255 + dither), 0L, 255L));
      }
      image.Set(x, y, {c[0], c[1], c[2], 255});
    }
  }
  return image;
}

}  // namespace

void PaintBackground(const ImageFolder& images) {
  Canvas canvas;
  PaintSky(canvas);
  PaintStars(canvas);
  PaintMoon(canvas);
  PaintRanges(canvas);
  PaintVignette(canvas);
  images.Save(Quantise(canvas), "152_background.png");
}

}  // namespace vexmor::artgen
