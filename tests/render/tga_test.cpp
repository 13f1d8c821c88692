// Reading TGA files into sprite images: accepted and rejected files, what a failure leaves in
// the image, reading into an image that already holds pixels, and the build's own pictures.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "render/sprite.h"

namespace {

using Bytes = std::vector<unsigned char>;

// The 18-byte header of an uncompressed true-colour image.
Bytes header(uint32_t width, uint32_t height, unsigned char depth) {
  return {0,
          0,
          2,
          0,
          0,
          0,
          0,
          0,
          0,
          0,
          0,
          0,
          static_cast<unsigned char>(width & 0xff),
          static_cast<unsigned char>(width >> 8),
          static_cast<unsigned char>(height & 0xff),
          static_cast<unsigned char>(height >> 8),
          depth,
          0};
}

Bytes withByte(Bytes bytes, size_t offset, unsigned char value) {
  bytes.at(offset) = value;
  return bytes;
}

Bytes cut(Bytes bytes, size_t length) {
  bytes.resize(length);
  return bytes;
}

Bytes join(Bytes bytes, const Bytes& more) {
  bytes.insert(bytes.end(), more.begin(), more.end());
  return bytes;
}

Bytes zeros(size_t count) {
  return Bytes(count, 0);
}

Bytes pixelsOf(const SpriteImage& image) {
  return Bytes(image.pixels,
               image.pixels + tgaPixelBytes(image.width, image.height, image.bitsPerPixel));
}

size_t openDescriptors() {
  const auto entries = std::filesystem::directory_iterator("/proc/self/fd");
  return static_cast<size_t>(std::distance(begin(entries), end(entries)));
}

class TgaReadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "tga_test.XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    releasePixels(image_);
    std::filesystem::remove_all(folder_);
  }

  std::string write(const std::string& name, const Bytes& bytes) {
    const std::filesystem::path path = folder_ / name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }

  std::filesystem::path folder_;
  SpriteImage image_;
};

TEST_F(TgaReadTest, RejectedFilesKeepOnlyTheHeaderFieldsReadBeforeTheFault) {
  // Marks every field, so that "unchanged" can be told from "stored".
  const SpriteImage before{nullptr, 77, 7, 9, 1234};
  enum Source { kFile, kMissing, kFolder };
  struct Case {
    const char* what;
    Source source;
    Bytes bytes;
    uint32_t width, height, bitsPerPixel;  // afterwards
  };
  const Bytes valid = join(header(2, 2, 32), zeros(16));
  const Case cases[] = {
      {"missing file", kMissing, {}, 7, 9, 77},
      {"a folder", kFolder, {}, 7, 9, 77},
      {"empty file", kFile, {}, 7, 9, 77},
      {"11 header bytes", kFile, cut(valid, 11), 7, 9, 77},
      {"image ID present", kFile, withByte(valid, 0, 1), 7, 9, 77},
      {"colour map present", kFile, withByte(valid, 1, 1), 7, 9, 77},
      {"run-length true-colour, type 10", kFile, withByte(valid, 2, 10), 7, 9, 77},
      {"greyscale, type 3", kFile, withByte(valid, 2, 3), 7, 9, 77},
      {"colour-map entry size set", kFile, withByte(valid, 7, 24), 7, 9, 77},
      {"x origin 1", kFile, withByte(valid, 8, 1), 7, 9, 77},
      {"y origin 256", kFile, withByte(valid, 11, 1), 7, 9, 77},
      {"size fields cut at 17 bytes", kFile, cut(valid, 17), 7, 9, 77},
      {"width 0", kFile, join(header(0, 5, 24), zeros(16)), 0, 5, 77},
      {"height 0", kFile, join(header(4, 0, 32), zeros(16)), 4, 0, 77},
      {"16 bits per pixel", kFile, join(header(3, 2, 16), zeros(12)), 3, 2, 77},
      {"8 bits per pixel", kFile, join(header(3, 2, 8), zeros(6)), 3, 2, 77},
      {"header only", kFile, header(1, 1, 24), 1, 1, 24},
      {"1 x 1 of 24 bits in 20 bytes", kFile, join(header(1, 1, 24), zeros(2)), 1, 1, 24},
      {"32-bit pixel data one byte short", kFile, cut(valid, valid.size() - 1), 2, 2, 32},
      // 32768 * 32768 * 4 is 2^32, 0 in 32-bit arithmetic: an empty body would then pass.
      {"32768 x 32768 x 32 with no body", kFile, header(32768, 32768, 32), 32768, 32768, 32},
      {"65535 x 65535 x 32 with a short body", kFile, join(header(65535, 65535, 32), zeros(64)),
       65535, 65535, 32},
      {"65535 x 65535 x 24 with a short body", kFile, join(header(65535, 65535, 24), zeros(64)),
       65535, 65535, 24},
  };

  const size_t descriptors = openDescriptors();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string path = (folder_ / "absent.tga").string();
    if (c.source == kFile) path = write("case.tga", c.bytes);
    if (c.source == kFolder) path = folder_.string();
    SpriteImage image = before;
    EXPECT_FALSE(readTga(image, path));
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_EQ(image.bitsPerPixel, c.bitsPerPixel);
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.texture, 1234u);
    releasePixels(image);
  }
  EXPECT_EQ(openDescriptors(), descriptors) << "a rejected file was left open";
}

