#include "security/codecs/file_mapping.h"

#include <algorithm>

#include "security/codecs/checksum_errors.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace athup::security {

#ifdef _WIN32

FileMapping::FileMapping(const NativeFile* file) {
  if (file == nullptr || !file->isOpen()) throw FileMappingError("InvalidParams");
  m_file = file->handle();
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(m_file, &size) || size.QuadPart == 0) {
    throw FileMappingError("CreateHandleError");
  }
  // Unnamed: a name derived from the handle could open another process's mapping of another file.
  // The size measured above is mapped explicitly: with 0 the mapping would take the size of the
  // moment, and a file cut short in between would leave the view shorter than m_size bytes. A
  // read-only mapping cannot be larger than its file, so that case fails here instead.
  const auto wanted = static_cast<unsigned long long>(size.QuadPart);
  m_mapping = CreateFileMappingW(m_file, nullptr, PAGE_READONLY, static_cast<DWORD>(wanted >> 32),
                                 static_cast<DWORD>(wanted & 0xFFFFFFFFull), nullptr);
  if (m_mapping == nullptr) throw FileMappingError("CreateHandleError");
  m_view = static_cast<const std::uint8_t*>(MapViewOfFile(m_mapping, FILE_MAP_READ, 0, 0, 0));
  if (m_view == nullptr) {
    CloseHandle(m_mapping);
    throw FileMappingError("MapViewError");
  }
  m_size = static_cast<std::uint64_t>(size.QuadPart);
}

FileMapping::~FileMapping() {
  if (m_view != nullptr) UnmapViewOfFile(m_view);
  if (m_mapping != nullptr) CloseHandle(m_mapping);
}

bool FileMapping::nextBlock(const std::uint8_t*& data, std::size_t& size) {
  if (m_view == nullptr || m_offset >= m_size) return false;
  data = m_view;
  size = static_cast<std::size_t>(m_size);
  m_offset = m_size;
  return true;
}

void FileMapping::release() {
  if (m_view != nullptr) {
    const bool unmapped = UnmapViewOfFile(m_view) != 0;
    m_view = nullptr;
    if (!unmapped) throw FileMappingError("UnmapViewError");
  }
  if (m_mapping != nullptr) {
    const bool closed = CloseHandle(m_mapping) != 0;
    m_mapping = nullptr;
    if (!closed) throw FileMappingError("CloseMappingHandle");
  }
}

#else

namespace {
// Large enough that the read calls vanish beside the checksum, small enough to stay in cache.
constexpr std::size_t kBlockSize = 256 * 1024;
}  // namespace

FileMapping::FileMapping(const NativeFile* file) {
  if (file == nullptr || !file->isOpen()) throw FileMappingError("InvalidParams");
  m_file = file->handle();
  struct stat info {};
  if (::fstat(m_file, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) {
    throw FileMappingError("CreateHandleError");
  }
  m_size = static_cast<std::uint64_t>(info.st_size);
  m_buffer.resize(static_cast<std::size_t>(std::min<std::uint64_t>(m_size, kBlockSize)));
}

FileMapping::~FileMapping() = default;

bool FileMapping::nextBlock(const std::uint8_t*& data, std::size_t& size) {
  if (m_offset >= m_size) return false;
  const auto wanted =
      static_cast<std::size_t>(std::min<std::uint64_t>(m_size - m_offset, m_buffer.size()));
  std::size_t got = 0;
  while (got < wanted) {
    const ssize_t n =
        ::pread(m_file, m_buffer.data() + got, wanted - got, static_cast<off_t>(m_offset + got));
    if (n < 0 && errno == EINTR) continue;
    // A read error, or the file became shorter than it was when the view was created.
    if (n <= 0) throw FileMappingError("MapViewError");
    got += static_cast<std::size_t>(n);
  }
  data = m_buffer.data();
  size = got;
  m_offset += got;
  return true;
}

void FileMapping::release() {
  m_buffer.clear();
  m_buffer.shrink_to_fit();
  m_offset = m_size;
}

#endif

}  // namespace athup::security
