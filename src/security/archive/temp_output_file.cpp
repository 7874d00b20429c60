#include "security/archive/temp_output_file.h"

#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <random>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#endif

#include "security/archive/file_write_error.h"

namespace athup::security::zlb {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

[[noreturn]] void fail(const std::string& what, int error) {
  throw FileWriteError(what, std::generic_category().message(error));
}

#ifndef _WIN32
// Makes the rename itself durable: without it a crash can forget the new name.
void syncFolder(const std::filesystem::path& folder) {
  const std::filesystem::path at = folder.empty() ? std::filesystem::path(".") : folder;
  const int fd = ::open(at.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;  // some file systems cannot open a folder; the file itself is synced
  (void)::fsync(fd);
  ::close(fd);
}
#endif

}  // namespace

TempOutputFile::TempOutputFile(const std::filesystem::path& folder, std::string_view tag) {
  const std::string prefix = std::string(kTemporaryPrefix) + std::string(tag);
  m_buffer.reserve(kBufferSize);
  m_crc = static_cast<std::uint32_t>(crc32(0L, Z_NULL, 0));
#ifdef _WIN32
  std::random_device random;
  for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
    const auto candidate = folder / (prefix + std::to_string(random()) + std::to_string(random()));
    const errno_t rc =
        _wsopen_s(&m_fd, candidate.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _SH_DENYRW,
                  _S_IREAD | _S_IWRITE);
    if (rc == 0) {
      m_path = candidate;
    } else if (rc != EEXIST) {
      fail("cannot create a temporary file in " + folder.string(), rc);
    }
  }
  if (m_fd < 0) fail("cannot create a temporary file in " + folder.string(), EEXIST);
#else
  std::string pattern = (folder / (prefix + "XXXXXX")).string();
  m_fd = mkostemp(pattern.data(), O_CLOEXEC);  // O_EXCL, mode 0600
  if (m_fd < 0) fail("cannot create a temporary file in " + folder.string(), errno);
  m_path = pattern;
  if (fchmod(m_fd, S_IRUSR | S_IWUSR) != 0) {
    const int error = errno;
    closeHandle();
    std::filesystem::remove(m_path);
    fail("cannot protect " + m_path.string(), error);
  }
#endif
}

TempOutputFile::~TempOutputFile() {
  closeHandle();
  if (!m_committed && !m_path.empty()) {
    std::error_code ignored;  // nothing more can be done about a temporary file that will not go
    std::filesystem::remove(m_path, ignored);
  }
}

void TempOutputFile::write(const unsigned char* data, std::size_t size) {
  m_crc = static_cast<std::uint32_t>(crc32_z(m_crc, data, size));
  m_length += size;
  while (size > 0) {
    const std::size_t room = kBufferSize - m_buffer.size();
    const std::size_t take = size < room ? size : room;
    m_buffer.insert(m_buffer.end(), data, data + take);
    data += take;
    size -= take;
    if (m_buffer.size() == kBufferSize) flushBuffer();
  }
}

void TempOutputFile::flushBuffer() {
  const unsigned char* at = m_buffer.data();
  std::size_t left = m_buffer.size();
  while (left > 0) {
#ifdef _WIN32
    const int written = _write(m_fd, at, static_cast<unsigned>(left));
#else
    const ssize_t written = ::write(m_fd, at, left);
#endif
    if (written < 0) {
      if (errno == EINTR) continue;
      fail("cannot write " + m_path.string(), errno);
    }
    at += written;
    left -= static_cast<std::size_t>(written);
  }
  m_buffer.clear();
}

void TempOutputFile::commitTo(const std::filesystem::path& target) {
  flushBuffer();
#ifdef _WIN32
  if (_commit(m_fd) != 0) fail("cannot write " + m_path.string(), errno);
#else
  if (::fsync(m_fd) != 0) fail("cannot write " + m_path.string(), errno);
  struct stat existing {};
  if (::lstat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    if (fchmod(m_fd, existing.st_mode & 07777) != 0)
      fail("cannot set the mode of " + m_path.string(), errno);
  }
#endif
  closeHandle();
  std::error_code error;
  std::filesystem::rename(m_path, target, error);
  if (error) throw FileWriteError("cannot replace " + target.string(), error.message());
  m_committed = true;
#ifndef _WIN32
  syncFolder(target.parent_path());
#endif
}

void TempOutputFile::closeHandle() {
  if (m_fd < 0) return;
#ifdef _WIN32
  _close(m_fd);
#else
  ::close(m_fd);
#endif
  m_fd = -1;
}

}  // namespace athup::security::zlb
