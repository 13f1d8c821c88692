// Generalized momenta from joint velocities.
#pragma once

#include "model/model.h"

// p = M(q) qdot for one figure, by an outward velocity pass and an inward sum of subtree
// momenta, without forming M. Each argument points to 13 doubles.
void computeMomenta(const Model& model, Workspace& ws, double* p, const double* q,
                    const double* qdot);
