// The scene drawing in a real graphics context on a private virtual display: where every
// sprite lands, how its texture is laid on it, and the camera.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "render/scene.h"
#include "render/sprite.h"
#include "tests/window/x_session.h"

// The GL driver keeps memory until the process ends; leak reports would only be about it.
extern "C" const char* __lsan_default_options() {
  return "detect_leaks=0";
}

namespace {

constexpr int kSize = 400;  // window and viewport, pixels

using Rgb = std::array<int, 3>;
constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kBlack = {0, 0, 0};

// One window with a current context for the whole test program.
class GlWindow : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(display_.start(error)) << error;
    int argc = 1;
    char name[] = "scene_gl_test";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(kSize, kSize);
    window_ = glutCreateWindow("scene_gl_test");
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
  }
  // The toolkit lets go of the display before the server goes away.
  void TearDown() override {
    if (window_ != 0) glutDestroyWindow(window_);
    glutExit();
    display_.stop();
  }

 private:
  VirtualDisplay display_;
  int window_ = 0;
};

[[maybe_unused]] const auto* const glWindow = ::testing::AddGlobalTestEnvironment(new GlWindow);

// A texture of w by h RGBA texels (rows from t = 0), sampled without filtering.
GLuint makeTexture(int w, int h, const std::vector<uint8_t>& rgba) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  return texture;
}

// Sprite k's texture is 2 by 2 texels, each of its own opaque colour: red and green tell
// the sprite, blue the texel (row t, column s).
Rgb texelColour(int k, int t, int s) {
  return {20 + 16 * k, 230 - 12 * k, 40 + 60 * (2 * t + s)};
}
bool ofSprite(const Rgb& colour, int k) {
  return colour[0] == 20 + 16 * k && colour[1] == 230 - 12 * k;
}

// Every sprite gets its texture, sized width by height pixels; the torso may be sized apart
// and given another alpha.
void setSprites(uint32_t width, uint32_t height, uint32_t torsoWidth, uint32_t torsoHeight,
                uint8_t torsoAlpha = 255) {
  for (int k = 0; k < kSpriteCount; ++k) {
    std::vector<uint8_t> texels;
    for (int t = 0; t < 2; ++t) {
      for (int s = 0; s < 2; ++s) {
        for (int c : texelColour(k, t, s)) texels.push_back(static_cast<uint8_t>(c));
        texels.push_back(k == 0 ? torsoAlpha : 255);
      }
    }
    SpriteImage& image = sprites[k].image;
    if (image.texture != 0) glDeleteTextures(1, &image.texture);
    image.texture = makeTexture(2, 2, texels);
    image.width = k == 0 ? torsoWidth : width;
    image.height = k == 0 ? torsoHeight : height;
  }
}

// Orthographic view of the square [x0, x0 + side] by [y0, y0 + side] of the z = 0 plane.
void viewSquare(double x0, double y0, double side) {
  glViewport(0, 0, kSize, kSize);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(x0, x0 + side, y0, y0 + side, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

// The colour drawn at scene point (x, y) of the square last viewed.
Rgb colourAt(double x, double y, double x0, double y0, double side) {
  glFinish();
  const int px = static_cast<int>((x - x0) / side * kSize);
  const int py = static_cast<int>((y - y0) / side * kSize);
  uint8_t pixel[3] = {0, 0, 0};
  glReadPixels(px, py, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
  return {pixel[0], pixel[1], pixel[2]};
}

std::array<double, 16> currentMatrix(GLenum which) {
  std::array<double, 16> m{};
  glGetDoublev(which, m.data());
  return m;
}

// --- drawSprite -------------------------------------------------------------------------

struct SpriteSample {
  double u, v;  // position on the quad: u along x from the joint end (0) to the far end (1),
                // v along y from bottom (0) to top (1); outside 0..1 lies off the quad
  Rgb colour;
};

TEST(DrawSprite, LaysTheTextureWithTAgainstXAndSAlongY) {
  // Texels by (s, t): (0, 0) red, (1, 0) green, (0, 1) blue, (1, 1) yellow.
  const Rgb red = {255, 0, 0}, green = {0, 255, 0}, blue = {0, 0, 255}, yellow = {255, 255, 0};
  const GLuint texture =
      makeTexture(2, 2, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 0, 255});
  // t = 1 at the joint end (u = 0), s = 1 at the top (v = 1).
  const SpriteSample samples[] = {
      {0.25, 0.25, blue},   {0.25, 0.75, yellow}, {0.75, 0.25, red},    {0.75, 0.75, green},
      {-0.04, 0.5, kBlack}, {1.04, 0.5, kBlack},  {0.5, -0.08, kBlack}, {0.5, 1.08, kBlack},
  };
  struct Size {
    uint32_t width, height;
  };
  for (const Size size : {Size{128, 128}, Size{256, 64}}) {
    SCOPED_TRACE("sprite " + std::to_string(size.width) + "x" + std::to_string(size.height));
    Sprite sprite;
    sprite.image.width = size.width;
    sprite.image.height = size.height;
    sprite.image.texture = texture;
    const double w = size.width / 128.0, h = size.height / 128.0;

    viewSquare(-2.5, -2.5, 5.0);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    const auto before = currentMatrix(GL_MODELVIEW_MATRIX);
    drawSprite(sprite);
    EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), before);

    // The joint sits one twentieth of the length in from the quad's end at negative x.
    for (const SpriteSample& s : samples) {
      const double x = -0.05 * w + s.u * w;
      const double y = -0.5 * h + s.v * h;
      EXPECT_EQ(colourAt(x, y, -2.5, -2.5, 5.0), s.colour) << "at u " << s.u << ", v " << s.v;
    }
  }
  glDeleteTextures(1, &texture);
}

