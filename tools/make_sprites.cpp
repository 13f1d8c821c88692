// Draws the fourteen body-part pictures of the figures and writes them as 32-bit uncompressed
// TGA files, alpha 255 inside each shape and 0 outside.
//   make_sprites OUTPUT-FOLDER
//
// Every picture is drawn in its own body's coordinates: x runs from the body's joint towards
// the next joint of its chain, y across it, in scene units. The drawing puts texel (s, t) of
// a W by H picture at x = (0.95 - t) * W / 128, y = (s - 0.5) * H / 128, where s runs along
// the columns and t along the rows (t = 0 is the first row in the file), so the picture's
// width in pixels sets its length and its height its thickness.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "render/sprite.h"
#include "tools/tga_file.h"

namespace {

struct Point {
  double x, y;
};

struct Rgb {
  unsigned char r, g, b;
};

enum class Kind { kCapsule, kEllipse, kPolygon };

// A shape by its signed distance: negative inside, in scene units.
struct Shape {
  Kind kind;
  std::vector<Point> points;  // capsule: its two ends; ellipse: its centre; polygon: corners
  double a = 0.0;             // capsule: radius at the first end; ellipse: semi-axis along x;
                              // polygon: rounding radius added all round
  double b = 0.0;             // capsule: radius at the second end; ellipse: semi-axis along y
};

struct Part {
  Shape shape;
  Rgb colour;
  bool detail = false;  // painted only inside the outline of the other parts; adds no alpha
};

struct SpriteArt {
  int widthPx;              // along x, the body's length: 128 pixels per unit
  int heightPx;             // along y, the body's thickness
  std::vector<Part> parts;  // painted in order, later over earlier
};

Shape capsule(Point from, double fromRadius, Point to, double toRadius) {
  return {Kind::kCapsule, {from, to}, fromRadius, toRadius};
}
Shape ellipse(Point centre, double semiX, double semiY) {
  return {Kind::kEllipse, {centre}, semiX, semiY};
}
Shape roundedPolygon(std::vector<Point> corners, double rounding) {
  return {Kind::kPolygon, std::move(corners), rounding, 0.0};
}

constexpr Rgb kSkin{235, 190, 150};
constexpr Rgb kHair{95, 60, 35};
constexpr Rgb kEyes{35, 35, 50};
constexpr Rgb kMouth{180, 70, 60};
constexpr Rgb kShirt{45, 95, 190};
constexpr Rgb kBelt{60, 40, 25};
constexpr Rgb kSleeve{50, 150, 70};
constexpr Rgb kTrousers{130, 35, 35};
constexpr Rgb kShoes{70, 45, 30};

// Width of the darker band inside every outline, in scene units.
constexpr double kOutlineBand = 0.07;
constexpr double kOutlineShade = 0.55;

// The pictures in sprite order. Joints of the chains: shoulders at (0.2, -+0.7) and hips at
// (3.5, -+0.4) of the torso; elbows at (1.7, -+0.1) of the upper arms; wrists at (1.6, 0),
// knees and ankles at (1.6, 0). Each segment ends in a disc around the next joint at least as
// wide as the next segment's start, so bent joints show no gap. The head is drawn turned by
// -90 degrees at (-1.8, -0.2) of the hanging figure: its x runs downwards from above the hair
// and its y = 0.2 lies over the torso's centre line.
std::array<SpriteArt, kSpriteCount> spriteArt() {
  return {{
      // 0 Torso: shoulders 1.76 wide, waist, hips; covers the limbs' joint ends.
      {508,
       240,
       {{roundedPolygon(
             {{0.15, -0.62}, {0.15, 0.62}, {2.2, 0.42}, {3.48, 0.48}, {3.48, -0.48}, {2.2, -0.42}},
             0.26),
         kShirt},
        {roundedPolygon({{2.95, -1.0}, {2.95, 1.0}, {3.15, 1.0}, {3.15, -1.0}}, 0.0), kBelt,
         true}}},
      // 1 RightUpperArm, to the elbow at (1.7, -0.1).
      {256, 80, {{capsule({0.0, 0.0}, 0.19, {1.7, -0.1}, 0.17), kSleeve}}},
      // 2 RightLowerArm, to the wrist.
      {240, 48, {{capsule({0.0, 0.0}, 0.17, {1.6, 0.0}, 0.15), kSleeve}}},
      // 3 RightHand.
      {88,
       56,
       {{capsule({0.0, 0.0}, 0.15, {0.25, 0.0}, 0.15), kSkin},
        {ellipse({0.36, 0.0}, 0.27, 0.2), kSkin}}},
      // 4 LeftUpperArm, to the elbow at (1.7, 0.1).
      {256, 80, {{capsule({0.0, 0.0}, 0.19, {1.7, 0.1}, 0.17), kSleeve}}},
      // 5 LeftLowerArm.
      {240, 48, {{capsule({0.0, 0.0}, 0.17, {1.6, 0.0}, 0.15), kSleeve}}},
      // 6 LeftHand.
      {88,
       56,
       {{capsule({0.0, 0.0}, 0.15, {0.25, 0.0}, 0.15), kSkin},
        {ellipse({0.36, 0.0}, 0.27, 0.2), kSkin}}},
      // 7 RightUpperLeg, to the knee.
      {248, 64, {{capsule({0.0, 0.0}, 0.23, {1.6, 0.0}, 0.2), kTrousers}}},
      // 8 RightLowerLeg, to the ankle.
      {244, 56, {{capsule({0.0, 0.0}, 0.2, {1.6, 0.0}, 0.17), kTrousers}}},
      // 9 RightFoot: a shoe turned outwards (towards -y).
      {72,
       96,
       {{capsule({0.0, 0.0}, 0.17, {0.2, 0.0}, 0.17), kShoes},
        {ellipse({0.3, -0.08}, 0.2, 0.28), kShoes}}},
      // 10 LeftUpperLeg.
      {248, 64, {{capsule({0.0, 0.0}, 0.23, {1.6, 0.0}, 0.2), kTrousers}}},
      // 11 LeftLowerLeg.
      {244, 56, {{capsule({0.0, 0.0}, 0.2, {1.6, 0.0}, 0.17), kTrousers}}},
      // 12 LeftFoot: turned outwards (towards +y).
      {72,
       96,
       {{capsule({0.0, 0.0}, 0.17, {0.2, 0.0}, 0.17), kShoes},
        {ellipse({0.3, 0.08}, 0.2, 0.28), kShoes}}},
      // 13 Head: hair behind the face, the neck reaching down over the torso's top.
      {256,
       224,
       {{ellipse({0.56, 0.2}, 0.56, 0.64), kHair},
        {capsule({1.2, 0.2}, 0.21, {1.68, 0.2}, 0.21), kSkin},
        {ellipse({0.82, 0.2}, 0.64, 0.55), kSkin},
        {ellipse({0.72, -0.01}, 0.08, 0.065), kEyes, true},
        {ellipse({0.72, 0.41}, 0.08, 0.065), kEyes, true},
        {ellipse({1.17, 0.2}, 0.045, 0.17), kMouth, true}}},
  }};
}

double dot(Point p, Point q) {
  return p.x * q.x + p.y * q.y;
}
Point minus(Point p, Point q) {
  return {p.x - q.x, p.y - q.y};
}

// Distance to the segment between the ends, less the radius interpolated along it.
double capsuleDistance(const Shape& shape, Point p) {
  const Point from = shape.points[0];
  const Point axis = minus(shape.points[1], from);
  const Point rel = minus(p, from);
  const double along = std::clamp(dot(rel, axis) / dot(axis, axis), 0.0, 1.0);
  const Point off = {rel.x - along * axis.x, rel.y - along * axis.y};
  return std::sqrt(dot(off, off)) - (shape.a + along * (shape.b - shape.a));
}

// Approximate distance: k0 (k0 - 1) / k1 with k0 = |p / r| and k1 = |p / r^2|.
double ellipseDistance(const Shape& shape, Point p) {
  const Point q = minus(p, shape.points[0]);
  const double k0 = std::hypot(q.x / shape.a, q.y / shape.b);
  const double k1 = std::hypot(q.x / (shape.a * shape.a), q.y / (shape.b * shape.b));
  if (k1 == 0.0) return -std::min(shape.a, shape.b);
  return k0 * (k0 - 1.0) / k1;
}

// Exact distance to the polygon's edges, negative inside by the crossing rule, less rounding.
double polygonDistance(const Shape& shape, Point p) {
  const std::vector<Point>& v = shape.points;
  double nearest = dot(minus(p, v[0]), minus(p, v[0]));
  double sign = 1.0;
  for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
    const Point edge = minus(v[j], v[i]);
    const Point rel = minus(p, v[i]);
    const double along = std::clamp(dot(rel, edge) / dot(edge, edge), 0.0, 1.0);
    const Point off = {rel.x - along * edge.x, rel.y - along * edge.y};
    nearest = std::min(nearest, dot(off, off));
    const bool above = p.y >= v[i].y;
    const bool below = p.y < v[j].y;
    const bool left = edge.x * rel.y > edge.y * rel.x;
    if ((above && below && left) || (!above && !below && !left)) sign = -sign;
  }
  return sign * std::sqrt(nearest) - shape.a;
}

