#include "render/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

// Radians to the degrees that the rotation calls take.
constexpr double kDegreesPerRadian = 57.29577951308232;

// Window width / height, renewed by every reshape.
float aspect = 1.0f;

// One sprite of a limb chain: where its joint sits in the parent's frame.
struct ChainLink {
  int sprite;  // also the joint whose angle turns it
  float x;
  float y;
};

// The four chains in drawing order, each from the torso outward.
constexpr ChainLink kChains[4][3] = {
    {{kRightUpperArm, 0.2f, -0.7f}, {kRightLowerArm, 1.7f, -0.1f}, {kRightHand, 1.6f, 0.0f}},
    {{kLeftUpperArm, 0.2f, 0.7f}, {kLeftLowerArm, 1.7f, 0.1f}, {kLeftHand, 1.6f, 0.0f}},
    {{kRightUpperLeg, 3.5f, -0.4f}, {kRightLowerLeg, 1.6f, 0.0f}, {kRightFoot, 1.6f, 0.0f}},
    {{kLeftUpperLeg, 3.5f, 0.4f}, {kLeftLowerLeg, 1.6f, 0.0f}, {kLeftFoot, 1.6f, 0.0f}},
};

constexpr int kHeadSprite = 13;

// Joint angle k of one figure in float degrees.
float degrees(const double* angles, int k) {
  return static_cast<float>(angles[k] * kDegreesPerRadian);
}

// One figure at the origin of the current model-view matrix; advances the head wobble.
void drawFigure(const double* angles, HeadWobble& wobble) {
  glPushMatrix();  // figure frame
  glPushMatrix();  // torso frame
  glRotatef(degrees(angles, kTorso), 0.0f, 0.0f, 1.0f);
  for (const auto& chain : kChains) {
    for (const ChainLink& link : chain) {
      glPushMatrix();
      glTranslatef(link.x, link.y, 0.0f);
      glRotatef(degrees(angles, link.sprite), 0.0f, 0.0f, 1.0f);
      drawSprite(sprites[link.sprite]);
    }
    for (int i = 0; i < 3; ++i) glPopMatrix();
  }
  // The torso last, so that it covers the inner ends of the limbs.
  drawSprite(sprites[kTorso]);
  glPopMatrix();

  // The head does not turn with the torso.
  glRotatef(wobble.headWobble - 90.0f, 0.0f, 0.0f, 1.0f);
  glTranslatef(-1.8f, -0.2f, 0.0f);
  drawSprite(sprites[kHeadSprite]);
  advanceHeadWobble(wobble);
  glPopMatrix();
}

}  // namespace

void advanceHeadWobble(HeadWobble& wobble) {
  const double s = wobble.headWobble + wobble.headWobbleStep * 0.1;
  wobble.headWobble = static_cast<float>(s);
  if (s > 6.0 || !(s >= -6.0)) wobble.headWobbleStep = -wobble.headWobbleStep;
}

void reshapeScene(int width, int height, double eyeX, double eyeY, double eyeZ) {
  // A minimised window reports height 0; keep the last projection rather than divide by it.
  if (height <= 0) return;
  aspect = static_cast<float>(width) / static_cast<float>(height);
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, aspect, 0.1, 120.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(eyeX, eyeY - 2.0, eyeZ, 0.0, -2.0, 0.0, 0.0, 1.0, 0.0);
}

void drawScene(const double (*angles)[kJointCount], HeadWobble& wobble) {
  glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  // Sprite outlines come from the alpha channel; no depth test, no blending: later sprites
  // cover earlier ones.
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.5f);
  glEnable(GL_TEXTURE_2D);

  for (int c = 0; c < 10; ++c) {
    glPushMatrix();
    glTranslatef(c * 8.0f - 35.0f, 0.0f, 0.0f);
    for (int r = 0; r < 10; ++r) {
      glPushMatrix();
      glTranslatef(0.0f, r * 9.0f - 40.0f, 0.0f);
      drawFigure(angles[10 * c + r], wobble);
      glPopMatrix();
    }
    glPopMatrix();
  }
}

void drawSprite(const Sprite& sprite) {
  // 128 pixels per scene unit.
  const double w = sprite.image.width * 0.0078125;
  const double h = sprite.image.height * 0.0078125;
  glPushMatrix();
  glBindTexture(GL_TEXTURE_2D, sprite.image.texture);
  glBegin(GL_QUADS);
  glTexCoord2d(0.0, 1.0);
  glVertex2d(-0.05 * w, -0.5 * h);
  glTexCoord2d(0.0, 0.0);
  glVertex2d(0.95 * w, -0.5 * h);
  glTexCoord2d(1.0, 0.0);
  glVertex2d(0.95 * w, 0.5 * h);
  glTexCoord2d(1.0, 1.0);
  glVertex2d(-0.05 * w, 0.5 * h);
  glEnd();
  glPopMatrix();
}
