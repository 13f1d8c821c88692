// Writing uncompressed TGA files: the 18-byte header, and a whole file in one go.
#pragma once

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

// Header of a width by height image of depth bits per pixel, origin (0, 0), no ID and no
// colour map; image type 2 is uncompressed true-colour. The descriptor declares 8 alpha bits.
inline std::vector<unsigned char> tgaHeader(unsigned width, unsigned height, unsigned char depth,
                                            unsigned char imageType = 2) {
  std::vector<unsigned char> header(18, 0);
  header[2] = imageType;
  header[12] = static_cast<unsigned char>(width & 0xff);
  header[13] = static_cast<unsigned char>(width >> 8);
  header[14] = static_cast<unsigned char>(height & 0xff);
  header[15] = static_cast<unsigned char>(height >> 8);
  header[16] = depth;
  header[17] = 8;
  return header;
}

// Writes the bytes to path; on failure returns the reason and leaves no half-written file.
inline std::string writeFile(const std::filesystem::path& path,
                             const std::vector<unsigned char>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return std::strerror(errno);
  std::string reason;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    reason = std::strerror(errno);
  }
  if (std::fclose(file) != 0 && reason.empty()) reason = std::strerror(errno);
  if (!reason.empty()) std::remove(path.c_str());
  return reason;
}
