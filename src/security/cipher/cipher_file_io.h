#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace athup::security {

// Whole-file input and output of the file ciphers, which work on a whole file in memory.

// The file's content; athup::Error when it cannot be opened or read.
[[nodiscard]] std::string readWholeFile(const std::filesystem::path& path);

// Replaces the file with the bytes through the atomic writer (common/atomic_file.h): a failed write
// never leaves a partial or emptied destination; a new file is private (0600).
void replaceWholeFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace athup::security
