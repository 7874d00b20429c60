#include "security/archive/archive_layout.h"

#include <algorithm>
#include <string>

#include "common/big5.h"

namespace athup::security::zlb {
namespace {

constexpr std::size_t kNameAt = 0;
constexpr std::size_t kFolderAt = 256;
constexpr std::size_t kSizeAt = 512;
constexpr std::size_t kStoredSizeAt = 516;
constexpr std::size_t kOffsetAt = 520;
constexpr std::size_t kCrcAt = 524;
constexpr std::size_t kStoredFlagAt = 528;
constexpr std::size_t kLevelAt = 529;

void put32(unsigned char* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint32_t get32(const unsigned char* at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | at[i];
  return value;
}

void putShortString(unsigned char* at, std::string_view bytes) {
  const std::string field = cutToField(bytes);
  at[0] = static_cast<unsigned char>(field.size());
  std::copy(field.begin(), field.end(), at + 1);
}

std::string getShortString(const unsigned char* at) {
  return std::string(reinterpret_cast<const char*>(at + 1), at[0]);
}

}  // namespace

std::string cutToField(std::string_view big5) {
  std::size_t end = 0;
  while (end < big5.size()) {
    const std::size_t width = common::isBig5LeadByte(static_cast<unsigned char>(big5[end])) ? 2 : 1;
    if (end + width > kMaxShortString) break;
    end += width;
  }
  return std::string(big5.substr(0, std::min(end, big5.size())));
}

RecordImage encodeRecord(std::string_view big5Name, std::string_view big5Folder,
                         const ArchiveEntry& numbers) {
  RecordImage image{};
  putShortString(image.data() + kNameAt, big5Name);
  if (!big5Folder.empty()) putShortString(image.data() + kFolderAt, big5Folder);
  put32(image.data() + kSizeAt, numbers.uncompressedSize);
  put32(image.data() + kStoredSizeAt, numbers.compressedSize);
  put32(image.data() + kOffsetAt, numbers.dataOffset);
  put32(image.data() + kCrcAt, numbers.crc32);
  image[kStoredFlagAt] = numbers.storedUncompressed ? 1 : 0;
  image[kLevelAt] = numbers.compressionLevel;
  return image;
}

ArchiveEntry decodeRecord(const unsigned char* image) {
  ArchiveEntry entry = decodeRecordBig5(image);
  entry.fileName = common::big5ToUtf8(entry.fileName);
  entry.folder = common::big5ToUtf8(entry.folder);
  return entry;
}

ArchiveEntry decodeRecordBig5(const unsigned char* image) {
  ArchiveEntry entry;
  entry.fileName = getShortString(image + kNameAt);
  entry.folder = getShortString(image + kFolderAt);
  entry.uncompressedSize = get32(image + kSizeAt);
  entry.compressedSize = get32(image + kStoredSizeAt);
  entry.dataOffset = get32(image + kOffsetAt);
  entry.crc32 = get32(image + kCrcAt);
  entry.storedUncompressed = image[kStoredFlagAt] == 1;
  entry.compressionLevel = image[kLevelAt];
  return entry;
}

TrailerImage encodeTrailer(const Trailer& trailer) {
  TrailerImage image{};
  put32(image.data() + 0, trailer.crc);
  put32(image.data() + 4, static_cast<std::uint32_t>(trailer.count));
  put32(image.data() + 8, 1);
  put32(image.data() + 12, trailer.registryLength);
  put32(image.data() + 16, static_cast<std::uint32_t>(trailer.registryOffset));
  image[20] = trailer.registryCompressed ? 1 : 0;
  return image;
}

Trailer decodeTrailer(const unsigned char* image) {
  Trailer trailer;
  trailer.crc = get32(image + 0);
  trailer.count = static_cast<std::int32_t>(get32(image + 4));
  trailer.registryLength = get32(image + 12);
  trailer.registryOffset = static_cast<std::int32_t>(get32(image + 16));
  trailer.registryCompressed = image[20] != 0;
  return trailer;
}

}  // namespace athup::security::zlb
