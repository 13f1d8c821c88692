// One time step of one figure.
#pragma once

#include <cstdint>

#include "model/model.h"

constexpr double kTimeStep = 0.0105;  // seconds

// Advances the figure in column i, row j in place: sets its forcing, then three evaluations.
// The change is dt/2 rate1 + dt rate2 + dt/2 rate3 (weights adding to 2 dt): a Heun step
// followed by a second trapezoidal update from the Heun result.
void stepFigure(const Model& model, Workspace& ws, double* p, double* q, int32_t verticalMode,
                int32_t horizontalDirection, int32_t i, int32_t j);
