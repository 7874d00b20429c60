#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "security/archive/archive_entry.h"

// The byte layout of an archive: registry records and the trailer. Integers are little-endian.
namespace athup::security::zlb {

constexpr std::size_t kRecordSize = 532;
constexpr std::size_t kTrailerSize = 36;
constexpr std::size_t kMaxShortString =
    255;  // a length-prefixed field holds at most this many bytes

using RecordImage = std::array<unsigned char, kRecordSize>;
using TrailerImage = std::array<unsigned char, kTrailerSize>;

struct Trailer {
  std::uint32_t crc = 0;  // CRC-32 of every byte before the trailer
  std::int32_t count = 0;
  std::uint32_t registryLength = 0;  // as stored; informational only
  std::int32_t registryOffset = 0;
  bool registryCompressed = true;
};

// A Big5 text cut to the 255 bytes a length-prefixed field holds, never inside a double-byte
// character.
[[nodiscard]] std::string cutToField(std::string_view big5);

// A zero-filled record with its fields set. The names are Big5 bytes, cut with
// cutToField.
[[nodiscard]] RecordImage encodeRecord(std::string_view big5Name, std::string_view big5Folder,
                                       const ArchiveEntry& numbers);

// Decodes a record; the names come back as UTF-8. Never fails: every image is some record.
[[nodiscard]] ArchiveEntry decodeRecord(const unsigned char* image);

// The same with the names left as the record's Big5 bytes, for callers that convert many names
// at once.
[[nodiscard]] ArchiveEntry decodeRecordBig5(const unsigned char* image);

[[nodiscard]] TrailerImage encodeTrailer(const Trailer& trailer);
[[nodiscard]] Trailer decodeTrailer(const unsigned char* image);

}  // namespace athup::security::zlb
