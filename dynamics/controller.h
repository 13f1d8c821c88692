// Posture-holding joint torques and the per-figure external forcing.
#pragma once

#include <cstdint>

#include "model/model.h"

// jointTorque[k] = stiffness[k] (target[k] - q[k]) - damping[k] qdot[k]; joint 0 is damped
// by torsoDamping, the other joints by 5.1.
void postureTorques(double* jointTorque, const double* qdot, const double* q, double torsoDamping);

// Sets ws.torsoDamping = i + j + 3 and the external torques that the forcing selects for the
// figure in column i, row j.
void setForcing(Workspace& ws, int32_t verticalMode, int32_t horizontalDirection, int32_t i,
                int32_t j);
