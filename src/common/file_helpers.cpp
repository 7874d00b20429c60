#include "common/file_helpers.h"

#include <system_error>

#include "common/big5.h"
#include "common/text_helpers.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace athup::common {
namespace {

// Hidden and system files are not the user's documents.
bool isHiddenOrSystem(const std::filesystem::directory_entry& entry) {
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesW(entry.path().c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
#else
  const std::string name = entry.path().filename().string();
  return !name.empty() && name.front() == '.';
#endif
}

}  // namespace

std::filesystem::path pathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(
      std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

std::string withTrailingSeparator(std::string_view path) {
  std::string out(path);
  if (!out.empty() && out.back() != kPathSeparator) out += kPathSeparator;
  return out;
}

std::string textAfterLastDot(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return cutToBig5Width(fileName, 2);
  const std::size_t position = big5Width(fileName.substr(0, dot)) + 1;  // 1-based, in Big5 bytes
  return cutToBig5Width(fileName.substr(dot + 1), position + 3);
}

std::vector<std::string> listFilesInFolder(std::string_view folder) {
  std::vector<std::string> files;
  const std::string prefix = withTrailingSeparator(folder);  // a folder given without its separator
  std::error_code error;
  std::filesystem::directory_iterator it(pathFromUtf8(folder), error);
  if (error) return files;  // a missing or unreadable folder simply has no files to offer
  for (const std::filesystem::directory_iterator end; it != end; it.increment(error)) {
    if (error) break;
    const auto& entry = *it;
    std::error_code statError;
    // Links are followed: a link to a file counts as a file (deleting it removes only the link),
    // a link to a folder is a folder.
    if (!entry.is_regular_file(statError) || statError) continue;
    if (isHiddenOrSystem(entry)) continue;
    files.push_back(prefix + utf8FromPath(entry.path().filename()));
  }
  return files;
}

void listFilesInFolder(std::string_view folder, std::vector<std::string>* list) {
  if (list == nullptr) return;
  *list = listFilesInFolder(folder);
}

std::size_t deleteFilesInFolder(std::string_view folder, std::string_view filter) {
  std::error_code error;
  if (!std::filesystem::is_directory(pathFromUtf8(folder), error)) return 0;
  const std::string wanted = trimBlanks(filter).empty() ? std::string() : std::string(filter);
  std::size_t left = 0;
  for (const auto& file : listFilesInFolder(folder)) {
    if (!wanted.empty() && file.find(wanted) == std::string::npos) continue;
    std::error_code removeError;
    if (!std::filesystem::remove(pathFromUtf8(file), removeError) || removeError) ++left;
  }
  return left;
}

std::uint64_t fileSizeOf(std::string_view path) {
  std::error_code error;
  const auto target = pathFromUtf8(path);
  if (!std::filesystem::is_regular_file(target, error)) return 0;
  const std::uintmax_t size = std::filesystem::file_size(target, error);
  return error ? 0 : static_cast<std::uint64_t>(size);
}

}  // namespace athup::common