TEST_F(TgaReadTest, AcceptedFilesHoldRgbPixelsInFileOrder) {
  struct Case {
    const char* what;
    Bytes file;
    uint32_t width, height, bitsPerPixel;
    Bytes pixels;
  };
  const Case cases[] = {
      {"1 x 1 of 24 bits in 21 bytes", join(header(1, 1, 24), {1, 2, 3}), 1, 1, 24, {3, 2, 1}},
      {"3 x 2 of 24 bits, rows not padded",
       join(header(3, 2, 24),
            {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27}),
       3,
       2,
       24,
       {12, 11, 10, 15, 14, 13, 18, 17, 16, 21, 20, 19, 24, 23, 22, 27, 26, 25}},
      {"2 x 2 of 32 bits keeps alpha, trailing bytes ignored",
       join(header(2, 2, 32), {1, 2, 3, 0, 4, 5, 6, 128, 7, 8, 9, 255, 10, 11, 12, 7, 99, 99}),
       2,
       2,
       32,
       {3, 2, 1, 0, 6, 5, 4, 128, 9, 8, 7, 255, 12, 11, 10, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SpriteImage image;
    image.texture = 1234;
    ASSERT_TRUE(readTga(image, write("case.tga", c.file)));
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_EQ(image.bitsPerPixel, c.bitsPerPixel);
    ASSERT_NE(image.pixels, nullptr);
    EXPECT_EQ(pixelsOf(image), c.pixels);
    EXPECT_EQ(image.texture, 1234u) << "reading alone never touches the texture name";
    releasePixels(image);
  }
}

TEST(TgaPixelBytes, LargestHeadersDoNotWrapAround) {
  EXPECT_EQ(tgaPixelBytes(32768, 32768, 32), 4294967296u);
  EXPECT_EQ(tgaPixelBytes(65535, 65535, 32), 17179344900u);
  EXPECT_EQ(tgaPixelBytes(65535, 65535, 24), 12884508675u);
  EXPECT_EQ(tgaPixelBytes(3, 1, 24), 9u);
}

TEST_F(TgaReadTest, ReadingIntoALoadedImageKeepsPixelsAndSizeConsistent) {
  const Bytes first = join(header(2, 1, 32), {1, 2, 3, 255, 4, 5, 6, 0});
  const Bytes firstPixels = {3, 2, 1, 255, 6, 5, 4, 0};
  struct Case {
    const char* what;
    std::optional<Bytes> second;  // none: the file is missing
    bool accepted;
    bool keepsFirst;  // the first buffer, its size and depth stay as they were
    uint32_t width, height, bitsPerPixel;
    Bytes pixels;  // when accepted
  };
  const Case cases[] = {
      {"missing file", std::nullopt, false, true, 2, 1, 32, {}},
      {"header rejected", withByte(first, 2, 10), false, true, 2, 1, 32, {}},
      {"16 bits per pixel", join(header(3, 3, 16), zeros(18)), false, false, 3, 3, 32, {}},
      {"width 0", join(header(0, 3, 24), zeros(9)), false, false, 0, 3, 32, {}},
      {"pixel data cut short", join(header(2, 2, 24), zeros(11)), false, false, 2, 2, 24, {}},
      {"another image", join(header(1, 1, 24), {7, 8, 9}), true, false, 1, 1, 24, {9, 8, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    releasePixels(image_);
    ASSERT_TRUE(readTga(image_, write("first.tga", first)));
    const unsigned char* firstBuffer = image_.pixels;
    const std::string path =
        c.second ? write("second.tga", *c.second) : (folder_ / "absent.tga").string();

    EXPECT_EQ(readTga(image_, path), c.accepted);
    EXPECT_EQ(image_.width, c.width);
    EXPECT_EQ(image_.height, c.height);
    EXPECT_EQ(image_.bitsPerPixel, c.bitsPerPixel);
    if (c.keepsFirst) {
      EXPECT_EQ(image_.pixels, firstBuffer);
      EXPECT_EQ(pixelsOf(image_), firstPixels);
    } else if (c.accepted) {
      ASSERT_NE(image_.pixels, nullptr);
      EXPECT_EQ(pixelsOf(image_), c.pixels);
    } else {
      EXPECT_EQ(image_.pixels, nullptr) << "pixels that no longer fit the stored size were kept";
    }
  }
}

TEST(SpriteRecords, StartEmptyAndNameTheFilesInBodyOrder) {
  const std::vector<std::string> expected = {
      "torso.tga",         "rightUpperArm.tga", "rightLowerArm.tga", "rightHand.tga",
      "leftUpperArm.tga",  "leftLowerArm.tga",  "leftHand.tga",      "rightUpperLeg.tga",
      "rightLowerLeg.tga", "rightFoot.tga",     "leftUpperLeg.tga",  "leftLowerLeg.tga",
      "leftFoot.tga",      "head2.tga"};
  for (int k = 0; k < kSpriteCount; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(kSpriteFileNames[k], expected[k]);
    EXPECT_TRUE(sprites[k].fileName.empty());
    EXPECT_EQ(sprites[k].image.pixels, nullptr);
    EXPECT_EQ(sprites[k].image.width, 0u);
    EXPECT_EQ(sprites[k].image.height, 0u);
    EXPECT_EQ(sprites[k].image.texture, 0u);
  }
}

// The pictures the build draws: 32-bit, cut out by alpha 0 and 255 only, and every shape
// clear of the quad's long sides, so none is clipped across its thickness.
TEST(SpritePictures, EveryPictureReadsBackAs32BitWithACutOutline) {
  for (const char* name : kSpriteFileNames) {
    SCOPED_TRACE(name);
    SpriteImage image;
    ASSERT_TRUE(readTga(image, std::string(FIGURES_SPRITE_DIR) + "/" + name));
    EXPECT_EQ(image.bitsPerPixel, 32u);
    size_t opaque = 0;
    size_t transparent = 0;
    size_t partial = 0;
    size_t onSides = 0;
    for (uint32_t row = 0; row < image.height; ++row) {
      for (uint32_t column = 0; column < image.width; ++column) {
        const unsigned char alpha = image.pixels[(size_t{row} * image.width + column) * 4 + 3];
        opaque += alpha == 255;
        transparent += alpha == 0;
        partial += alpha != 0 && alpha != 255;
        if (column == 0 || column + 1 == image.width) onSides += alpha != 0;
      }
    }
    EXPECT_GT(opaque, 0u);
    EXPECT_GT(transparent, 0u);
    EXPECT_EQ(partial, 0u);
    EXPECT_EQ(onSides, 0u);
    releasePixels(image);
  }
}

// A folder standing where the torso picture should go makes the tool stop with one line that
// names that file.
TEST_F(TgaReadTest, SpriteToolNamesTheFileItCannotWrite) {
  std::filesystem::create_directory(folder_ / "torso.tga");
  const std::filesystem::path errors = folder_ / "errors.txt";
  const std::string command = std::string("'") + FIGURES_SPRITE_TOOL + "' '" + folder_.string() +
                              "' 2> '" + errors.string() + "'";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);

  std::ifstream in(errors);
  std::stringstream text;
  text << in.rdbuf();
  const std::string expected =
      "make_sprites: cannot write " + (folder_ / "torso.tga").string() + ": Is a directory\n";
  EXPECT_EQ(text.str(), expected);
}

}  // namespace
