#include "upload/media/document_copier.h"

#include <system_error>

#include "common/atomic_file.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "common/text_helpers.h"
#include "common/whole_file.h"
#include "security/codecs/file_checksum.h"
#include "store/queries/category_queries.h"
#include "store/queries/category_types.h"

namespace athup::upload {

namespace {

constexpr const char* kBreak = "\n";

std::string documentProblem(const std::string& categoryName, const std::string& path,
                            const char* what) {
  return "附件清單中，" + categoryName + "的檔案：" + path + what + kBreak + "請重新設定．";
}

}  // namespace

std::string DocumentCopier::copyDocuments(std::string_view ban,
                                          const std::filesystem::path& folder) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) {
    throw Error("目的目錄不存在，請先建立!");
  }
  store::CategoryQueries categories(m_orbCode);
  for (const char* type : {"T02", "T08", "TET"}) {
    store::ResultSet rows =
        m_orbWin.query("SELECT * FROM " + store::indexTableOf(type) +
                           " A ,ORBDB_ATH_FILE B  WHERE A.BAN=B.BAN AND A.FILE_SEQ=B.FILE_SEQ AND "
                           "A.BAN = :BAN ORDER BY A.FILE_SEQ, B.rowid",
                       {{"BAN", std::string(ban)}});
    for (rows.first(); !rows.eof(); rows.next()) {
      const std::string path = common::trimBlanks(rows.text("FILE_PATH_NM"));
      const std::filesystem::path source = common::pathFromUtf8(path);
      if (!std::filesystem::is_regular_file(source, error)) {
        return documentProblem(categories.categoryName(type), path, " 不存在，");
      }
      std::string bytes;
      try {
        bytes = common::readWholeFile(source);
      } catch (const Error&) {
        // A document that exists but cannot be read is no longer the one assigned.
        return documentProblem(categories.categoryName(type), path, " 內容已被更改，");
      }
      if (security::fileChecksumTrimmed(security::fileChecksum(bytes)) !=
          common::trimBlanks(rows.text("FILE_CRC"))) {
        return documentProblem(categories.categoryName(type), path, " 內容已被更改，");
      }
      const std::string name = rows.text("FILE_NM") + "." + rows.text("FILE_SUB_NM");
      const std::filesystem::path target = common::pathFromUtf8(name);
      if (target.has_parent_path() || target.filename() == "..") {
        // A stored name must not place the copy outside the taxpayer's folder.
        return "無法建立檔案 \"" + name + "\"。";
      }
      try {
        common::writeFileAtomically(folder / target, bytes);
      } catch (const Error& failure) {
        return failure.what();
      }
    }
  }
  return {};
}

}  // namespace athup::upload
