#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "security/codecs/crc_errors.h"
#include "security/codecs/native_file.h"

// The file checksum that identifies filing files and attachments. It must equal what the filing
// program computes, so its odd table lookup is part of the format: the CRC-32 table is read as a
// 1,024-byte little-endian image and the 32-bit word is taken at byte offset k, not at entry k.
// "abc" gives 932BC606 (standard CRC-32: 352441C2), "123456789" gives 1B948A57.
namespace athup::security {

// The running value over more bytes: start with 0xFFFFFFFF, XOR the end result with 0xFFFFFFFF.
[[nodiscard]] std::uint32_t fileChecksumUpdate(std::uint32_t c, const std::uint8_t* data,
                                               std::size_t size);

// The file checksum of bytes in memory (what FileCRCText gives for a file holding them).
[[nodiscard]] std::uint32_t fileChecksum(std::string_view bytes);

// Upper-case hexadecimal without leading zeros, right-aligned in eight characters with blanks
// ("    ABCD"): the text FileCRCText returns.
[[nodiscard]] std::string fileChecksumText(std::uint32_t value);

// The same without the blanks ("ABCD", "0" for zero): the form every caller compares, stores
// and sends.
[[nodiscard]] std::string fileChecksumTrimmed(std::uint32_t value);

// The calculator component; the data module owns one (crcCheck).
class TCRC32Calc {
 public:
  // Supplies data on request: pData to fill, cbData the count (0 when no handler is set). The
  // file checksum does not use it.
  using TGetDataEvent = std::function<void(void* pData, int& cbData)>;

  static constexpr int kMinBufferSize = 4096;
  static constexpr int kMaxBufferSize = 1048576;

  [[nodiscard]] int BufferSize() const { return m_bufferSize; }
  // A value outside 4,096 to 1,048,576 is ignored; while busy raises ECRC32CalcError.
  void setBufferSize(int value);

  [[nodiscard]] const TGetDataEvent& OnGetData() const { return m_onGetData; }
  // While busy raises ECRC32CalcError.
  void setOnGetData(TGetDataEvent handler);

  [[nodiscard]] bool isBusy() const { return m_busy; }

  // The checksum text of a file: eight characters, blank-padded on the left. A file that cannot
  // be opened raises athup::Error with the open error; an empty file raises EFileMappingError
  // "CreateHandleError".
  [[nodiscard]] std::string FileCRCText(const std::filesystem::path& path);

  // FileCRCText without its blanks, as every caller uses it.
  [[nodiscard]] std::string FileCRCTextTrimmed(const std::filesystem::path& path);

  // The file checksum of the whole content of an open file. Raises ECRC32CalcError when busy and
  // EFileMappingError when the file cannot be viewed; the busy flag is cleared in every case.
  [[nodiscard]] std::uint32_t StreamCRC(const NativeFile* file);

 private:
  void checkIdle() const;

  int m_bufferSize = kMinBufferSize;
  TGetDataEvent m_onGetData;
  bool m_busy = false;
};

}  // namespace athup::security
