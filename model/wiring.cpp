#include <cstdio>
#include <cstdlib>

#include "model/model.h"

namespace {

void createLists(BodyScratch& body) {
  body.inertiaChildren.create();
  body.biasChildren.create();
  body.forceChildren.create();
  body.momentumChildren.create();
}

// Appends the child's four to-parent records to the parent's four lists.
void registerChild(BodyScratch& parent, const BodyScratch& child) {
  const bool appended = parent.inertiaChildren.append(&child.inertiaToParent) &&
                        parent.biasChildren.append(&child.biasToParent) &&
                        parent.forceChildren.append(&child.forceToParent) &&
                        parent.momentumChildren.append(&child.momentumToParent);
  if (!appended) {
    std::fprintf(stderr, "figures: a body has more than %d children\n", kMaxChildren);
    std::abort();
  }
}

// One chain of three bodies hanging from the Torso: lists first, then leaf to root.
void wireChain(Workspace& ws, int upper, int lower, int end) {
  createLists(ws.body[upper]);
  createLists(ws.body[lower]);
  createLists(ws.body[end]);
  registerChild(ws.body[lower], ws.body[end]);
  registerChild(ws.body[upper], ws.body[lower]);
  registerChild(ws.body[kTorso], ws.body[upper]);
}

}  // namespace

void wireTree(Workspace& ws) {
  createLists(ws.body[kTorso]);
  wireChain(ws, kRightUpperArm, kRightLowerArm, kRightHand);
  wireChain(ws, kLeftUpperArm, kLeftLowerArm, kLeftHand);
  wireChain(ws, kRightUpperLeg, kRightLowerLeg, kRightFoot);
  wireChain(ws, kLeftUpperLeg, kLeftLowerLeg, kLeftFoot);
}
