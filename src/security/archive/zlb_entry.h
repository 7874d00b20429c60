#pragma once

#include <cstdint>
#include <string>

namespace athup::security {

// Compression levels of the archive; the ordinal is what a registry record stores.
enum class TFileCompressionLevel : std::uint8_t {
  fcNone = 0,
  fcFastest = 1,
  fcDefault = 2,
  fcMaximum = 3
};

// zlib level for an archive level: none still writes a zlib stream (stored blocks).
[[nodiscard]] constexpr int zlibLevel(TFileCompressionLevel level) {
  switch (level) {
    case TFileCompressionLevel::fcNone:
      return 0;
    case TFileCompressionLevel::fcFastest:
      return 1;
    case TFileCompressionLevel::fcMaximum:
      return 9;
    case TFileCompressionLevel::fcDefault:
      break;
  }
  return -1;  // Z_DEFAULT_COMPRESSION
}

// One registry record of an archive, decoded. Names are UTF-8 here; the record holds them in Big5.
struct ZLBEntry {
  std::string FileName;
  std::string Folder;  // backslash-separated and ending with one; empty when paths were not saved
  std::uint32_t UncompressedSize = 0;
  std::uint32_t CompressedSize = 0;
  std::uint32_t DataOffset = 0;
  std::uint32_t CRC32 = 0;  // standard CRC-32 of the content before compression
  bool StoredUncompressed = false;
  std::uint8_t CompressionLevel = 0;  // ordinal of TFileCompressionLevel as recorded (not checked)
};

}  // namespace athup::security
