#include "tests/window/x_session.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

int millisLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Forks and executes argv with standard input from /dev/null and the given output
// descriptors; the child gets SIGTERM when the test process dies. keepFd stays open in the
// child. Returns the pid, or -1 with error set.
pid_t spawn(const std::vector<std::string>& argv, const std::string& cwd,
            const std::vector<std::string>& extraEnvironment, int outFd, int errFd, int keepFd,
            std::string& error) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  std::vector<std::string> envStrings;
  for (char** e = environ; *e != nullptr; ++e) envStrings.emplace_back(*e);
  for (const std::string& extra : extraEnvironment) {
    const std::string key = extra.substr(0, extra.find('=') + 1);
    std::erase_if(envStrings, [&](const std::string& s) { return s.rfind(key, 0) == 0; });
    envStrings.push_back(extra);
  }
  std::vector<char*> env;
  for (std::string& s : envStrings) env.push_back(s.data());
  env.push_back(nullptr);

  // The child reports a failed chdir or exec through this pipe; exec closes it on success.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    error = std::string("pipe: ") + std::strerror(errno);
    return -1;
  }
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) {
    error = std::string("fork: ") + std::strerror(errno);
    close(report[0]);
    close(report[1]);
    return -1;
  }
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);
    const int devNull = open("/dev/null", O_RDWR);
    dup2(devNull, 0);
    dup2(outFd >= 0 ? outFd : devNull, 1);
    dup2(errFd >= 0 ? errFd : devNull, 2);
    if (keepFd >= 0) fcntl(keepFd, F_SETFD, 0);
    int failure = 0;
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) {
      failure = errno;
    } else {
      execve(args[0], args.data(), env.data());
      failure = errno;
    }
    [[maybe_unused]] const ssize_t n = write(report[1], &failure, sizeof failure);
    _exit(127);
  }
  close(report[1]);
  int failure = 0;
  const ssize_t n = read(report[0], &failure, sizeof failure);
  close(report[0]);
  if (n == static_cast<ssize_t>(sizeof failure)) {
    waitpid(pid, nullptr, 0);
    error = "cannot start " + argv[0] + " in '" + cwd + "': " + std::strerror(failure);
    return -1;
  }
  return pid;
}

std::string shellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace

bool ChildProcess::start(const std::vector<std::string>& argv, const std::string& cwd,
                         const std::vector<std::string>& extraEnvironment, std::string& error) {
  int out[2];
  int err[2];
  if (pipe2(out, O_CLOEXEC) != 0) {
    error = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  if (pipe2(err, O_CLOEXEC) != 0) {
    error = std::string("pipe: ") + std::strerror(errno);
    close(out[0]);
    close(out[1]);
    return false;
  }
  pid_ = spawn(argv, cwd, extraEnvironment, out[1], err[1], -1, error);
  close(out[1]);
  close(err[1]);
  if (pid_ < 0) {
    close(out[0]);
    close(err[0]);
    return false;
  }
  outFd_ = out[0];
  errFd_ = err[0];
  return true;
}

void ChildProcess::drain(int timeoutMillis) {
  pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
  if (outFd_ < 0 && errFd_ < 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMillis));
    return;
  }
  if (poll(fds, 2, timeoutMillis) <= 0) return;
  char buffer[4096];
  if (fds[0].revents != 0) {
    const ssize_t n = read(outFd_, buffer, sizeof buffer);
    if (n <= 0) {
      close(outFd_);
      outFd_ = -1;
    } else {
      pending_.append(buffer, static_cast<size_t>(n));
      size_t end;
      while ((end = pending_.find('\n')) != std::string::npos) {
        lines_.push_back(pending_.substr(0, end));
        pending_.erase(0, end + 1);
      }
    }
  }
  if (fds[1].revents != 0) {
    const ssize_t n = read(errFd_, buffer, sizeof buffer);
    if (n <= 0) {
      close(errFd_);
      errFd_ = -1;
    } else {
      error_.append(buffer, static_cast<size_t>(n));
    }
  }
}

bool ChildProcess::waitForLines(size_t count, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (lines_.size() < count) {
    if (outFd_ < 0 || Clock::now() >= deadline) return false;
    drain(std::min(millisLeft(deadline), 100));
  }
  return true;
}

void ChildProcess::closeOutput() {
  if (outFd_ >= 0) close(outFd_);
  outFd_ = -1;
}

std::string ChildProcess::errorOutput() {
  if (errFd_ >= 0) drain(0);
  return error_;
}

