#include "security/codecs/stream_checksum.h"

#include <zlib.h>

#include <array>
#include <istream>

#include "common/errors.h"

namespace athup::security {
namespace {

// Blocks of this size keep the memory use of a huge stream small.
constexpr std::size_t kStreamBlock = 65521;

// zlib computes the same standard CRC-32 as the table loop, several bytes per step.
std::uint32_t feed(std::uint32_t crc, std::string_view bytes) {
  return static_cast<std::uint32_t>(
      crc32_z(crc, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
}

}  // namespace

std::uint32_t standardCrc32Update(std::uint32_t crc, std::string_view bytes) {
  return feed(crc, bytes);
}

std::uint32_t standardCrc32(std::string_view bytes) {
  return standardCrc32Update(0, bytes);
}

std::string crc32HexText(std::uint32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text(8, '0');
  for (int i = 7; i >= 0; --i) {
    text[static_cast<std::size_t>(i)] = kDigits[value & 0xFu];
    value >>= 4;
  }
  return text;
}

std::string standardCrc32Text(std::string_view bytes) {
  return crc32HexText(standardCrc32(bytes));
}

std::string StreamChecksum::standardCrc32Text(std::string_view bytes) const {
  return security::standardCrc32Text(bytes);
}

std::string StreamChecksum::standardCrc32Text(std::istream& stream) const {
  stream.clear();
  stream.seekg(0, std::ios::beg);
  if (!stream) throw Error("The stream cannot be positioned at its start.");
  std::uint32_t c = 0;
  std::string block(kStreamBlock, '\0');
  for (;;) {
    stream.read(block.data(), static_cast<std::streamsize>(block.size()));
    const auto got = static_cast<std::size_t>(stream.gcount());
    if (got == 0) break;
    c = feed(c, std::string_view(block.data(), got));
  }
  if (stream.bad()) throw Error("The stream cannot be read.");
  // Leave the stream readable at its end, as a caller that appends or rereads expects.
  stream.clear();
  stream.seekg(0, std::ios::end);
  return crc32HexText(c);
}

}  // namespace athup::security
