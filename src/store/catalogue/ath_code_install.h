#pragma once

#include <filesystem>
#include <string>

namespace athup::store {

// Installs the default category table: when dbPathSetting + "code" + "ORBDB1_ATH_CODE.DB" does
// not exist, copies docDir + "DB/code/ORBDB1_ATH_CODE.DB" there. An existing table is never
// overwritten. The folder and file names are matched ignoring case, so the copy lands in the code
// folder the ORBCODE alias reads however it is spelt. The result of the copy is not checked: a
// missing category table shows up as empty category names. Returns true when a file was copied.
bool installCategoryTable(const std::string& dbPathSetting, const std::filesystem::path& docDir);

}  // namespace athup::store
