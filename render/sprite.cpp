#include "render/sprite.h"

#include <cstring>
#include <new>
#include <utility>

Sprite sprites[kSpriteCount];

const char* const kSpriteFileNames[kSpriteCount] = {
    "torso.tga",         "rightUpperArm.tga", "rightLowerArm.tga", "rightHand.tga",
    "leftUpperArm.tga",  "leftLowerArm.tga",  "leftHand.tga",      "rightUpperLeg.tga",
    "rightLowerLeg.tga", "rightFoot.tga",     "leftUpperLeg.tga",  "leftLowerLeg.tga",
    "leftFoot.tga",      "head2.tga",
};

namespace {

// ID length 0, no colour map, image type 2 (uncompressed true-colour), colour-map fields all
// zero, origin (0, 0).
constexpr unsigned char kAcceptedHeader[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// True when the stream is known to hold fewer than count bytes after its current position.
// Streams that cannot seek are never judged short here; their read decides.
bool knownShorterThan(std::FILE* file, size_t count) {
  const long here = std::ftell(file);
  if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return false;
  const long end = std::ftell(file);
  if (std::fseek(file, here, SEEK_SET) != 0) return true;  // position lost: cannot read on
  return end >= here && static_cast<unsigned long>(end - here) < count;
}

}  // namespace

size_t tgaPixelBytes(uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
  return static_cast<size_t>(width) * height * (bitsPerPixel / 8);
}

void releasePixels(SpriteImage& image) {
  delete[] image.pixels;
  image.pixels = nullptr;
}

bool readTgaStream(SpriteImage& image, std::FILE* file) {
  unsigned char header[12];
  if (std::fread(header, 1, sizeof header, file) != sizeof header) return false;
  if (std::memcmp(header, kAcceptedHeader, sizeof header) != 0) return false;

  unsigned char info[6];  // width, height (little-endian), depth, image descriptor
  if (std::fread(info, 1, sizeof info, file) != sizeof info) return false;

  image.width = info[0] + 256u * info[1];
  image.height = info[2] + 256u * info[3];
  // The stored size now describes this file, so a buffer from an earlier read no longer fits.
  releasePixels(image);
  if (image.width == 0 || image.height == 0) return false;

  const uint32_t depth = info[4];
  if (depth != 24 && depth != 32) return false;
  image.bitsPerPixel = depth;

  const size_t bytesPerPixel = depth / 8;
  const size_t size = tgaPixelBytes(image.width, image.height, depth);
  // A header may claim up to 16 GiB; a file that cannot hold that much is short anyway, and
  // is rejected without reserving the memory.
  if (knownShorterThan(file, size)) return false;

  unsigned char* pixels = new (std::nothrow) unsigned char[size];
  if (pixels == nullptr) return false;
  if (std::fread(pixels, 1, size, file) != size) {
    delete[] pixels;
    return false;
  }

  // B G R (A) -> R G B (A), in place.
  for (size_t i = 0; i < size; i += bytesPerPixel) std::swap(pixels[i], pixels[i + 2]);
  image.pixels = pixels;
  return true;
}

bool readTga(SpriteImage& image, const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  const bool ok = readTgaStream(image, file);
  std::fclose(file);
  return ok;
}
