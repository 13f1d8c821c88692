// The state of the hundred figures and the window-independent part of the program: start-up
// of the figures, the idle stepping with its clock and report, and the keys.
#pragma once

#include <cstdint>
#include <ostream>

#include "model/model.h"

constexpr int kFigureCount = 100;
constexpr int kGridSide = 10;

// Indexed [figure][joint]; figure f = 10 * column + row.
struct FigureGrid {
  double momenta[kFigureCount][kJointCount];
  double angles[kFigureCount][kJointCount];  // radians
  double initialVelocities[kFigureCount][kJointCount];
};

// The external forcing that the arrow keys select.
struct ForcingFlags {
  int32_t verticalMode = 0;         // 0 or 1
  int32_t horizontalDirection = 0;  // -1, 0 or +1
};

struct Simulation {
  Model model;
  Workspace workspace;
  FigureGrid grid = {};
  ForcingFlags forcing;
  double simulatedTime = 0.0;  // seconds
  int64_t idleCount = 0;
  int32_t stepsPerRedraw = 3;  // report and redraw on every stepsPerRedraw-th idle call
  double startTime = 0.0;      // clock reading at the end of start-up, milliseconds
};

// Wall-clock milliseconds since the process started.
int64_t clockMillis();
using MillisClock = int64_t (*)();

// Start-up of the figures: every figure at angles (-1.57, 0, ..., 0) with zero joint
// velocities, the model built, and the velocities turned into momenta.
void initialiseFigures(Simulation& sim);

// One idle call: steps all hundred figures, column outer and row inner, and advances the
// simulated clock. On every stepsPerRedraw-th call writes "SCR=" and the ratio of simulated
// to wall-clock time to report and returns true: a redraw is due.
bool idleStep(Simulation& sim, std::ostream& report, MillisClock clock);

// Special-key codes as the windowing toolkit delivers them.
constexpr int kKeyLeft = 100;
constexpr int kKeyUp = 101;
constexpr int kKeyRight = 102;
constexpr int kKeyDown = 103;

// Left and Right set the horizontal direction, Up clears both flags, Down sets vertical mode 1
// and clears the direction; other keys change nothing.
void applySpecialKey(ForcingFlags& forcing, int key);

// One step fewer per redraw, never below 1; one step more, up to the largest int32.
void slowerRedraw(Simulation& sim);
void fasterRedraw(Simulation& sim);
