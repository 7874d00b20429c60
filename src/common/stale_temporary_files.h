#pragma once

#include <chrono>
#include <filesystem>

namespace athup::common {

// How old a temporary file of ours must be before a start-up removes it: another instance that is
// writing one right now keeps its file.
inline constexpr std::chrono::minutes kStaleTemporaryAge{60};

// Removes the temporary files of ours (names starting with kTemporaryFilePrefix) directly in
// `folder` that were last written at least `minimumAge` ago: what a killed save, pack, extraction,
// inflate or table creation left behind. Other files, links, folders and anything below them are
// never touched; a folder that cannot be read removes nothing. Returns how many files were removed.
std::size_t removeStaleTemporaryFiles(const std::filesystem::path& folder,
                                      std::chrono::seconds minimumAge = kStaleTemporaryAge);

}  // namespace athup::common