// --- drawScene --------------------------------------------------------------------------

// Where a sprite's quad lies: its centre relative to the figure's pivot and the direction of
// its own x axis (from its joint towards the far end).
struct Place {
  int sprite;
  double x, y;
  double axisDegrees;
};

// A point that must show the given sprite, relative to the pivot.
struct Probe {
  int sprite;
  double x, y;
};

struct PoseCase {
  const char* name;
  std::vector<std::pair<int, double>> angles;  // joint, radians; the rest 0
  uint32_t torsoWidth, torsoHeight;
  std::vector<Place> places;
  std::vector<Probe> probes;
  double viewX, viewY;  // lower left corner of the 10-unit view, relative to the pivot
};

constexpr int kHead = 13;
constexpr uint32_t kLimbWidth = 128, kLimbHeight = 48;  // 1 by 0.375 units

// The quads at all angles 0; the head always hangs from above the pivot, turned -90 degrees.
const std::vector<Place> kStraight = {
    {kTorso, 0.45, 0.0, 0},      {kRightUpperArm, 0.65, -0.7, 0}, {kRightLowerArm, 2.35, -0.8, 0},
    {kRightHand, 3.95, -0.8, 0}, {kLeftUpperArm, 0.65, 0.7, 0},   {kLeftLowerArm, 2.35, 0.8, 0},
    {kLeftHand, 3.95, 0.8, 0},   {kRightUpperLeg, 3.95, -0.4, 0}, {kRightLowerLeg, 5.55, -0.4, 0},
    {kRightFoot, 7.15, -0.4, 0}, {kLeftUpperLeg, 3.95, 0.4, 0},   {kLeftLowerLeg, 5.55, 0.4, 0},
    {kLeftFoot, 7.15, 0.4, 0},   {kHead, -0.2, 1.35, -90},
};

std::vector<Place> withChanges(std::vector<Place> places, const std::vector<Place>& changes) {
  for (const Place& c : changes) {
    for (Place& p : places) {
      if (p.sprite == c.sprite) p = c;
    }
  }
  return places;
}

const double kQuarter = std::numbers::pi / 2;

