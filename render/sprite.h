// Body-part images: the fourteen sprite records and the TGA loader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
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
// No graphics calls; texture is never touched. On failure the image keeps the header fields
// read before the fault and no partial buffer. A buffer from an earlier read is kept when the
// file fails before its width and height, and freed once they are stored: pixels is always
// null or tgaPixelBytes(width, height, bitsPerPixel) bytes long.
bool readTga(SpriteImage& image, const std::string& path);

// The same reading from an open binary stream, from its current position; the stream is left
// open. readTga opens the file, calls this and closes the file.
bool readTgaStream(SpriteImage& image, std::FILE* file);

// Bytes of pixel data that a width by height image of bitsPerPixel holds, in 64-bit arithmetic
// so that no 16-bit width and height can wrap around.
size_t tgaPixelBytes(uint32_t width, uint32_t height, uint32_t bitsPerPixel);

// Frees the image's pixel buffer, if any, and leaves pixels null.
void releasePixels(SpriteImage& image);

// Reads the file and uploads it as a texture; a graphics context must be current.
bool loadTga(SpriteImage& image, const std::string& path);
