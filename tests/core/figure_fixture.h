// One built model and workspace for the tests of the figure's dynamics.
#pragma once

#include <gtest/gtest.h>

#include "model/model.h"

class FigureTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (model == nullptr) {
      model = new Model;
      ws = new Workspace;
      buildModel(*model, *ws);
    }
  }
  void SetUp() override {
    for (double& t : ws->externalTorque) t = 0.0;
    ws->torsoDamping = 3.0;
  }
  static inline Model* model = nullptr;
  static inline Workspace* ws = nullptr;
};