const PoseCase kPoses[] = {
    {"all joints straight", {}, kLimbWidth, kLimbHeight, kStraight, {}, -1.5, -5.0},
    // Joint 0 turns the whole body a quarter turn clockwise, (x, y) -> (y, -x); not the head.
    {"torso hanging down",
     {{kTorso, -kQuarter}},
     kLimbWidth,
     kLimbHeight,
     {{kTorso, 0.0, -0.45, -90},
      {kRightUpperArm, -0.7, -0.65, -90},
      {kRightLowerArm, -0.8, -2.35, -90},
      {kRightHand, -0.8, -3.95, -90},
      {kLeftUpperArm, 0.7, -0.65, -90},
      {kLeftLowerArm, 0.8, -2.35, -90},
      {kLeftHand, 0.8, -3.95, -90},
      {kRightUpperLeg, -0.4, -3.95, -90},
      {kRightLowerLeg, -0.4, -5.55, -90},
      {kRightFoot, -0.4, -7.15, -90},
      {kLeftUpperLeg, 0.4, -3.95, -90},
      {kLeftLowerLeg, 0.4, -5.55, -90},
      {kLeftFoot, 0.4, -7.15, -90},
      {kHead, -0.2, 1.35, -90}},
     {},
     -5.0,
     -8.0},
    // A lower arm turned a quarter turn up carries its hand with it.
    {"right elbow bent up",
     {{kRightLowerArm, kQuarter}},
     kLimbWidth,
     kLimbHeight,
     withChanges(kStraight, {{kRightLowerArm, 1.9, -0.35, 90}, {kRightHand, 1.9, 1.25, 90}}),
     {},
     -1.5,
     -5.0},
    // An upper leg turned a quarter turn down carries the lower leg and the foot.
    {"left hip bent down",
     {{kLeftUpperLeg, -kQuarter}},
     kLimbWidth,
     kLimbHeight,
     withChanges(kStraight, {{kLeftUpperLeg, 3.5, -0.05, -90},
                             {kLeftLowerLeg, 3.5, -1.65, -90},
                             {kLeftFoot, 3.5, -3.25, -90}}),
     {},
     -1.5,
     -5.0},
    // A torso of 4 by 1.5 units is drawn after the limbs and covers their inner ends.
    {"large torso over the limbs",
     {},
     512,
     192,
     {},
     {{kTorso, 0.65, -0.65},
      {kRightUpperArm, 0.65, -0.82},
      {kTorso, 3.6, -0.4},
      {kRightUpperLeg, 4.1, -0.4},
      {kLeftUpperLeg, 4.1, 0.4}},
     -1.5,
     -5.0},
};

// Figure 0 stands at (-35, -40).
constexpr double kPivotX = -35.0, kPivotY = -40.0;

void PrintTo(const PoseCase& pose, std::ostream* out) {
  *out << pose.name;
}

class DrawScene : public ::testing::TestWithParam<PoseCase> {};

TEST_P(DrawScene, PutsEveryBodyPartOfTheFigureInItsPlace) {
  const PoseCase& pose = GetParam();
  setSprites(kLimbWidth, kLimbHeight, pose.torsoWidth, pose.torsoHeight);
  static double angles[100][kJointCount];
  for (auto& figure : angles) {
    for (double& a : figure) a = 0.0;
  }
  for (const auto& [joint, angle] : pose.angles) angles[0][joint] = angle;

  const double x0 = kPivotX + pose.viewX, y0 = kPivotY + pose.viewY, side = 10.0;
  viewSquare(x0, y0, side);
  HeadWobble wobble;
  drawScene(angles, wobble);

  // The centre of each quarter of a quad shows its texel: t = 0 towards the far end, s = 1
  // on the side of the sprite's +y.
  const double w = kLimbWidth / 128.0, h = kLimbHeight / 128.0;
  for (const Place& p : pose.places) {
    const double a = p.axisDegrees * std::numbers::pi / 180.0;
    for (const int t : {0, 1}) {
      for (const int s : {0, 1}) {
        const double u = (t == 0 ? 0.25 : -0.25) * w, v = (s == 1 ? 0.25 : -0.25) * h;
        const double x = p.x + u * std::cos(a) - v * std::sin(a);
        const double y = p.y + u * std::sin(a) + v * std::cos(a);
        EXPECT_EQ(colourAt(kPivotX + x, kPivotY + y, x0, y0, side), texelColour(p.sprite, t, s))
            << "sprite " << p.sprite << " texel t " << t << ", s " << s << " at (" << x << ", " << y
            << ")";
      }
    }
  }
  for (const Probe& p : pose.probes) {
    EXPECT_TRUE(ofSprite(colourAt(kPivotX + p.x, kPivotY + p.y, x0, y0, side), p.sprite))
        << "sprite " << p.sprite << " not at (" << p.x << ", " << p.y << ")";
  }
  // Away from every sprite the background is white.
  EXPECT_EQ(colourAt(kPivotX - 1.0, kPivotY - 3.0, x0, y0, side), kWhite);
}

INSTANTIATE_TEST_SUITE_P(Poses, DrawScene, ::testing::ValuesIn(kPoses), [](const auto& info) {
  std::string name = info.param.name;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
});

