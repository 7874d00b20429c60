#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "common/atomic_file.h"

namespace athup::security::zlb {

// The archive's temporary files carry the program-wide prefix, so a later start removes the ones a
// killed run left behind (common::removeStaleTemporaryFiles).
inline constexpr std::string_view kTemporaryPrefix = common::kTemporaryFilePrefix;

// A new file with a unique name (kTemporaryPrefix, a tag, random characters), created exclusively,
// readable and writable by its owner only, that disappears on destruction unless it was moved
// onto its final name. Everything written passes a running
// CRC-32 and a byte count, so the archive trailer needs no second read.
class TempOutputFile {
 public:
  // Creates the file in `folder`; `tag` names its purpose after the common prefix. Throws
  // FileWriteError.
  TempOutputFile(const std::filesystem::path& folder, std::string_view tag);
  ~TempOutputFile();
  TempOutputFile(const TempOutputFile&) = delete;
  TempOutputFile& operator=(const TempOutputFile&) = delete;

  // Throws FileWriteError when the disk refuses the bytes.
  void write(const unsigned char* data, std::size_t size);
  [[nodiscard]] std::uint64_t length() const { return m_length; }
  [[nodiscard]] std::uint32_t crc() const { return m_crc; }
  [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

  // Flushes to disk and renames the file onto `target` in one step, replacing the name (a link
  // at the name is replaced, never written through); a replaced regular file's permissions carry
  // over. Throws FileWriteError; the temporary file is then still removed on destruction.
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
