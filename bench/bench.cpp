// Speed of the table lookup, the two recursions, one figure step and one idle call.
#include <benchmark/benchmark.h>

#include <ostream>

#include "app/simulation.h"
#include "dynamics/evaluation.h"
#include "dynamics/momenta.h"
#include "dynamics/time_step.h"
#include "spatial/sine_table.h"

namespace {

// A figure in motion: angles and momenta away from the rest state.
struct MovingFigure {
  double q[kJointCount], p[kJointCount], qdot[kJointCount];
  MovingFigure() {
    for (int k = 0; k < kJointCount; ++k) {
      q[k] = 0.3 * k - 1.57;
      qdot[k] = 0.1 * (k % 5) - 0.2;
      p[k] = 0.05 * k - 0.3;
    }
  }
};

Simulation& simulation() {
  static Simulation* sim = [] {
    auto* s = new Simulation;
    initialiseFigures(*s);
    return s;
  }();
  return *sim;
}

void BM_tableSin(benchmark::State& state) {
  buildSineTable(kSineTableSize);
  double x = -7.0, sum = 0.0;
  for (auto _ : state) {
    sum += tableSin(x);
    x += 0.001;
    if (x > 7.0) x = -7.0;
  }
  benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_tableSin);

void BM_computeMomenta(benchmark::State& state) {
  Simulation& sim = simulation();
  MovingFigure fig;
  for (auto _ : state) {
    computeMomenta(sim.model, sim.workspace, fig.p, fig.q, fig.qdot);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_computeMomenta);

void BM_evaluateDynamics(benchmark::State& state) {
  Simulation& sim = simulation();
  MovingFigure fig;
  double pdot[kJointCount], qdot[kJointCount];
  for (auto _ : state) {
    evaluateDynamics(sim.model, sim.workspace, fig.p, fig.q, pdot, qdot);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_evaluateDynamics);

void BM_stepFigure(benchmark::State& state) {
  Simulation& sim = simulation();
  MovingFigure fig;
  for (auto _ : state) {
    stepFigure(sim.model, sim.workspace, fig.p, fig.q, 0, 1, 4, 7);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_stepFigure);

void BM_idleCall(benchmark::State& state) {
  Simulation& sim = simulation();
  std::ostream silent(nullptr);
  for (auto _ : state) idleStep(sim, silent, clockMillis);
}
BENCHMARK(BM_idleCall)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
