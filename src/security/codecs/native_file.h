#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace athup::security {

// A file opened for reading that other programs may still read, write or delete meanwhile.
class NativeFile {
 public:
#ifdef _WIN32
  using Handle = void*;
#else
  using Handle = int;
#endif

  NativeFile() = default;
  // Raises athup::Error "Cannot open file "<name>". <reason>" when the file cannot be opened.
  explicit NativeFile(const std::filesystem::path& path);
  ~NativeFile();
  NativeFile(const NativeFile&) = delete;
  NativeFile& operator=(const NativeFile&) = delete;

  [[nodiscard]] bool isOpen() const;
  [[nodiscard]] Handle handle() const {
    return m_handle;
  }

 private:
#ifdef _WIN32
  Handle m_handle = reinterpret_cast<Handle>(-1);
#else
  Handle m_handle = -1;
#endif
};

}  // namespace athup::security
