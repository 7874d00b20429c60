#include "security/archive/extract_path.h"

#include <string>

#include "common/ascii.h"
#include "common/file_helpers.h"

namespace athup::security::zlb {
namespace {

bool isSeparator(char c) {
#ifdef _WIN32
  return c == '/' || c == '\\';
#else
  return c == '/';
#endif
}

bool hasDrive(std::string_view part) {
#ifdef _WIN32
  return part.find(':') != std::string_view::npos;  // a drive or an alternate data stream
#else
  return part.size() >= 2 && common::isAsciiUpper(common::toUpperAscii(part[0])) && part[1] == ':';
#endif
}

// Windows opens a device, not a file, for these names with any extension and in any case
// ("nul.txt", "Com1"); an archive written here may be extracted there, so they are refused
// everywhere.
bool isDeviceName(std::string_view part) {
  std::string_view stem = part.substr(0, part.find('.'));
  // Windows also drops blanks at the end of the stem: "NUL .txt" is the device too
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  std::string upper(stem);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
         upper[3] >= '1' && upper[3] <= '9';
}

bool isSafePart(std::string_view part) {
  if (part.empty() || part == "." || part == "..") return false;
  if (hasDrive(part) || isDeviceName(part)) return false;
  for (const char c : part) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F) return false;
  }
#ifdef _WIN32
  // Windows drops trailing dots and blanks, which could turn "..." into ".."
  if (part.back() == '.' || part.back() == ' ') return false;
#endif
  return true;
}

}  // namespace

std::filesystem::path utf8Path(std::string_view utf8) {
  return common::pathFromUtf8(utf8);
}

bool isPlainName(std::string_view utf8Name) {
  return isSafePart(utf8Name);
}

std::filesystem::path normalizeDestination(std::string_view utf8Destination) {
  std::string reduced;
  reduced.reserve(utf8Destination.size());
  for (std::size_t i = 0; i < utf8Destination.size(); ++i) {
    const char c = utf8Destination[i];
    // keep a leading pair, which starts a network path on Windows
    if (i > 1 && isSeparator(c) && isSeparator(reduced.back())) continue;
    reduced += c;
  }
  while (reduced.size() > 1 && isSeparator(reduced.back())) reduced.pop_back();
  return utf8Path(reduced);
}

std::optional<std::filesystem::path> targetFolder(const std::filesystem::path& destination,
                                                  std::string_view utf8FolderField, bool withPath) {
  std::filesystem::path folder = destination;
  if (!withPath) return folder;
  std::size_t start = 0;
  while (start <= utf8FolderField.size()) {
    std::size_t end = utf8FolderField.find('\\', start);
    if (end == std::string_view::npos) end = utf8FolderField.size();
    const std::string_view part = utf8FolderField.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (!isSafePart(part)) return std::nullopt;
    folder /= utf8Path(part);
  }
  return folder;
}

}  // namespace athup::security::zlb
