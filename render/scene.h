// Drawing the grid of figures and the fixed camera.
#pragma once

#include "model/model.h"
#include "render/sprite.h"

// Tilt of every head, in degrees, advanced once per drawn figure.
struct HeadWobble {
  float headWobble = 0.0f;
  float headWobbleStep = 0.01f;  // only its sign ever changes
};

// s = headWobble + headWobbleStep * 0.1 in double; turns back past +-6 degrees.
void advanceHeadWobble(HeadWobble& wobble);

// Viewport, perspective projection and camera for a window of width by height pixels, seen
// from the eye. A height of 0 (a minimised window) is skipped.
void reshapeScene(int width, int height, double eyeX, double eyeY, double eyeZ);

// Draws the hundred figures from their joint angles ([figure][joint], f = 10 * column + row).
// Does not swap buffers.
void drawScene(const double (*angles)[kJointCount], HeadWobble& wobble);

// One sprite as a quad at the origin of the current model-view matrix.
void drawSprite(const Sprite& sprite);
