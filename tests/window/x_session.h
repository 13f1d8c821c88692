// Test support for real windows: a private virtual X display, child processes whose output
// the test reads, and window captures as RGB pictures.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A started program; it gets SIGTERM if the test process dies first.
class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() { stop(); }

  // Starts argv[0] (a path) with the given argument vector in folder cwd. Standard output
  // goes to a pipe read by readLines, standard error to a pipe read by errorOutput.
  bool start(const std::vector<std::string>& argv, const std::string& cwd,
             const std::vector<std::string>& extraEnvironment, std::string& error);

  // Waits up to timeout until at least count complete lines have arrived on standard output.
  bool waitForLines(size_t count, std::chrono::milliseconds timeout);
  const std::vector<std::string>& lines() const { return lines_; }

  // Closes the reading end of standard output: further writes of the program fail.
  void closeOutput();

  // Everything the program wrote to standard error so far.
  std::string errorOutput();

  bool running();
  // Waits up to timeout for the program to end by itself; its wait status, if it did.
  std::optional<int> waitForExit(std::chrono::milliseconds timeout);
  // Ends the program (SIGTERM, then SIGKILL) and reaps it.
  void stop();

  pid_t pid() const { return pid_; }

 private:
  void drain(int timeoutMillis);

  pid_t pid_ = -1;
  int outFd_ = -1;
  int errFd_ = -1;
  std::string pending_;
  std::vector<std::string> lines_;
  std::string error_;
  std::optional<int> status_;
};

// An Xvfb server on a display number that it picks itself; DISPLAY is set while it runs.
class VirtualDisplay {
 public:
  bool start(std::string& error);
  void stop();
  ~VirtualDisplay() { stop(); }
  const std::string& name() const { return name_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

// Runs a shell command line (bounded by a timeout) and returns its standard output, or
// nothing if it failed.
std::optional<std::string> runCommand(const std::string& commandLine);

// An RGB picture, rows top to bottom.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;

  const uint8_t* at(int x, int y) const { return &rgb[3 * (static_cast<size_t>(y) * width + x)]; }
  bool isWhite(int x, int y) const {
    const uint8_t* p = at(x, y);
    return p[0] == 255 && p[1] == 255 && p[2] == 255;
  }
};

// Parses a binary PPM (P6, maxval 255). Returns nothing on malformed input.
std::optional<Picture> parsePpm(const std::string& data);

// The id of the top-level window with exactly this title, polled for up to timeout.
std::optional<std::string> findWindow(const std::string& title, std::chrono::milliseconds timeout);

// The window's contents as a picture.
std::optional<Picture> captureWindow(const std::string& windowId);
