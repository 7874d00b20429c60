#include "store/catalogue/ath_code_install.h"

#include <system_error>

#include "common/file_helpers.h"
#include "store/engine/table_files.h"

namespace athup::store {

namespace fs = std::filesystem;

bool installCategoryTable(const std::string& dbPathSetting, const fs::path& docDir) {
  constexpr std::string_view kFileName = "ORBDB1_ATH_CODE.DB";
  const fs::path codeFolder = resolveFolderIgnoringCase(
      common::pathFromUtf8(common::withTrailingSeparator(dbPathSetting)), "code");
  if (!findFileIgnoringCase(codeFolder, kFileName).empty()) {
    return false;
  }
  const fs::path source = findFileIgnoringCase(
      resolveFolderIgnoringCase(resolveFolderIgnoringCase(docDir, "DB"), "code"), kFileName);
  if (source.empty()) {
    return false;
  }
  // Unchecked on purpose: a missing category table only leaves the category names empty. The
  // copy is made under a temporary name and renamed into place, so a copy cut short (a full disk)
  // never stands as an installed table that later runs would leave alone.
  const fs::path target = codeFolder / fs::path(std::string(kFileName));
  const fs::path partial = codeFolder / fs::path(std::string(kFileName) + ".part");
  std::error_code error;
  if (fs::copy_file(source, partial, fs::copy_options::overwrite_existing, error)) {
    fs::rename(partial, target, error);
    if (!error) {
      return true;
    }
  }
  std::error_code ignored;  // nothing of ours is left behind
  fs::remove(partial, ignored);
  return false;
}

}  // namespace athup::store
