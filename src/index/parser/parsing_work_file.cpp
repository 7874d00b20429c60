#include "index/parser/parsing_work_file.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <system_error>

#include "common/atomic_file.h"
#include "common/errors.h"
#include "common/whole_file.h"
#include "index/parser/parser_messages.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace athup::index {
namespace {

constexpr unsigned kNumbers = 0xFFFF;  // 0001 to FFFF

std::string workFileName(unsigned number) {
  char name[16];
  std::snprintf(name, sizeof name, "~FP%04X.tmp", number);
  return name;
}

// Creates the file only when the name is free, so two parsers never share one and a planted
// link is never followed; -1 with errno set otherwise.
int createExclusive(const std::filesystem::path& path) {
#ifdef _WIN32
  return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
#endif
}

bool writeAndClose(int fd, std::string_view content) {
  bool ok = true;
  while (ok && !content.empty()) {
#ifdef _WIN32
    const int written = _write(fd, content.data(), static_cast<unsigned>(content.size()));
#else
    const ssize_t written = ::write(fd, content.data(), content.size());
#endif
    if (written < 0 && errno == EINTR) continue;
    ok = written > 0;
    if (ok) content.remove_prefix(static_cast<std::size_t>(written));
  }
#ifdef _WIN32
  return _close(fd) == 0 && ok;
#else
  return ::close(fd) == 0 && ok;
#endif
}

}  // namespace

std::filesystem::path createWorkFile(const std::filesystem::path& folder,
                                     std::string_view content) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) throw Error(cannotCreateWorkFileMessage());
  // Start at a number that differs between runs, as the system's own unique names do.
  const auto seed =
      static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count() & 0xFFFF);
  for (unsigned attempt = 0; attempt < kNumbers; ++attempt) {
    const unsigned number = (seed + attempt) % kNumbers + 1;
    const auto path = folder / workFileName(number);
    const int fd = createExclusive(path);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      break;
    }
    if (writeAndClose(fd, content)) return path;
    std::filesystem::remove(path, error);
    break;
  }
  throw Error(cannotCreateWorkFileMessage());
}

void replaceWithWorkFile(const std::filesystem::path& target, const std::filesystem::path& work) {
  try {
    common::writeFileAtomically(target, common::readWholeFile(work));
  } catch (const Error&) {
    throw Error(cannotWriteBackMessage(target));
  }
}

}  // namespace athup::index
