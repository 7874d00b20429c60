#pragma once

#include <chrono>
#include <filesystem>
#include <string_view>

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

// The name start of the folder a run keeps its working files in (packed and sealed copies, index
// documents, decoded result files), below the program's TMP folder.
inline constexpr std::string_view kWorkFolderPrefix = ".athup-run-";

// Removes the working folders of runs (names starting with kWorkFolderPrefix) directly in `folder`,
// with everything in them, that were last changed at least `minimumAge` ago: what a crashed or
// killed upload or query left behind. A run that is going on changes its folder with every file.
// Links and other entries are never touched. Returns how many folders were removed.
std::size_t removeStaleWorkFolders(const std::filesystem::path& folder,
                                   std::chrono::seconds minimumAge = kStaleTemporaryAge);

// The name end of a receipt file decrypted for reading or printing, beside the receipt files.
inline constexpr std::string_view kDecodedReceiptSuffix = ".dprn";

// Removes the decrypted receipt files (plain result files) directly in `folder` that were last
// written at least `minimumAge` ago: a crash while one was read or printed left it in the clear.
std::size_t removeStaleDecodedReceipts(const std::filesystem::path& folder,
                                       std::chrono::seconds minimumAge = kStaleTemporaryAge);

}  // namespace athup::common
