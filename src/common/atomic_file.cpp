#include "common/atomic_file.h"

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

#include "common/errors.h"
#include "common/file_faults.h"
#include "common/file_helpers.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace athup::common {
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;
constexpr int kNameAttempts = 16;

std::string randomTag() {
  static constexpr char kHex[] = "0123456789abcdef";
  std::random_device random;
  std::string tag;
  for (int i = 0; i < 4; ++i) {
    const auto value = random();
    for (int shift = 0; shift < 32; shift += 4) tag += kHex[(value >> shift) & 0xF];
  }
  return tag;
}

std::filesystem::path folderOf(const std::filesystem::path& target) {
  const auto folder = target.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

#ifdef _WIN32
int openExclusive(const std::filesystem::path& path, int mode) {
  (void)mode;  // Windows files carry no permission bits; the folder's ACL applies
  return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int modeToKeep(const std::filesystem::path&) {
  return 0600;
}
long writeSome(int fd, const char* data, std::size_t size) {
  return _write(fd, data, static_cast<unsigned>(size));
}
bool syncFile(int fd) {
  return _commit(fd) == 0;
}
bool closeFile(int fd) {
  return _close(fd) == 0;
}
bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  return MoveFileExW(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
void syncFolder(const std::filesystem::path&) {}  // MOVEFILE_WRITE_THROUGH covers the rename
#else
int openExclusive(const std::filesystem::path& path, int mode) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  // fchmod, unlike the open mode, is not narrowed by the umask: a replaced file keeps its mode.
  if (fd >= 0 && ::fchmod(fd, static_cast<mode_t>(mode)) != 0) {
    ::close(fd);
    ::unlink(path.c_str());
    return -1;
  }
  return fd;
}
// The mode of the regular file being replaced, else 0600: our new files are private.
int modeToKeep(const std::filesystem::path& target) {
  struct stat existing {};
  if (::lstat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
    return static_cast<int>(existing.st_mode & 07777);
  return 0600;
}
long writeSome(int fd, const char* data, std::size_t size) {
  return static_cast<long>(::write(fd, data, size));
}
bool syncFile(int fd) {
  return ::fsync(fd) == 0;
}
bool closeFile(int fd) {
  return ::close(fd) == 0;
}
bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  return ::rename(from.c_str(), to.c_str()) == 0;
}
// Makes the rename itself durable. Best effort: the data is on disk already, and some file
// systems (network shares among them) refuse to sync a folder.
void syncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)::fsync(fd);
  ::close(fd);
}
#endif

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path target) : m_target(std::move(target)) {
  const int mode = modeToKeep(m_target);
  const auto folder = folderOf(m_target);
  const std::string name = utf8FromPath(m_target.filename());
  for (int attempt = 0; attempt < kNameAttempts && m_fd < 0; ++attempt) {
    m_temporary =
        folder / pathFromUtf8(std::string(kTemporaryFilePrefix) + name + "-" + randomTag());
    m_fd = openExclusive(m_temporary, mode);
    if (m_fd < 0 && errno != EEXIST) break;
  }
  if (m_fd < 0) {
    m_temporary.clear();
    throw Error("無法建立檔案 \"" + utf8FromPath(m_target) + "\"。");
  }
}

AtomicFile::~AtomicFile() {
  if (!m_committed) discard();
}

void AtomicFile::discard() noexcept {
  if (m_fd >= 0) (void)closeFile(m_fd);
  m_fd = -1;
  if (!m_temporary.empty()) {
    std::error_code ignored;  // only our own temporary file
    std::filesystem::remove(m_temporary, ignored);
  }
}

void AtomicFile::fail() {
  discard();
  m_committed = true;  // nothing left to discard or commit
  throw Error("無法寫入檔案 \"" + utf8FromPath(m_target) + "\"。");
}

void AtomicFile::write(std::string_view bytes) {
  if (m_fd < 0) fail();
  while (!bytes.empty()) {
    std::size_t block = std::min(bytes.size(), kBlockSize);
    const bool faulted = FileFaults::nextOperationFails();
    if (faulted) block = block / 2;  // a full disk takes part of a write, then refuses
    if (block > 0) {
      const long written = writeSome(m_fd, bytes.data(), block);
      if (written < 0) {
        if (errno == EINTR) continue;
        fail();
      }
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    if (faulted) fail();
  }
}

void AtomicFile::commit() {
  if (m_fd < 0 || m_committed) fail();
  if (FileFaults::nextOperationFails() || !syncFile(m_fd)) fail();
  const bool closed = closeFile(m_fd);
  m_fd = -1;
  if (!closed) fail();
  if (FileFaults::nextOperationFails() || !renameOver(m_temporary, m_target)) fail();
  m_committed = true;
  m_temporary.clear();
  syncFolder(folderOf(m_target));
}

void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
  AtomicFile file(target);
  file.write(bytes);
  file.commit();
}

}  // namespace athup::common
