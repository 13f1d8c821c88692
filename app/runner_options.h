// Command line of the headless runner.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class RunnerKey { kLeft, kRight, kUp, kDown, kSlower, kFaster };

struct KeyPress {
  int64_t step;  // pressed just before this idle call, 1-based
  RunnerKey key;
};

struct RunnerOptions {
  int64_t steps = 3000;
  std::vector<KeyPress> keys;  // in command-line order
  std::string dumpPath;        // empty: no dump; "-": standard output
  bool quiet = false;
};

constexpr const char* kRunnerUsage =
    "usage: figures-headless [--steps N] [--key STEP:KEY]... [--dump FILE] [--quiet]\n"
    "  --steps N        idle calls to run (default 3000)\n"
    "  --key STEP:KEY   press KEY just before idle call STEP (1..N); KEY is one of\n"
    "                   left, right, up, down, slower, faster\n"
    "  --dump FILE      write the final angles and momenta, one figure per line ('-': stdout)\n"
    "  --quiet          print no report lines and no summary\n";

// Parses argv. On a bad argument returns false with a one-line message naming it in error.
bool parseRunnerOptions(int argc, char** argv, RunnerOptions& options, std::string& error);