bool ChildProcess::running() {
  if (pid_ < 0 || status_) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
  return !status_;
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (running() && Clock::now() < deadline) drain(std::min(millisLeft(deadline), 20));
  return status_;
}

void ChildProcess::stop() {
  if (pid_ > 0 && running()) {
    kill(pid_, SIGTERM);
    if (!waitForExit(std::chrono::seconds(10))) {
      kill(pid_, SIGKILL);
      int status = 0;
      waitpid(pid_, &status, 0);
      status_ = status;
    }
  }
  closeOutput();
  if (errFd_ >= 0) close(errFd_);
  errFd_ = -1;
}

bool VirtualDisplay::start(std::string& error) {
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) {
    error = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  // Xvfb picks a free display number and writes it to the descriptor once it accepts clients.
  pid_ = spawn({"/usr/bin/Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0",
                "1024x768x24", "-nolisten", "tcp"},
               "", {}, -1, -1, ready[1], error);
  close(ready[1]);
  if (pid_ < 0) {
    close(ready[0]);
    return false;
  }
  std::string number;
  const auto deadline = Clock::now() + std::chrono::seconds(30);
  while (number.find('\n') == std::string::npos && millisLeft(deadline) > 0) {
    pollfd fd = {ready[0], POLLIN, 0};
    if (poll(&fd, 1, millisLeft(deadline)) <= 0) break;
    char buffer[16];
    const ssize_t n = read(ready[0], buffer, sizeof buffer);
    if (n <= 0) break;
    number.append(buffer, static_cast<size_t>(n));
  }
  close(ready[0]);
  if (number.find('\n') == std::string::npos) {
    error = "Xvfb did not report a display number";
    stop();
    return false;
  }
  char name[32];
  std::snprintf(name, sizeof name, ":%d", std::atoi(number.c_str()));
  name_ = name;
  setenv("DISPLAY", name_.c_str(), 1);
  return true;
}

void VirtualDisplay::stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (Clock::now() >= deadline) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  pid_ = -1;
}

std::optional<std::string> runCommand(const std::string& commandLine) {
  const std::string bounded = "timeout 30 sh -c " + shellQuote(commandLine);
  std::FILE* pipe = popen(bounded.c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string output;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  if (pclose(pipe) != 0) return std::nullopt;
  return output;
}

std::optional<Picture> parsePpm(const std::string& data) {
  size_t pos = 0;
  // Next whitespace-separated header token, skipping comments.
  auto token = [&]() -> std::string {
    while (pos < data.size()) {
      if (data[pos] == '#') {
        while (pos < data.size() && data[pos] != '\n') ++pos;
      } else if (std::isspace(static_cast<unsigned char>(data[pos]))) {
        ++pos;
      } else {
        break;
      }
    }
    const size_t begin = pos;
    while (pos < data.size() && !std::isspace(static_cast<unsigned char>(data[pos]))) ++pos;
    return data.substr(begin, pos - begin);
  };
  if (token() != "P6") return std::nullopt;
  const std::string w = token();
  const std::string h = token();
  const std::string maxval = token();
  if (w.empty() || h.empty() || maxval != "255" || pos >= data.size()) return std::nullopt;
  Picture picture;
  picture.width = std::atoi(w.c_str());
  picture.height = std::atoi(h.c_str());
  ++pos;  // the single whitespace byte before the raster
  const size_t size = 3 * static_cast<size_t>(picture.width) * picture.height;
  if (picture.width <= 0 || picture.height <= 0 || data.size() - pos < size) return std::nullopt;
  picture.rgb.assign(data.begin() + static_cast<std::ptrdiff_t>(pos),
                     data.begin() + static_cast<std::ptrdiff_t>(pos + size));
  return picture;
}

std::optional<std::string> findWindow(const std::string& title, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  do {
    if (auto info = runCommand("xwininfo -name " + shellQuote(title) + " 2>/dev/null")) {
      const size_t at = info->find("Window id: ");
      if (at != std::string::npos) {
        const size_t begin = at + std::strlen("Window id: ");
        return info->substr(begin, info->find(' ', begin) - begin);
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  } while (Clock::now() < deadline);
  return std::nullopt;
}

std::optional<Picture> captureWindow(const std::string& windowId) {
  const auto ppm = runCommand("xwd -silent -id " + windowId + " | xwdtopnm 2>/dev/null");
  if (!ppm) return std::nullopt;
  return parsePpm(*ppm);
}
