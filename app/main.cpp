// figures: the hundred simulated figures in a window, driven by the toolkit's callbacks.
#include <GL/freeglut.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <iostream>

#include "app/simulation.h"
#include "render/scene.h"
#include "render/sprite.h"

static_assert(kKeyLeft == GLUT_KEY_LEFT && kKeyUp == GLUT_KEY_UP && kKeyRight == GLUT_KEY_RIGHT &&
                  kKeyDown == GLUT_KEY_DOWN,
              "special-key codes must be the toolkit's");

namespace {

constexpr double cameraDistance = 110.0;
constexpr double cameraAngle = 0.0;  // radians
constexpr double cameraHeight = 0.0;

constexpr unsigned char kEscape = 27;

Simulation sim;
HeadWobble wobble;
double eyeX = 0.0;
double eyeY = 0.0;
double eyeZ = 0.0;

void onDisplay() {
  drawScene(sim.grid.angles, wobble);
  glutSwapBuffers();
}

void onReshape(int width, int height) {
  reshapeScene(width, height, eyeX, eyeY, eyeZ);
}

void onSpecialKey(int key, int /*x*/, int /*y*/) {
  applySpecialKey(sim.forcing, key);
}

// '-' and '+' (or '=', the same key unshifted) change how many steps pass per redraw;
// Escape and 'q' end the program.
void onKeyboard(unsigned char key, int /*x*/, int /*y*/) {
  switch (key) {
    case '-':
      slowerRedraw(sim);
      break;
    case '+':
    case '=':
      fasterRedraw(sim);
      break;
    case kEscape:
    case 'q':
      std::exit(0);
    default:
      break;
  }
}

void onIdle() {
  if (idleStep(sim, std::cout, clockMillis)) glutPostRedisplay();
}

void startup(int argc, char** argv) {
  // A closed standard output (figures | head) must not end the program: the stream records
  // the failed write and the simulation goes on.
  std::signal(SIGPIPE, SIG_IGN);

  initialiseFigures(sim);

  eyeZ = cameraDistance * std::cos(cameraAngle);
  eyeY = cameraHeight;
  eyeX = cameraDistance * std::sin(cameraAngle);

  glutInit(&argc, argv);
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(400, 400);
  glutInitWindowPosition(100, 100);
  glutCreateWindow(argv[0]);

  for (int k = 0; k < kSpriteCount; ++k) sprites[k].fileName = kSpriteFileNames[k];
  for (int k = 0; k < kSpriteCount; ++k) loadTga(sprites[k].image, sprites[k].fileName);

  glutDisplayFunc(onDisplay);
  glutReshapeFunc(onReshape);
  glutSpecialFunc(onSpecialKey);
  glutKeyboardFunc(onKeyboard);
  glutIdleFunc(onIdle);

  sim.startTime = static_cast<double>(clockMillis());
  glutMainLoop();
}

}  // namespace

int main(int argc, char** argv) {
  startup(argc, argv);
  return 0;
}
