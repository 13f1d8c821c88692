// Body-part images: the fourteen sprite records and the TGA loader.
#pragma once

#include <cstdint>
#include <string>

constexpr int kSpriteCount = 14;

struct SpriteImage {
  unsigned char* pixels = nullptr;  // rows in file order, tightly packed, R G B (A)
  uint32_t bitsPerPixel = 0;        // 24 or 32
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t texture = 0;  // OpenGL texture name; 0 until uploaded
};

struct Sprite {
  std::string fileName;
  SpriteImage image;
};

// Index k < 13 is the body that joint k turns; 13 is the head.
extern Sprite sprites[kSpriteCount];
extern const char* const kSpriteFileNames[kSpriteCount];

// Reads an uncompressed true-colour TGA (24 or 32 bits) into image, B G R turned to R G B.
// No graphics calls. Returns false on any failure, leaving image as the loader's failure
// rules say (texture is never touched).
bool readTga(SpriteImage& image, const std::string& path);

// Reads the file and uploads it as a texture; a graphics context must be current.
bool loadTga(SpriteImage& image, const std::string& path);
