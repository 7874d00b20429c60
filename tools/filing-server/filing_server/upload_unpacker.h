#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace athup::filing_server {

// Opens an uploaded file the way the filing server does: decrypt it with the upload cipher and
// the BAN as password, then unpack the one document of the archive inside, checking the
// archive's CRCs on the way. Works in private folders below the work folder and leaves nothing
// behind. Every failure throws athup::Error with the reason.
class UploadUnpacker {
 public:
  struct Document {
    std::string name;     // the entry's file name (UTF-8)
    std::string content;  // the document's bytes
  };

  UploadUnpacker(std::filesystem::path workDir, std::uint64_t maxDocumentBytes);

  [[nodiscard]] Document unpack(std::string_view encrypted, const std::string& ban);

 private:
  std::filesystem::path m_workDir;
  std::uint64_t m_maxDocumentBytes;
  std::atomic<unsigned> m_next{0};
};

}  // namespace athup::filing_server
