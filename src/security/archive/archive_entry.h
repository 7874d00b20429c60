#pragma once

#include <cstdint>
#include <string>

namespace athup::security {

// Compression levels of the archive; the ordinal is what a registry record stores.
enum class CompressionLevel : std::uint8_t { None = 0, Fastest = 1, Default = 2, Maximum = 3 };

// zlib level for an archive level: none still writes a zlib stream (stored blocks).
[[nodiscard]] constexpr int zlibLevel(CompressionLevel level) {
  switch (level) {
    case CompressionLevel::None:
      return 0;
    case CompressionLevel::Fastest:
      return 1;
    case CompressionLevel::Maximum:
      return 9;
    case CompressionLevel::Default:
      break;
  }
  return -1;  // Z_DEFAULT_COMPRESSION
}

// One registry record of an archive, decoded. Names are UTF-8 here; the record holds them in Big5.
struct ArchiveEntry {
  std::string fileName;
  std::string folder;  // backslash-separated and ending with one; empty when paths were not saved
  std::uint32_t uncompressedSize = 0;
  std::uint32_t compressedSize = 0;
  std::uint32_t dataOffset = 0;
  std::uint32_t crc32 = 0;  // standard CRC-32 of the content before compression
  bool storedUncompressed = false;
  std::uint8_t compressionLevel = 0;  // ordinal of CompressionLevel as recorded (not checked)
};

}  // namespace athup::security
