#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace athup::security::zlb {

// A new file with a unique name, readable and writable by its owner only, that disappears on
// destruction unless it was moved onto its final name. Everything written passes a running
// CRC-32 and a byte count, so the archive trailer needs no second read.
class TempOutputFile {
 public:
  // Creates the file in `folder` with a name starting with `prefix`; throws athup::Error.
  TempOutputFile(const std::filesystem::path& folder, std::string_view prefix);
  ~TempOutputFile();
  TempOutputFile(const TempOutputFile&) = delete;
  TempOutputFile& operator=(const TempOutputFile&) = delete;

  void write(const unsigned char* data, std::size_t size);
  [[nodiscard]] std::uint64_t length() const { return m_length; }
  [[nodiscard]] std::uint32_t crc() const { return m_crc; }
  [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

  // Flushes to disk and renames the file onto `target` in one step, replacing it; a replaced
  // file's permissions carry over. Throws athup::Error; the temporary file is then still removed
  // on destruction.
  void commitTo(const std::filesystem::path& target);

 private:
  void flushBuffer();
  void closeHandle();

  std::filesystem::path m_path;
  int m_fd = -1;
  std::vector<unsigned char> m_buffer;
  std::uint64_t m_length = 0;
  std::uint32_t m_crc = 0;
  bool m_committed = false;
};

}  // namespace athup::security::zlb
