#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Folder and file helpers. Paths are UTF-8 texts; folders passed in end with the platform
// separator (see withTrailingSeparator).
namespace athup::common {

// The platform's path separator: '\' on Windows, '/' elsewhere.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// A UTF-8 path text as a filesystem path and back, the same on every platform.
[[nodiscard]] std::filesystem::path pathFromUtf8(std::string_view utf8);
[[nodiscard]] std::string utf8FromPath(const std::filesystem::path& path);

// Appends the platform separator unless the path is empty or already ends with it.
[[nodiscard]] std::string withTrailingSeparator(std::string_view path);

// With p the 1-based Big5 position of the last '.', the text after it, at most p + 3 Big5 bytes;
// a name without '.' gives its first two characters. Receipt listing compares it, upper-cased,
// with "PRN".
[[nodiscard]] std::string textAfterLastDot(std::string_view fileName);

// folder + name of every plain file directly in the folder, in the order the file system lists
// them; hidden files (names starting with '.'; on Windows also the hidden and system attributes),
// folders, links to folders and special files are left out. A missing or unreadable folder gives
// an empty list.
[[nodiscard]] std::vector<std::string> listFilesInFolder(std::string_view folder);

// The same, into an existing list: clears it first; a null list is left alone.
void listFilesInFolder(std::string_view folder, std::vector<std::string>* list);

// Deletes every file listFilesInFolder gives whose full path contains `filter` (an empty or blank
// filter deletes them all); subfolders are untouched. A missing folder does nothing. Returns the
// number of files that could not be deleted (left in place, for example write-protected ones) so
// callers that care can tell.
std::size_t deleteFilesInFolder(std::string_view folder, std::string_view filter);

// The size of a file in bytes, 0 when there is no such file (a folder counts as none). 64-bit, so
// documents above 2 GB are measured rather than truncated.
[[nodiscard]] std::uint64_t fileSizeOf(std::string_view path);

}  // namespace athup::common
