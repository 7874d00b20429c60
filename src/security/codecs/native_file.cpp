#include "security/codecs/native_file.h"

#include <cstring>
#include <string>

#include "common/errors.h"
#include "common/file_helpers.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace athup::security {

#ifdef _WIN32

NativeFile::NativeFile(const std::filesystem::path& path) {
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    throw Error("Cannot open file \"" + common::utf8FromPath(path) + "\". Error " +
                std::to_string(GetLastError()));
  }
  m_handle = handle;
}

NativeFile::~NativeFile() {
  if (isOpen()) CloseHandle(m_handle);
}

bool NativeFile::isOpen() const {
  return m_handle != INVALID_HANDLE_VALUE;
}

#else

NativeFile::NativeFile(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const std::string reason = std::strerror(errno);
    throw Error("Cannot open file \"" + path.string() + "\". " + reason);
  }
  m_handle = fd;
}

NativeFile::~NativeFile() {
  if (isOpen()) ::close(m_handle);
}

bool NativeFile::isOpen() const {
  return m_handle >= 0;
}

#endif

}  // namespace athup::security
