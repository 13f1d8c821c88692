#include "app/simulation.h"

#include <chrono>
#include <limits>

#include "dynamics/momenta.h"
#include "dynamics/time_step.h"

namespace {

// Taken during static initialisation, before main.
const std::chrono::steady_clock::time_point processStart = std::chrono::steady_clock::now();

}  // namespace

int64_t clockMillis() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               processStart)
      .count();
}

void initialiseFigures(Simulation& sim) {
  FigureGrid& grid = sim.grid;
  for (int f = 0; f < kFigureCount; ++f) {
    for (int k = 0; k < kJointCount; ++k) grid.initialVelocities[f][k] = 0.0;
  }
  for (int f = 0; f < kFigureCount; ++f) {
    for (int k = 0; k < kJointCount; ++k) grid.angles[f][k] = 0.0;
    grid.angles[f][0] = -1.57;
  }
  buildModel(sim.model, sim.workspace);
  for (int f = 0; f < kFigureCount; ++f) {
    computeMomenta(sim.model, sim.workspace, grid.momenta[f], grid.angles[f],
                   grid.initialVelocities[f]);
  }
}

bool idleStep(Simulation& sim, std::ostream& report, MillisClock clock) {
  const ForcingFlags forcing = sim.forcing;
  for (int column = 0; column < kGridSide; ++column) {
    for (int row = 0; row < kGridSide; ++row) {
      const int f = 10 * column + row;
      stepFigure(sim.model, sim.workspace, sim.grid.momenta[f], sim.grid.angles[f],
                 forcing.verticalMode, forcing.horizontalDirection, column, row);
    }
  }
  sim.simulatedTime = sim.simulatedTime + kTimeStep;
  sim.idleCount = sim.idleCount + 1;
  if (sim.idleCount % sim.stepsPerRedraw != 0) return false;

  const double now = static_cast<double>(clock());
  const double ratio = sim.simulatedTime / (now - sim.startTime) * 1000.0;
  report << "SCR=" << ratio << '\n';
  report.flush();
  return true;
}

void applySpecialKey(ForcingFlags& forcing, int key) {
  switch (key) {
    case kKeyLeft:
      forcing.horizontalDirection = -1;
      break;
    case kKeyUp:
      forcing.verticalMode = 0;
      forcing.horizontalDirection = 0;
      break;
    case kKeyRight:
      forcing.horizontalDirection = 1;
      break;
    case kKeyDown:
      forcing.verticalMode = 1;
      forcing.horizontalDirection = 0;
      break;
    default:
      break;
  }
}

void slowerRedraw(Simulation& sim) {
  sim.stepsPerRedraw = sim.stepsPerRedraw - 1 < 1 ? 1 : sim.stepsPerRedraw - 1;
}

void fasterRedraw(Simulation& sim) {
  if (sim.stepsPerRedraw < std::numeric_limits<int32_t>::max()) ++sim.stepsPerRedraw;
}
