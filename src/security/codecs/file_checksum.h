#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "security/codecs/checksum_errors.h"
#include "security/codecs/native_file.h"

// The file checksum that identifies filing files and attachments. It must equal what the filing
// program computes, so its odd table lookup is part of the format: the CRC-32 table is read as a
// 1,024-byte little-endian image and the 32-bit word is taken at byte offset k, not at entry k.
// "abc" gives 932BC606 (standard CRC-32: 352441C2), "123456789" gives 1B948A57.
namespace athup::security {

// The running value over more bytes: start with 0xFFFFFFFF, XOR the end result with 0xFFFFFFFF.
[[nodiscard]] std::uint32_t fileChecksumUpdate(std::uint32_t c, const std::uint8_t* data,
                                               std::size_t size);

// The file checksum of bytes in memory (what paddedChecksumText gives for a file holding them).
[[nodiscard]] std::uint32_t fileChecksum(std::string_view bytes);

// Upper-case hexadecimal without leading zeros, right-aligned in eight characters with blanks
// ("    ABCD"): the text paddedChecksumText returns.
[[nodiscard]] std::string fileChecksumText(std::uint32_t value);

// The same without the blanks ("ABCD", "0" for zero): the form every caller compares, stores
// and sends.
[[nodiscard]] std::string fileChecksumTrimmed(std::uint32_t value);

// Checksums files on disk; one calculator serves a whole flow.
class FileChecksumCalculator {
 public:
  [[nodiscard]] bool isBusy() const { return m_busy; }

  // The checksum text of a file: eight characters, blank-padded on the left. A file that cannot
  // be opened raises athup::Error with the open error; an empty file raises FileMappingError
  // "CreateHandleError".
  [[nodiscard]] std::string paddedChecksumText(const std::filesystem::path& path);

  // paddedChecksumText without its blanks, as every caller uses it.
  [[nodiscard]] std::string checksumText(const std::filesystem::path& path);

  // The file checksum of the whole content of an open file. Raises ChecksumBusyError when busy and
  // FileMappingError when the file cannot be viewed; the busy flag is cleared in every case.
  [[nodiscard]] std::uint32_t checksumOf(const NativeFile* file);

 private:
  void checkIdle() const;

  bool m_busy = false;
};

}  // namespace athup::security
