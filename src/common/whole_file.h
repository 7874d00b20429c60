#pragma once

#include <filesystem>
#include <string>

#include "common/errors.h"

namespace athup::common {

// What readWholeFile throws; opened() tells a failed read from a file that would not open, for
// callers that word the two apart.
class WholeFileError : public Error {
 public:
  WholeFileError(const std::string& message, bool opened) : Error(message), m_opened(opened) {}
  [[nodiscard]] bool opened() const { return m_opened; }

 private:
  bool m_opened;
};

// The whole content of a file, byte for byte. A file that cannot be opened (missing, a folder, no
// permission) throws athup::Error 無法開啟檔案 "<path>"。, a read that fails midway
// 無法讀取檔案 "<path>"。 (both as WholeFileError).
[[nodiscard]] std::string readWholeFile(const std::filesystem::path& path);

}  // namespace athup::common
