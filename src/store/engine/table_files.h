#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/ascii.h"

// Tables live one per file, named like the table + ".DB". On the workstation the tables come from
// file names are not case-sensitive ("ORBDB1_Applyer.DB" and ORBDB1_APPLYER name one table), so
// lookups here ignore case; files are created with the name as given.
namespace athup::store {

// "ORBDB_ATH_FILE" -> "ORBDB_ATH_FILE.DB".
[[nodiscard]] std::string tableFileName(std::string_view table);

// The regular file in `folder` whose name equals `fileName` ignoring ASCII case, preferring the
// exact spelling; empty when there is none (also when the folder does not exist).
[[nodiscard]] std::filesystem::path findFileIgnoringCase(const std::filesystem::path& folder,
                                                         std::string_view fileName);

// The same for a sub-folder; when none exists, folder / name as given.
[[nodiscard]] std::filesystem::path resolveFolderIgnoringCase(const std::filesystem::path& folder,
                                                              std::string_view name);

// The file of a table in `folder`; empty when there is none.
[[nodiscard]] std::filesystem::path findTableFile(const std::filesystem::path& folder,
                                                  std::string_view table);

// ASCII upper case, for table-name keys.
using common::upperAscii;

}  // namespace athup::store
