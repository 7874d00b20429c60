#include "filing_server/upload_unpacker.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "common/errors.h"
#include "security/archive/archive.h"
#include "security/cipher/upload_cipher.h"

namespace athup::filing_server {
namespace {

// Removes its folder with everything in it, whatever way the unpacking ends.
struct FolderGuard {
  std::filesystem::path path;
  ~FolderGuard() {
    std::error_code ignored;  // a leftover work folder is harmless; never mask the real outcome
    std::filesystem::remove_all(path, ignored);
  }
};

std::string readAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error("cannot read the unpacked document");
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

UploadUnpacker::UploadUnpacker(std::filesystem::path workDir, std::uint64_t maxDocumentBytes)
    : m_workDir(std::move(workDir)), m_maxDocumentBytes(maxDocumentBytes) {}

UploadUnpacker::Document UploadUnpacker::unpack(std::string_view encrypted,
                                                const std::string& ban) {
  security::UploadCipher cipher;
  cipher.setPassword(ban);
  cipher.decryptBytes(encrypted);

  const FolderGuard folder{m_workDir / ("unpack-" + std::to_string(m_next++))};
  std::filesystem::create_directories(folder.path);
  const std::filesystem::path archivePath = folder.path / "upload.zip";
  {
    std::ofstream out(archivePath, std::ios::binary);
    out << cipher.resultText();
    if (!out.flush()) throw Error("cannot write the decrypted archive");
  }

  security::Archive archive;
  archive.setCheckCrc(true);
  if (!archive.open(archivePath)) throw Error("the archive cannot be opened");
  if (archive.entryCount() != 1) {
    throw Error("the archive holds " + std::to_string(archive.entryCount()) +
                " entries instead of one");
  }
  const security::ArchiveEntry entry = archive.entry(0);
  if (entry.uncompressedSize > m_maxDocumentBytes) {
    throw Error("the document is larger than " + std::to_string(m_maxDocumentBytes) + " bytes");
  }
  const std::filesystem::path out = folder.path / "out";
  archive.extractAll(out);
  archive.close();

  Document document{entry.fileName, {}};
  int files = 0;
  for (const auto& item : std::filesystem::directory_iterator(out)) {
    if (++files > 1 || !item.is_regular_file()) {
      throw Error("the archive did not unpack to one document");
    }
    document.content = readAll(item.path());
  }
  if (files != 1) throw Error("the archive did not unpack to one document");
  if (document.content.size() != entry.uncompressedSize) {
    throw Error("the unpacked document has the wrong size");
  }
  return document;
}

}  // namespace athup::filing_server