double distance(const Shape& shape, Point p) {
  switch (shape.kind) {
    case Kind::kCapsule:
      return capsuleDistance(shape, p);
    case Kind::kEllipse:
      return ellipseDistance(shape, p);
    case Kind::kPolygon:
      return polygonDistance(shape, p);
  }
  return 1.0;
}

Rgb shaded(Rgb c) {
  const auto shade = [](unsigned char v) {
    return static_cast<unsigned char>(std::lround(v * kOutlineShade));
  };
  return {shade(c.r), shade(c.g), shade(c.b)};
}

// The picture as a complete TGA file: 18-byte header, then rows of B G R A.
std::vector<unsigned char> drawTga(const SpriteArt& art) {
  const int width = art.widthPx;
  const int height = art.heightPx;
  std::vector<unsigned char> file = tgaHeader(width, height, 32);
  file.resize(18 + static_cast<size_t>(width) * height * 4, 0);

  const double w = width / 128.0;
  const double h = height / 128.0;
  // Transparent texels carry the outline colour, so that filtering blends no foreign colour
  // into the edge.
  const Rgb outside = shaded(art.parts.front().colour);
  unsigned char* out = file.data() + 18;
  for (int row = 0; row < height; ++row) {
    const double t = (row + 0.5) / height;
    for (int column = 0; column < width; ++column) {
      const double s = (column + 0.5) / width;
      const Point p = {(0.95 - t) * w, (s - 0.5) * h};
      double inside = 1.0;  // distance to the union of the outline parts
      for (const Part& part : art.parts) {
        if (!part.detail) inside = std::min(inside, distance(part.shape, p));
      }
      Rgb colour = outside;
      for (const Part& part : art.parts) {
        if (distance(part.shape, p) < 0.0 && (!part.detail || inside < 0.0)) colour = part.colour;
      }
      const bool opaque = inside < 0.0;
      if (opaque && inside > -kOutlineBand) colour = shaded(colour);
      *out++ = colour.b;
      *out++ = colour.g;
      *out++ = colour.r;
      *out++ = opaque ? 255 : 0;
    }
  }
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sprites OUTPUT-FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "make_sprites: cannot create folder %s: %s\n", folder.c_str(),
                 error.message().c_str());
    return 1;
  }

  const std::array<SpriteArt, kSpriteCount> art = spriteArt();
  for (int k = 0; k < kSpriteCount; ++k) {
    const std::filesystem::path path = folder / kSpriteFileNames[k];
    const std::string reason = writeFile(path, drawTga(art[k]));
    if (!reason.empty()) {
      std::fprintf(stderr, "make_sprites: cannot write %s: %s\n", path.c_str(), reason.c_str());
      return 1;
    }
  }
  return 0;
}
