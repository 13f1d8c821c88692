// Steps shared by the momentum conversion and the dynamics evaluation.
#pragma once

#include "model/model.h"
#include "spatial/joint_transform.h"
#include "spatial/rigid_body.h"
#include "spatial/sine_table.h"

// jointSin and jointCos of every joint angle, from the table.
inline void jointSinesAndCosines(Workspace& ws, const double* q) {
  for (int k = 0; k < kJointCount; ++k) {
    ws.jointSin[k] = tableSin(q[k]);
    ws.jointCos[k] = tableCos(q[k]);
  }
}

// parentVelocity[b] = X_b V: the parent's velocity V carried across joint b.
inline void parentVelocityInBody(const Model& model, Workspace& ws, int b, const SpatialVector& V) {
  const JointFrame& f = model.body[b].jointFrame;
  motionToChildFrame(ws.body[b].parentVelocity, V, f.offsetX, f.depth, f.twistSin, f.twistCos,
                     ws.jointSin[b], ws.jointCos[b]);
}

// out = X_b^T in: a force-type vector of body b carried to its parent's frame.
inline void forceToParentOf(const Model& model, const Workspace& ws, int b, SpatialVector& out,
                            const SpatialVector& in) {
  const JointFrame& f = model.body[b].jointFrame;
  forceToParentFrame(out, in, f.offsetX, f.depth, f.twistSin, f.twistCos, ws.jointSin[b],
                     ws.jointCos[b]);
}
