#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/runner_options.h"
#include "app/simulation.h"

namespace {

bool parse(std::vector<std::string> args, RunnerOptions& options, std::string& error) {
  args.insert(args.begin(), "figures-headless");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return parseRunnerOptions(static_cast<int>(args.size()), argv.data(), options, error);
}

TEST(RunnerOptions, ParsesStepsKeysDumpAndQuiet) {
  RunnerOptions o;
  std::string error;
  ASSERT_TRUE(parse({"--key", "5:left", "--steps", "10", "--key", "5:slower", "--key=10:down",
                     "--dump", "-", "--quiet"},
                    o, error))
      << error;
  EXPECT_EQ(o.steps, 10);
  ASSERT_EQ(o.keys.size(), 3u);
  EXPECT_EQ(o.keys[0].step, 5);
  EXPECT_EQ(o.keys[0].key, RunnerKey::kLeft);
  EXPECT_EQ(o.keys[1].key, RunnerKey::kSlower);
  EXPECT_EQ(o.keys[2].step, 10);
  EXPECT_EQ(o.keys[2].key, RunnerKey::kDown);
  EXPECT_EQ(o.dumpPath, "-");
  EXPECT_TRUE(o.quiet);

  ASSERT_TRUE(parse({}, o, error));
  EXPECT_EQ(o.steps, 3000);
  EXPECT_TRUE(o.keys.empty());
  EXPECT_FALSE(o.quiet);
}

TEST(RunnerOptions, BadArgumentsAreNamed) {
  struct Case {
    std::vector<std::string> args;
    std::string named;
  };
  const Case cases[] = {
      {{"--bogus"}, "'--bogus'"},
      {{"-x"}, "'-x'"},
      {{"--steps"}, "--steps"},
      {{"--steps", "ten"}, "'ten'"},
      {{"--steps", "-5"}, "'-5'"},
      {{"--steps", "12abc"}, "'12abc'"},
      {{"--steps", "99999999999999999999"}, "'99999999999999999999'"},
      {{"--key", "3:sideways"}, "'3:sideways'"},
      {{"--key", "left"}, "'left'"},
      {{"--key", "x:left"}, "'x:left'"},
      {{"--steps", "10", "--key", "11:up"}, "'11:up'"},
      {{"--key", "0:up"}, "'0:up'"},
      {{"--dump"}, "--dump"},
      {{"--dump", ""}, "--dump"},
      {{"extra"}, "'extra'"},
  };
  for (const Case& c : cases) {
    RunnerOptions o;
    std::string error;
    SCOPED_TRACE(c.args[0]);
    EXPECT_FALSE(parse(c.args, o, error));
    EXPECT_NE(error.find(c.named), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

struct Outcome {
  int status;
  std::string out, err;
};

Outcome runHeadless(const std::string& args) {
  // One file per test process: ctest runs the tests of this file in parallel.
  const std::string errPath =
      testing::TempDir() + "headless_stderr_" + std::to_string(getpid()) + ".txt";
  const std::string command = std::string(FIGURES_HEADLESS) + " " + args + " 2>" + errPath;
  Outcome run{};
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  run.status = WEXITSTATUS(pclose(pipe));
  std::ifstream err(errPath);
  run.err.assign(std::istreambuf_iterator<char>(err), {});
  return run;
}

TEST(HeadlessRunner, BadArgumentsExitWithStatusTwoAndRunNothing) {
  const std::string dump =
      testing::TempDir() + "never_written_" + std::to_string(getpid()) + ".txt";
  std::remove(dump.c_str());
  const char* cases[] = {"--unknown",   "--steps",      "--steps -1",
                         "--steps abc", "--key 1:jump", "--steps 5 --key 6:left"};
  for (const char* args : cases) {
    const Outcome run = runHeadless(std::string(args) + " --dump " + dump);
    SCOPED_TRACE(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("figures-headless: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("usage: figures-headless"), std::string::npos);
    EXPECT_FALSE(std::ifstream(dump).good());
  }
}

TEST(HeadlessRunner, UnwritableDumpFailsBeforeRunning) {
  const Outcome run = runHeadless("--steps 3 --dump /nonexistent-folder/state.txt");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("/nonexistent-folder/state.txt"), std::string::npos);
}

// Parses a dump: 100 lines of 26 numbers.
std::vector<std::vector<double>> readDump(const std::string& text) {
  std::vector<std::vector<double>> rows;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<double> row;
    std::istringstream fields(line);
    std::string field;
    while (std::getline(fields, field, ' ')) row.push_back(std::strtod(field.c_str(), nullptr));
    rows.push_back(row);
  }
  return rows;
}

TEST(HeadlessRunner, ReportsAndDumpsTheSameStateAsTheSimulation) {
  const std::string dump = testing::TempDir() + "state_" + std::to_string(getpid()) + ".txt";
  const Outcome run =
      runHeadless("--steps 30 --key 4:left --key 4:down --key 20:up --dump " + dump);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  // Ten report lines, then the summary.
  std::istringstream lines(run.out);
  std::string line;
  for (int i = 0; i < 10; ++i) {
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line.rfind("SCR=", 0), 0u) << line;
  }
  ASSERT_TRUE(std::getline(lines, line));
  EXPECT_EQ(line.rfind("idle calls 30, simulated 0.3150 s", 0), 0u) << line;

  std::ifstream file(dump);
  const std::string text((std::istreambuf_iterator<char>(file)), {});
  const auto rows = readDump(text);
  ASSERT_EQ(rows.size(), 100u);

  // The same run in this process, through the same code.
  auto* sim = new Simulation;
  initialiseFigures(*sim);
  std::ostream silent(nullptr);
  for (int call = 1; call <= 30; ++call) {
    if (call == 4) {
      applySpecialKey(sim->forcing, kKeyLeft);
      applySpecialKey(sim->forcing, kKeyDown);
    }
    if (call == 20) applySpecialKey(sim->forcing, kKeyUp);
    idleStep(*sim, silent, clockMillis);
  }
  for (int f = 0; f < kFigureCount; ++f) {
    ASSERT_EQ(rows[f].size(), 26u) << f;
    for (int k = 0; k < kJointCount; ++k) {
      EXPECT_EQ(rows[f][k], sim->grid.angles[f][k]);
      EXPECT_EQ(rows[f][13 + k], sim->grid.momenta[f][k]);
    }
  }
  delete sim;
}

TEST(HeadlessRunner, QuietDumpToStandardOutputIsTheStateAlone) {
  const Outcome run = runHeadless("--steps 3 --quiet --dump -");
  ASSERT_EQ(run.status, 0);
  const auto rows = readDump(run.out);
  ASSERT_EQ(rows.size(), 100u);
  for (const auto& row : rows) EXPECT_EQ(row.size(), 26u);
}

// A long run with the forcing switched every few thousand calls stays finite and bounded.
TEST(Soak, LongRunWithSwitchingKeysStaysFiniteAndBounded) {
  std::string args = "--steps 20000 --quiet --dump -";
  const char* keys[] = {"left", "down", "right", "up", "left", "faster", "down", "right"};
  for (int i = 0; i < 8; ++i) args += " --key " + std::to_string(1 + 2500 * i) + ":" + keys[i];
  const Outcome run = runHeadless(args);
  ASSERT_EQ(run.status, 0) << run.err;
  const auto rows = readDump(run.out);
  ASSERT_EQ(rows.size(), 100u);
  for (const auto& row : rows) {
    ASSERT_EQ(row.size(), 26u);
    for (int k = 0; k < 13; ++k) {
      EXPECT_TRUE(std::isfinite(row[k]));
      EXPECT_LT(std::fabs(row[k]), 100.0);  // angles: a few turns at most
    }
    for (int k = 13; k < 26; ++k) {
      EXPECT_TRUE(std::isfinite(row[k]));
      EXPECT_LT(std::fabs(row[k]), 1000.0);
    }
  }
}

}  // namespace
