// Opening and extracting arbitrary archive bytes. The first byte chooses options and whether the
// trailer checksum is stamped right, so the registry and entry readers are reached too. Anything
// written outside the destination folder, a temporary file left behind, or a crash, is a finding.
#include <stdlib.h>
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/errors.h"
#include "security/archive/archive.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kTrailer = 36;
constexpr std::uint64_t kMaxExtracted = 64ull << 20;  // keeps a run from filling the disk

const fs::path& workFolder() {
  // never destroyed, so the exit handler that removes the folder can still read it
  static const fs::path* const folder = [] {
    std::string pattern = (fs::temp_directory_path() / "athup-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    return new fs::path(pattern);
  }();
  static const bool cleanup = [] {
    return std::atexit([] {
             std::error_code ignored;
             fs::remove_all(*folder, ignored);
           }) == 0;
  }();
  (void)cleanup;
  return *folder;
}

// Only the archive and the destination chain may exist below the work folder.
void checkNothingEscaped(const fs::path& destination) {
  for (const auto& item : fs::recursive_directory_iterator(workFolder())) {
    const fs::path relative = item.path().lexically_relative(workFolder());
    if (relative == "a.zip") continue;
    const std::string text = relative.generic_string();
    if (item.path().filename().string().starts_with(".athup-tmp-")) abort();
    const std::string inside = destination.lexically_relative(workFolder()).generic_string();
    if (text == "x" || text == "x/y" || text == inside || text.rfind(inside + "/", 0) == 0)
      continue;
    abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t options = data[0];
  std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  if ((options & 1) != 0 && bytes.size() >= kTrailer) {
    const auto crc = static_cast<std::uint32_t>(
        crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size() - kTrailer));
    for (int i = 0; i < 4; ++i)
      bytes[bytes.size() - kTrailer + i] = static_cast<char>(crc >> (8 * i));
  }
  const fs::path archiveFile = workFolder() / "a.zip";
  {
    std::ofstream out(archiveFile, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  const fs::path destination = workFolder() / "x" / "y" / "out";

  athup::security::Archive archive;
  athup::security::ArchiveLimits limits;
  limits.maxExtractedBytes = kMaxExtracted;  // the archive's own check keeps a run off the disk
  archive.setLimits(limits);
  archive.setCheckCrc((options & 2) != 0);
  archive.setExtractWithPath((options & 4) != 0);
  archive.setSavePaths((options & 8) != 0);
  try {
    if (archive.open(archiveFile)) {
      for (int i = 0; i < archive.entryCount(); ++i) {
        (void)archive.indexOfFile(fs::path("/some/folder") / archive.entry(i).fileName);
      }
      archive.extractAll(destination);
    }
  } catch (const athup::Error&) {
  }
  checkNothingEscaped(destination);
  std::error_code ignored;
  fs::remove_all(workFolder() / "x", ignored);
  return 0;
}
