#include "security/codecs/file_checksum.h"

#include <array>

#include "security/codecs/crc_table.h"
#include "security/codecs/file_mapping.h"

namespace athup::security {
namespace {

// The words at byte offsets 0..255 of the table image (the highest byte read is 258), so the
// inner loop is one plain table lookup per byte.
constexpr std::array<std::uint32_t, 256> makeOffsetTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::size_t k = 0; k < 256; ++k) {
    table[k] = std::uint32_t{kCrcTableImage[k]} | (std::uint32_t{kCrcTableImage[k + 1]} << 8) |
               (std::uint32_t{kCrcTableImage[k + 2]} << 16) |
               (std::uint32_t{kCrcTableImage[k + 3]} << 24);
  }
  return table;
}

constexpr std::array<std::uint32_t, 256> kOffsetTable = makeOffsetTable();

// Clears the busy flag however the computation ends.
class BusyScope {
 public:
  explicit BusyScope(bool& busy) : m_busy(busy) { m_busy = true; }
  ~BusyScope() { m_busy = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& m_busy;
};

}  // namespace

std::uint32_t fileChecksumUpdate(std::uint32_t c, const std::uint8_t* data, std::size_t size) {
  const std::uint32_t* table = kOffsetTable.data();
  std::size_t i = 0;
  // Unrolled; the chain through c stays one lookup per byte, in file order.
  for (; i + 8 <= size; i += 8) {
    c = (c >> 8) ^ table[(c ^ data[i]) & 0xFFu];
    c = (c >> 8) ^ table[(c ^ data[i + 1]) & 0xFFu];
    c = (c >> 8) ^ table[(c ^ data[i + 2]) & 0xFFu];
    c = (c >> 8) ^ table[(c ^ data[i + 3]) & 0xFFu];
    c = (c >> 8) ^ table[(c ^ data[i + 4]) & 0xFFu];
    c = (c >> 8) ^ table[(c ^ data[i + 5]) & 0xFFu];
    c = (c >> 8) ^ table[(c ^ data[i + 6]) & 0xFFu];
    c = (c >> 8) ^ table[(c ^ data[i + 7]) & 0xFFu];
  }
  for (; i < size; ++i) c = (c >> 8) ^ table[(c ^ data[i]) & 0xFFu];
  return c;
}

std::uint32_t fileChecksum(std::string_view bytes) {
  return fileChecksumUpdate(0xFFFFFFFFu, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                            bytes.size()) ^
         0xFFFFFFFFu;
}

std::string fileChecksumTrimmed(std::uint32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xFu]);
    value >>= 4;
  } while (value != 0);
  return text;
}

std::string fileChecksumText(std::uint32_t value) {
  const std::string digits = fileChecksumTrimmed(value);
  return std::string(8 - digits.size(), ' ') + digits;
}

void FileChecksumCalculator::checkIdle() const {
  if (m_busy) throw ChecksumBusyError("CRC Calc is Busy");
}

std::uint32_t FileChecksumCalculator::checksumOf(const NativeFile* file) {
  checkIdle();
  BusyScope busy(m_busy);
  FileMapping mapping(file);
  std::uint32_t c = 0xFFFFFFFFu;
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  while (mapping.nextBlock(data, size)) c = fileChecksumUpdate(c, data, size);
  mapping.release();
  return c ^ 0xFFFFFFFFu;
}

std::string FileChecksumCalculator::paddedChecksumText(const std::filesystem::path& path) {
  checkIdle();
  const NativeFile file(path);
  return fileChecksumText(checksumOf(&file));
}

std::string FileChecksumCalculator::checksumText(const std::filesystem::path& path) {
  const std::string text = paddedChecksumText(path);
  return text.substr(text.find_first_not_of(' '));
}

}  // namespace athup::security
