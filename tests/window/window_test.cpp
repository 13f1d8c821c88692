// The real figures program in a real window on a private virtual display: its window, what
// it draws, its report lines and its keys.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "render/sprite.h"
#include "tests/window/x_session.h"

namespace {

using namespace std::chrono_literals;

const std::string kBinary = FIGURES_BINARY;
const std::string kSpriteFolder = std::filesystem::path(kBinary).parent_path().string();

// Bounds for waiting on a loaded machine; a healthy run needs a small part of each.
constexpr auto kStartTimeout = 60s;
constexpr auto kRunTimeout = 90s;

class XServer : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(display_.start(error)) << error;
  }
  void TearDown() override { display_.stop(); }

 private:
  VirtualDisplay display_;
};

[[maybe_unused]] const auto* const xServer = ::testing::AddGlobalTestEnvironment(new XServer);

// The program under test, started in a folder; its window is titled with its argv[0].
class Figures {
 public:
  // Starts the program in cwd and waits for its window and its first report lines.
  void start(const std::string& cwd) {
    std::string asanOptions = "detect_leaks=0";  // the GL and X libraries keep memory at exit
    if (const char* existing = std::getenv("ASAN_OPTIONS")) {
      asanOptions = std::string(existing) + ":" + asanOptions;
    }
    std::string error;
    ASSERT_TRUE(process.start({kBinary}, cwd, {"ASAN_OPTIONS=" + asanOptions}, error)) << error;
    const auto id = findWindow(kBinary, kStartTimeout);
    ASSERT_TRUE(id) << "no window titled " << kBinary;
    window = *id;
    ASSERT_TRUE(process.waitForLines(3, kStartTimeout)) << "no report lines";
  }

  // Waits until count more report lines have arrived.
  void run(size_t count) {
    ASSERT_TRUE(process.waitForLines(process.lines().size() + count, kRunTimeout))
        << "the program stopped reporting after " << process.lines().size() << " lines";
  }

  void press(const std::string& key) {
    ASSERT_TRUE(runCommand("xdotool windowfocus --sync " + window + " key " + key))
        << "cannot send " << key;
  }

  Picture capture() {
    auto picture = captureWindow(window);
    EXPECT_TRUE(picture) << "cannot capture window " << window;
    if (!picture) return {};
    EXPECT_EQ(picture->width, 400);
    EXPECT_EQ(picture->height, 400);
    return *picture;
  }

  ChildProcess process;
  std::string window;
};

// A report line: "SCR=" and then only a whole number in digits, '.', 'e', '+', '-', or "inf".
bool isReportLine(const std::string& line) {
  if (line.rfind("SCR=", 0) != 0) return false;
  const std::string number = line.substr(4);
  if (number == "inf") return true;
  if (number.empty() || number.find_first_not_of("0123456789.e+-") != std::string::npos) {
    return false;
  }
  double value = 0.0;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  return ec == std::errc() && end == number.data() + number.size();
}

// Every line the program wrote is one report.
void expectOnlyReportLines(const std::vector<std::string>& lines) {
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_TRUE(isReportLine(lines[i])) << "line " << i + 1 << ": " << lines[i];
  }
}

// Window pixel (column, row from the top) of scene point (x, y, 0): the 45-degree camera at
// (0, -2, 110) looking at (0, -2, 0) in a 400 by 400 window.
std::pair<double, double> pixelOf(double x, double y) {
  const double scale = 1.0 / std::tan(22.5 * std::numbers::pi / 180.0) / 110.0 * 200.0;
  return {200.0 + x * scale, 200.0 - (y + 2.0) * scale};
}
const double kPixelsPerUnit = pixelOf(1.0, 0.0).first - 200.0;

