#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

// Where extraction may write: a recorded name or folder is used only when it cannot lead outside
// the destination folder.
namespace athup::security::zlb {

// True when a recorded file name is one plain name: not empty, not "." or "..", no path separator
// of either kind, no drive, no control character, and no Windows device name (CON, PRN, AUX, NUL,
// COM1-COM9, LPT1-LPT9, in any case, with or without an extension).
[[nodiscard]] bool isPlainName(std::string_view utf8Name);

// The destination given by the caller with doubled separators reduced and a final one removed, so
// "dir" and "dir/" name the same folder.
[[nodiscard]] std::filesystem::path normalizeDestination(std::string_view utf8Destination);

// The folder an entry goes to: the destination, followed, when `withPath` is set, by the recorded
// folder field. The field is backslash-separated in the archive's own convention; a leading or
// doubled backslash and "." parts are dropped. nullopt when a part is "..", holds a drive or any
// other separator, so nothing would be written outside the destination.
[[nodiscard]] std::optional<std::filesystem::path> targetFolder(
    const std::filesystem::path& destination, std::string_view utf8FolderField, bool withPath);

// A UTF-8 text as a path, on every platform.
[[nodiscard]] std::filesystem::path utf8Path(std::string_view utf8);

}  // namespace athup::security::zlb
