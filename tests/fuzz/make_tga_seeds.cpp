// Writes a few tiny TGA files, accepted and rejected ones, as the fuzzer's starting corpus.
//   make_tga_seeds OUTPUT-FOLDER
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tools/tga_file.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes tga(unsigned width, unsigned height, unsigned char depth, size_t pixelBytes,
          unsigned char type = 2) {
  Bytes bytes = tgaHeader(width, height, depth, type);
  for (size_t i = 0; i < pixelBytes; ++i) bytes.push_back(static_cast<unsigned char>(i * 37 + 1));
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_tga_seeds OUTPUT-FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "make_tga_seeds: cannot create folder %s: %s\n", folder.c_str(),
                 error.message().c_str());
    return 1;
  }

  const struct {
    const char* name;
    Bytes bytes;
  } seeds[] = {
      {"rgb-1x1.tga", tga(1, 1, 24, 3)},
      {"rgba-2x2.tga", tga(2, 2, 32, 16)},
      {"rgb-3x2-trailing.tga", tga(3, 2, 24, 20)},
      {"rgba-cut-short.tga", tga(2, 2, 32, 15)},
      {"depth-16.tga", tga(2, 1, 16, 4)},
      {"run-length.tga", tga(2, 1, 24, 6, 10)},
      {"huge-short-body.tga", tga(65535, 65535, 32, 16)},
      {"size-wraps-in-32-bits.tga", tga(32768, 32768, 32, 0)},
  };
  for (const auto& seed : seeds) {
    const std::filesystem::path path = folder / seed.name;
    const std::string reason = writeFile(path, seed.bytes);
    if (!reason.empty()) {
      std::fprintf(stderr, "make_tga_seeds: cannot write %s: %s\n", path.c_str(), reason.c_str());
      return 1;
    }
  }
  return 0;
}
