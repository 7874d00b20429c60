#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "security/codecs/native_file.h"

namespace athup::security {

// A read-only view of the whole content of an open file, handed out in blocks. On Windows it is
// one mapped view of the file. Elsewhere the blocks are read with pread: a mapping there would
// kill the process with SIGBUS when another program truncates the file while it is read, and
// the filing program may do just that.
//
// Failures raise FileMappingError with the step's text: "InvalidParams" (no open file),
// "CreateHandleError" (the view cannot be created; always for an empty file), "MapViewError"
// (the content cannot be read), "UnmapViewError" and "CloseMappingHandle" (from release()).
class FileMapping {
 public:
  explicit FileMapping(const NativeFile* file);
  ~FileMapping();  // releases quietly; call release() to learn about failures
  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;

  // The file's size when the view was created; the blocks cover exactly that many bytes.
  [[nodiscard]] std::uint64_t size() const { return m_size; }

  // Gives the next block in file order; false once the whole content has been handed out.
  [[nodiscard]] bool nextBlock(const std::uint8_t*& data, std::size_t& size);

  // Unmaps and closes, raising the release errors.
  void release();

 private:
  NativeFile::Handle m_file{};
  std::uint64_t m_size = 0;
  std::uint64_t m_offset = 0;
#ifdef _WIN32
  void* m_mapping = nullptr;
  const std::uint8_t* m_view = nullptr;
#else
  std::vector<std::uint8_t> m_buffer;
#endif
};

}  // namespace athup::security
