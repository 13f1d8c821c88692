#include "app/runner_options.h"

#include <getopt.h>

#include <charconv>
#include <cstring>

namespace {

bool parseCount(const char* text, int64_t& value) {
  const char* end = text + std::strlen(text);
  const auto [ptr, ec] = std::from_chars(text, end, value);
  return ec == std::errc() && ptr == end && *text != '\0' && value >= 0;
}

bool parseKeyName(const std::string& name, RunnerKey& key) {
  static const struct {
    const char* name;
    RunnerKey key;
  } kNames[] = {{"left", RunnerKey::kLeft},     {"right", RunnerKey::kRight},
                {"up", RunnerKey::kUp},         {"down", RunnerKey::kDown},
                {"slower", RunnerKey::kSlower}, {"faster", RunnerKey::kFaster}};
  for (const auto& entry : kNames) {
    if (name == entry.name) {
      key = entry.key;
      return true;
    }
  }
  return false;
}

}  // namespace

bool parseRunnerOptions(int argc, char** argv, RunnerOptions& options, std::string& error) {
  static const option kLongOptions[] = {{"steps", required_argument, nullptr, 's'},
                                        {"key", required_argument, nullptr, 'k'},
                                        {"dump", required_argument, nullptr, 'd'},
                                        {"quiet", no_argument, nullptr, 'q'},
                                        {nullptr, 0, nullptr, 0}};
  options = RunnerOptions{};
  std::vector<std::string> keyTexts;
  opterr = 0;  // the messages below name the argument themselves
  optind = 0;  // full re-initialisation, so the parser can run more than once
  for (;;) {
    const int c = getopt_long(argc, argv, "+:", kLongOptions, nullptr);
    if (c == -1) break;
    switch (c) {
      case 's':
        if (!parseCount(optarg, options.steps)) {
          error = std::string("--steps needs a whole number of idle calls, 0 or more, not '") +
                  optarg + "'";
          return false;
        }
        break;
      case 'k':
        keyTexts.emplace_back(optarg);
        break;
      case 'd':
        if (*optarg == '\0') {
          error = "--dump needs a file name, or - for standard output";
          return false;
        }
        options.dumpPath = optarg;
        break;
      case 'q':
        options.quiet = true;
        break;
      case ':':
        error = std::string("missing value for ") + argv[optind - 1];
        return false;
      default:
        error = std::string("unknown argument '") + argv[optind - 1] + "'";
        return false;
    }
  }
  if (optind < argc) {
    error = std::string("unexpected argument '") + argv[optind] + "'";
    return false;
  }
  // Keys are checked after the loop, since --steps may come after them.
  for (const std::string& text : keyTexts) {
    const size_t colon = text.find(':');
    KeyPress press{};
    if (colon == std::string::npos || !parseCount(text.substr(0, colon).c_str(), press.step) ||
        !parseKeyName(text.substr(colon + 1), press.key)) {
      error = "--key needs STEP:KEY with KEY one of left, right, up, down, slower, faster, not '" +
              text + "'";
      return false;
    }
    if (press.step < 1 || press.step > options.steps) {
      error = "--key step " + text.substr(0, colon) + " is outside 1.." +
              std::to_string(options.steps) + " in '" + text + "'";
      return false;
    }
    options.keys.push_back(press);
  }
  return true;
}