TEST(DrawSceneFrame, DrawsTheHundredFiguresOnTheirGridAndAdvancesTheWobbleOncePerFigure) {
  setSprites(kLimbWidth, kLimbHeight, 128, 128);  // a torso 1 unit wide: several pixels here
  static double angles[100][kJointCount] = {};
  viewSquare(-40.0, -44.0, 90.0);
  const auto before = currentMatrix(GL_MODELVIEW_MATRIX);
  GLint depthBefore = 0, depthAfter = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);

  HeadWobble wobble;
  drawScene(angles, wobble);

  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
  EXPECT_EQ(depthAfter, depthBefore);
  EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), before);
  HeadWobble expected;
  for (int i = 0; i < 100; ++i) advanceHeadWobble(expected);
  EXPECT_EQ(wobble.headWobble, expected.headWobble);

  // Column c stands at x = 8c - 35, row r at y = 9r - 40: every torso is where it belongs.
  for (int c = 0; c < 10; ++c) {
    for (int r = 0; r < 10; ++r) {
      EXPECT_TRUE(
          ofSprite(colourAt(c * 8.0 - 35.0 + 0.45, r * 9.0 - 40.0, -40.0, -44.0, 90.0), kTorso))
          << "column " << c << ", row " << r;
    }
  }
}

TEST(DrawSceneFrame, CutsTorsoFragmentsWhoseAlphaIsNotAboveOneHalf) {
  const struct {
    uint8_t alpha;
    bool drawn;
  } cases[] = {{255, true}, {140, true}, {115, false}, {0, false}};
  for (const auto& c : cases) {
    setSprites(kLimbWidth, kLimbHeight, kLimbWidth, kLimbHeight, c.alpha);
    static double angles[100][kJointCount] = {};
    const double x0 = kPivotX - 1.5, y0 = kPivotY - 5.0, side = 10.0;
    viewSquare(x0, y0, side);
    HeadWobble wobble;
    drawScene(angles, wobble);
    const Rgb torso = colourAt(kPivotX + 0.45, kPivotY, x0, y0, side);
    if (c.drawn) {
      EXPECT_TRUE(ofSprite(torso, kTorso)) << "alpha " << int(c.alpha);
    } else {
      EXPECT_EQ(torso, kWhite) << "alpha " << int(c.alpha);
    }
    // The opaque arm is drawn either way.
    EXPECT_TRUE(ofSprite(colourAt(kPivotX + 0.65, kPivotY - 0.7, x0, y0, side), kRightUpperArm));
  }
}

// --- reshapeScene -----------------------------------------------------------------------

// Window position (origin bottom left) of a scene point under the current matrices.
std::array<double, 2> project(double x, double y, double z) {
  const auto model = currentMatrix(GL_MODELVIEW_MATRIX);
  const auto projection = currentMatrix(GL_PROJECTION_MATRIX);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  double wx = 0, wy = 0, wz = 0;
  gluProject(x, y, z, model.data(), projection.data(), viewport, &wx, &wy, &wz);
  return {wx, wy};
}

TEST(ReshapeScene, AimsA45DegreeCameraFromTheEyeAtTheGridCentre) {
  struct Window {
    int width, height;
  };
  for (const Window win : {Window{400, 400}, Window{800, 400}, Window{300, 600}}) {
    SCOPED_TRACE(std::to_string(win.width) + "x" + std::to_string(win.height));
    reshapeScene(win.width, win.height, 0.0, 0.0, 110.0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], win.width);
    EXPECT_EQ(viewport[3], win.height);

    // Pinhole at (0, -2, 110) looking down -z: a point (x, y, 0) lands at
    // centre + (x, y + 2) * f / 110 * height / 2, with f = 1 / tan(22.5 degrees).
    const double scale = 1.0 / std::tan(22.5 * std::numbers::pi / 180.0) / 110.0 * win.height / 2;
    for (const auto& [x, y] : {std::pair{0.0, -2.0}, {-35.0, -40.0}, {37.0, 41.0}}) {
      const auto at = project(x, y, 0.0);
      EXPECT_NEAR(at[0], win.width / 2.0 + x * scale, 1e-3) << "x of (" << x << ", " << y << ")";
      EXPECT_NEAR(at[1], win.height / 2.0 + (y + 2.0) * scale, 1e-3)
          << "y of (" << x << ", " << y << ")";
    }
  }
}

TEST(ReshapeScene, ToHeightZeroKeepsTheLastViewportAndCamera) {
  reshapeScene(400, 400, 0.0, 0.0, 110.0);
  const auto projection = currentMatrix(GL_PROJECTION_MATRIX);
  const auto model = currentMatrix(GL_MODELVIEW_MATRIX);

  reshapeScene(300, 0, 0.0, 0.0, 110.0);

  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 400);
  EXPECT_EQ(viewport[3], 400);
  EXPECT_EQ(currentMatrix(GL_PROJECTION_MATRIX), projection);
  EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), model);
  for (double value : currentMatrix(GL_PROJECTION_MATRIX)) EXPECT_TRUE(std::isfinite(value));
}

}  // namespace
