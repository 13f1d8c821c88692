// libFuzzer entry: the bytes are read as a TGA file, and every result is checked against what
// the bytes say.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "render/sprite.h"

namespace {

// Ends the run as a crash when the reader broke one of its promises.
void require(bool condition) {
  if (!condition) std::abort();
}

bool readBytes(SpriteImage& image, const uint8_t* data, size_t size) {
  static unsigned char empty = 0;
  void* buffer = size == 0 ? &empty : const_cast<uint8_t*>(data);
  std::FILE* file = fmemopen(buffer, size, "rb");
  require(file != nullptr);
  const bool ok = readTgaStream(image, file);
  std::fclose(file);
  return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SpriteImage image;
  const bool ok = readBytes(image, data, size);
  if (ok) {
    require(size >= 18 && data[0] == 0 && data[1] == 0 && data[2] == 2);
    require(image.width == data[12] + 256u * data[13] &&
            image.height == data[14] + 256u * data[15]);
    require(image.width > 0 && image.height > 0);
    require(image.bitsPerPixel == data[16]);
    require(image.bitsPerPixel == 24 || image.bitsPerPixel == 32);
    const size_t step = image.bitsPerPixel / 8;
    const size_t bytes = size_t{image.width} * image.height * step;
    require(bytes <= size - 18);
    const uint8_t* in = data + 18;
    for (size_t i = 0; i < bytes; i += step) {
      require(image.pixels[i] == in[i + 2] && image.pixels[i + 1] == in[i + 1] &&
              image.pixels[i + 2] == in[i]);
      if (step == 4) require(image.pixels[i + 3] == in[i + 3]);
    }
  } else {
    require(image.pixels == nullptr);
  }

  // Reading the same bytes into the image just filled gives the same answer; the first buffer
  // must be freed, or the leak checker reports it.
  require(readBytes(image, data, size) == ok);
  require((image.pixels != nullptr) == ok);
  releasePixels(image);
  return 0;
}
