#include "store/catalogue/ath_code_install.h"

#include <system_error>

#include "common/file_helpers.h"
#include "store/engine/table_files.h"

namespace athup::store {

namespace fs = std::filesystem;

bool InstallAthCodeTable(const std::string& dbPathSetting, const fs::path& docDir) {
  constexpr std::string_view kFileName = "ORBDB1_ATH_CODE.DB";
  const fs::path codeFolder = resolveFolderIgnoringCase(
      common::pathFromUtf8(common::IncludeBackslash(dbPathSetting)), "code");
  if (!findFileIgnoringCase(codeFolder, kFileName).empty()) {
    return false;
  }
  const fs::path source = findFileIgnoringCase(
      resolveFolderIgnoringCase(resolveFolderIgnoringCase(docDir, "DB"), "code"), kFileName);
  if (source.empty()) {
    return false;
  }
  std::error_code error;
  // Unchecked on purpose: a missing category table only leaves the category names empty.
  return fs::copy_file(source, codeFolder / fs::path(std::string(kFileName)),
                       fs::copy_options::none, error);
}

}  // namespace athup::store
