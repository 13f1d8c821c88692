#include "dynamics/time_step.h"

#include "dynamics/controller.h"
#include "dynamics/evaluation.h"

void stepFigure(const Model& model, Workspace& ws, double* p, double* q, int32_t verticalMode,
                int32_t horizontalDirection, int32_t i, int32_t j) {
  setForcing(ws, verticalMode, horizontalDirection, i, j);
  integrateStep(p, q, [&](const double* pIn, const double* qIn, double* pdot, double* qdot) {
    evaluateDynamics(model, ws, pIn, qIn, pdot, qdot);
  });
}
