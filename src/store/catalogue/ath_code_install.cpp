#include "store/catalogue/ath_code_install.h"

#include <system_error>

#include "common/atomic_file.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "common/whole_file.h"
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
  // atomic writer never lets a copy cut short (a full disk) stand as an installed table that later
  // runs would leave alone.
  try {
    common::writeFileAtomically(codeFolder / fs::path(std::string(kFileName)),
                                common::readWholeFile(source));
    return true;
  } catch (const Error&) {
    return false;
  }
}

}  // namespace athup::store
