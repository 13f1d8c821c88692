// figures-headless: the simulation without a window, for servers, benchmarks and
// reproducible runs. Same start-up, stepping and report as the windowed program.
#include <cstdio>
#include <iostream>
#include <string>

#include "app/runner_options.h"
#include "app/simulation.h"

namespace {

Simulation sim;

void press(RunnerKey key) {
  switch (key) {
    case RunnerKey::kLeft:
      applySpecialKey(sim.forcing, kKeyLeft);
      break;
    case RunnerKey::kRight:
      applySpecialKey(sim.forcing, kKeyRight);
      break;
    case RunnerKey::kUp:
      applySpecialKey(sim.forcing, kKeyUp);
      break;
    case RunnerKey::kDown:
      applySpecialKey(sim.forcing, kKeyDown);
      break;
    case RunnerKey::kSlower:
      slowerRedraw(sim);
      break;
    case RunnerKey::kFaster:
      fasterRedraw(sim);
      break;
  }
}

// 100 lines, figure 0 to 99: the 13 angles then the 13 momenta, %.17g, single spaces.
bool writeDump(std::FILE* out) {
  for (int f = 0; f < kFigureCount; ++f) {
    for (int k = 0; k < kJointCount; ++k) std::fprintf(out, "%.17g ", sim.grid.angles[f][k]);
    for (int k = 0; k < kJointCount; ++k) {
      std::fprintf(out, k + 1 < kJointCount ? "%.17g " : "%.17g\n", sim.grid.momenta[f][k]);
    }
  }
  return std::fflush(out) == 0 && !std::ferror(out);
}

int fail(const std::string& message, int status) {
  std::cerr << "figures-headless: " << message << '\n';
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  RunnerOptions options;
  std::string error;
  if (!parseRunnerOptions(argc, argv, options, error)) {
    std::cerr << "figures-headless: " << error << '\n' << kRunnerUsage;
    return 2;
  }

  // Open the dump first, so that a bad path costs no run.
  const bool dumpToStdout = options.dumpPath == "-";
  std::FILE* dump = nullptr;
  if (!options.dumpPath.empty()) {
    dump = dumpToStdout ? stdout : std::fopen(options.dumpPath.c_str(), "w");
    if (dump == nullptr) return fail("cannot open the dump file '" + options.dumpPath + "'", 1);
  }

  initialiseFigures(sim);
  std::ostream silent(nullptr);  // no buffer: every write is dropped
  std::ostream& report = options.quiet ? silent : std::cout;
  sim.startTime = static_cast<double>(clockMillis());

  size_t nextKey = 0;
  for (int64_t call = 1; call <= options.steps; ++call) {
    while (nextKey < options.keys.size() && options.keys[nextKey].step == call) {
      press(options.keys[nextKey++].key);
    }
    idleStep(sim, report, clockMillis);
  }
  const double wallMillis = static_cast<double>(clockMillis()) - sim.startTime;

  if (!options.quiet) {
    std::printf("idle calls %lld, simulated %.4f s, wall %.4f s, ratio %.4g",
                static_cast<long long>(options.steps), sim.simulatedTime, wallMillis / 1000.0,
                sim.simulatedTime / wallMillis * 1000.0);
    if (options.steps > 0) {
      const double calls = static_cast<double>(options.steps);
      std::printf(", %.2f us per idle call, %.1f ns per evaluation", wallMillis * 1000.0 / calls,
                  wallMillis * 1e6 / (calls * 3.0 * kFigureCount));
    }
    std::printf("\n");
    std::fflush(stdout);
  }

  if (dump != nullptr) {
    const bool written = writeDump(dump);
    const bool closed = dumpToStdout || std::fclose(dump) == 0;
    if (!written || !closed)
      return fail("cannot write the dump file '" + options.dumpPath + "'", 1);
  }
  return 0;
}