// Pixels in the box [x - left, x + right] by [y - below, y + above] (scene units around the
// scene point) for which the predicate holds.
template <typename Predicate>
int countInBox(const Picture& picture, double x, double y, double left, double right, double below,
               double above, Predicate predicate) {
  const auto [cx, cy] = pixelOf(x, y);
  int count = 0;
  for (int row = static_cast<int>(cy - above * kPixelsPerUnit);
       row <= static_cast<int>(cy + below * kPixelsPerUnit); ++row) {
    for (int col = static_cast<int>(cx - left * kPixelsPerUnit);
         col <= static_cast<int>(cx + right * kPixelsPerUnit); ++col) {
      if (row >= 0 && row < picture.height && col >= 0 && col < picture.width &&
          predicate(picture.at(col, row))) {
        ++count;
      }
    }
  }
  return count;
}

// Mean column of the pixels that are not white.
double meanFigureColumn(const Picture& picture) {
  double sum = 0.0;
  long count = 0;
  for (int row = 0; row < picture.height; ++row) {
    for (int col = 0; col < picture.width; ++col) {
      if (!picture.isWhite(col, row)) {
        sum += col;
        ++count;
      }
    }
  }
  return count > 0 ? sum / count : -1.0;
}

long whitePixels(const Picture& picture) {
  long count = 0;
  for (int row = 0; row < picture.height; ++row) {
    for (int col = 0; col < picture.width; ++col) count += picture.isWhite(col, row);
  }
  return count;
}

// The commonest colour of the opaque pixels of a sprite picture the build wrote.
std::array<int, 3> mainColour(const std::string& fileName) {
  SpriteImage image;
  EXPECT_TRUE(readTga(image, kSpriteFolder + "/" + fileName)) << "cannot read " << fileName;
  std::map<std::array<int, 3>, long> counts;
  const uint32_t bytes = image.bitsPerPixel / 8;
  for (uint32_t i = 0; image.pixels != nullptr && i < image.width * image.height; ++i) {
    const unsigned char* p = image.pixels + i * bytes;
    if (bytes == 3 || p[3] > 127) ++counts[{p[0], p[1], p[2]}];
  }
  std::array<int, 3> best{-1, -1, -1};
  long bestCount = 0;
  for (const auto& [colour, count] : counts) {
    if (count > bestCount) {
      best = colour;
      bestCount = count;
    }
  }
  releasePixels(image);
  return best;
}

auto near(const std::array<int, 3>& colour) {
  return [colour](const uint8_t* p) {
    for (int i = 0; i < 3; ++i) {
      if (std::abs(p[i] - colour[i]) > 12) return false;
    }
    return true;
  };
}

TEST(FiguresWindow, Is400By400AtPosition100And100TitledWithArgv0) {
  Figures figures;
  ASSERT_NO_FATAL_FAILURE(figures.start(kSpriteFolder));
  const auto info = runCommand("xwininfo -id " + figures.window);
  ASSERT_TRUE(info);
  for (const char* line : {"Absolute upper-left X:  100", "Absolute upper-left Y:  100",
                           "Width: 400", "Height: 400", "Map State: IsViewable"}) {
    EXPECT_NE(info->find(line), std::string::npos) << "no '" << line << "' in\n" << *info;
  }
  EXPECT_NE(info->find("\"" + kBinary + "\""), std::string::npos) << *info;
}

TEST(FiguresWindow, DrawsTenByTenFiguresWithTorsoAndHeadOnWhite) {
  const auto torso = mainColour(kSpriteFileNames[0]);
  const auto head = mainColour(kSpriteFileNames[13]);
  Figures figures;
  ASSERT_NO_FATAL_FAILURE(figures.start(kSpriteFolder));
  ASSERT_NO_FATAL_FAILURE(figures.run(30));
  const Picture picture = figures.capture();
  ASSERT_EQ(picture.rgb.size(), 400u * 400u * 3u);

  for (const auto& [col, row] : {std::pair{0, 0}, {399, 0}, {0, 399}, {399, 399}}) {
    EXPECT_TRUE(picture.isWhite(col, row)) << "corner " << col << ", " << row;
  }
  EXPECT_GT(whitePixels(picture), 400 * 400 / 2);

  const auto notWhite = [](const uint8_t* p) { return p[0] != 255 || p[1] != 255 || p[2] != 255; };
  for (int c = 0; c < 10; ++c) {
    for (int r = 0; r < 10; ++r) {
      // The torso hangs from the pivot; the head sits above it.
      const double x = 8.0 * c - 35.0, y = 9.0 * r - 40.0;
      EXPECT_GT(countInBox(picture, x, y, 1.5, 1.5, 3.0, 0.5, notWhite), 0)
          << "nothing drawn at column " << c << ", row " << r;
      EXPECT_GT(countInBox(picture, x, y, 1.5, 1.5, 2.0, 0.5, near(torso)), 0)
          << "no torso at column " << c << ", row " << r;
      EXPECT_GT(countInBox(picture, x, y, 1.2, 1.2, -0.5, 2.0, near(head)), 0)
          << "no head at column " << c << ", row " << r;
    }
  }
  expectOnlyReportLines(figures.process.lines());
  EXPECT_EQ(figures.process.errorOutput(), "");
}

