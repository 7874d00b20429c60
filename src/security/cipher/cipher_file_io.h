#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace athup::security {

// Whole-file input and output of the file ciphers, which work on a whole file in memory.

// The file's content; athup::Error when it cannot be opened or read.
[[nodiscard]] std::string readWholeFile(const std::filesystem::path& path);

// Replaces the file with the bytes. They go to a temporary file beside it that is renamed over the
// destination only when complete, so a failed write never leaves a partial or emptied destination.
void replaceWholeFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace athup::security
