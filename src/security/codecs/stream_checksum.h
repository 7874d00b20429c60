#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace athup::security {

// The standard CRC-32 (reflected, polynomial 0xEDB88320, initial and final XOR 0xFFFFFFFF) that
// guards the content of encrypted files. "abc" gives 352441C2.
[[nodiscard]] std::uint32_t standardCrc32(std::string_view bytes);

// Continues a standard CRC-32 over more bytes: start with 0, feed the previous result back.
[[nodiscard]] std::uint32_t standardCrc32Update(std::uint32_t crc, std::string_view bytes);

// Exactly eight upper-case hexadecimal digits, zero-padded.
[[nodiscard]] std::string crc32HexText(std::uint32_t value);

// The standard CRC-32 of bytes as eight upper-case hexadecimal digits; empty gives "00000000".
[[nodiscard]] std::string standardCrc32Text(std::string_view bytes);

// The stream checksum component the ciphers create for each operation.
class StreamChecksum {
 public:
  [[nodiscard]] const std::string& version() const { return m_version; }

  // Checksums the whole stream from position 0 and leaves it at its end. A stream that fails
  // while reading raises athup::Error.
  [[nodiscard]] std::string standardCrc32Text(std::istream& stream) const;
  [[nodiscard]] std::string standardCrc32Text(std::string_view bytes) const;

 private:
  std::string m_version = "2010008-001";
};

}  // namespace athup::security