TEST(FiguresWindow, LeftAndRightArrowsSwingTheFiguresToThatSide) {
  Figures figures;
  ASSERT_NO_FATAL_FAILURE(figures.start(kSpriteFolder));
  ASSERT_NO_FATAL_FAILURE(figures.press("Left"));
  ASSERT_NO_FATAL_FAILURE(figures.run(80));
  const Picture left = figures.capture();
  ASSERT_NO_FATAL_FAILURE(figures.press("Right"));
  ASSERT_NO_FATAL_FAILURE(figures.run(80));
  const Picture right = figures.capture();

  EXPECT_NE(left.rgb, right.rgb);
  // Every torso is pushed about its pivot: the figures lean to the side of the arrow.
  EXPECT_LT(meanFigureColumn(left) + 3.0, meanFigureColumn(right));
  expectOnlyReportLines(figures.process.lines());
}

TEST(FiguresWindow, WithoutPictureFilesStillOpensSimulatesAndReports) {
  const std::filesystem::path empty =
      std::filesystem::temp_directory_path() / ("figures-empty-" + std::to_string(getpid()));
  std::filesystem::create_directory(empty);
  {
    Figures figures;
    ASSERT_NO_FATAL_FAILURE(figures.start(empty.string()));
    ASSERT_NO_FATAL_FAILURE(figures.run(20));
    EXPECT_TRUE(figures.process.running());
    // Sprites that failed to load have no size: nothing but the white background is drawn.
    const Picture picture = figures.capture();
    EXPECT_EQ(whitePixels(picture), 400 * 400);
    expectOnlyReportLines(figures.process.lines());
    EXPECT_EQ(figures.process.errorOutput(), "");
  }
  std::filesystem::remove_all(empty);
}

class QuitKey : public ::testing::TestWithParam<const char*> {};

TEST_P(QuitKey, EndsTheProgramWithStatusZero) {
  Figures figures;
  ASSERT_NO_FATAL_FAILURE(figures.start(kSpriteFolder));
  ASSERT_NO_FATAL_FAILURE(figures.press(GetParam()));
  const auto status = figures.process.waitForExit(kRunTimeout);
  ASSERT_TRUE(status) << "still running after " << GetParam();
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "wait status " << *status;
}

INSTANTIATE_TEST_SUITE_P(Keys, QuitKey, ::testing::Values("q", "Escape"));

TEST(FiguresWindow, GoesOnSimulatingAndDrawingWhenItsOutputIsClosed) {
  Figures figures;
  ASSERT_NO_FATAL_FAILURE(figures.start(kSpriteFolder));
  figures.process.closeOutput();    // as `figures | head -n 3` does after three lines
  std::this_thread::sleep_for(1s);  // let it write into the closed pipe a while

  // Redraws are requested only by the idle stepping: a changing picture shows it goes on.
  const Picture before = figures.capture();
  bool changed = false;
  const auto deadline = std::chrono::steady_clock::now() + kRunTimeout;
  while (!changed && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(200ms);
    changed = figures.capture().rgb != before.rgb;
  }
  EXPECT_TRUE(changed) << "the picture stopped changing";
  EXPECT_TRUE(figures.process.running());
  EXPECT_EQ(figures.process.errorOutput(), "");
}

}  // namespace
