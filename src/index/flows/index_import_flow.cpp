#include "index/flows/index_import_flow.h"

#include <exception>

#include "common/ascii.h"
#include "common/errors.h"
#include "index/import/filing_file_lookup.h"
#include "security/codecs/file_checksum.h"
#include "store/queries/category_queries.h"
#include "store/queries/category_types.h"
#include "store/queries/index_queries.h"
#include "store/queries/last_upload_queries.h"

namespace athup::index {

namespace {

// Line break inside message texts.
constexpr const char* kBreak = "\n";

}  // namespace

void IndexImportFlow::showWarnings(const std::vector<std::string>& warnings) {
  for (const auto& warning : warnings) {
    m_interaction.showMessage(MessageKind::Warning, warning);
  }
}

std::string IndexImportFlow::reimportQuestion(std::string_view type, std::string_view name) {
  const std::string yesText = type == "T02" ? "按 [Yes] 重新設定(將清除已設定的資料)"
                                            : "按 [Yes] 重新設定(清除已設定的資料)";
  return "附件類別 " + std::string(name) + " 已有設定的資料，是否重新設定? " + kBreak + kBreak +
         yesText + kBreak + kBreak + "按 [No] 不重新設定(顯示已設定的資料)";
}

EditOutcome IndexImportFlow::editCategory(const ImportRequest& request) {
  store::IndexQueries index(m_orbWin);
  bool asked = false;
  if (index.indexRowCount(request.ban, request.type) > 0) {
    const std::string name = store::CategoryQueries(m_orbCode).categoryName(request.type);
    if (m_interaction.ask(MessageKind::Information, reimportQuestion(request.type, name), {},
                          Buttons::YesNo) != Answer::Yes) {
      return EditOutcome::KeptExisting;
    }
    asked = true;
  }
  return importCategory(request, asked) ? EditOutcome::Imported : EditOutcome::Stopped;
}

bool IndexImportFlow::importCategory(const ImportRequest& request, bool afterReimportQuestion) {
  const auto file =
      findFilingFile(request.folder, request.ban + "." + common::lowerAscii(request.type));
  if (!file) {
    const char* start = request.type == "TET" && afterReimportQuestion
                            ? "輸入的申報檔位置無申報書檔案 ( "
                            : "輸入的申報檔位置無申報檔案 ( ";
    m_interaction.showMessage(MessageKind::Plain,
                              start + request.ban + "." + request.type + " )，請重新設定!");
    return false;
  }
  try {
    const std::string stored =
        store::LastUploadQueries(m_orbWin).lastUploadCrc(request.ban, request.type, request.period);
    const std::string crc = security::FileChecksumCalculator().checksumText(*file);
    if (stored.empty()) {
      m_interaction.showMessage(MessageKind::Plain,
                                "請先執行營業稅申報上傳後，再執行附件上傳的設定!");
      return false;
    }
    if (crc != stored) {
      m_interaction.showMessage(MessageKind::Plain,
                                "申報檔位置的檔案不是申報上傳的檔案，請重新輸入!");
      return false;
    }
    std::vector<std::string> warnings;
    std::vector<store::Params> rows;
    try {
      rows = readIndexFile(*file, request.type, crc, warnings, m_progress);
    } catch (const Error&) {
      showWarnings(warnings);
      throw;
    }
    showWarnings(warnings);
    store::IndexQueries(m_orbWin).replaceCategory(request.ban, request.type, rows);
    return true;
  } catch (const Error& error) {
    m_interaction.showMessage(MessageKind::Error, error.what());
    return false;
  }
}

bool IndexImportFlow::deleteCategoryAsked(std::string_view ban, std::string_view type) {
  const std::string upper = common::upperAscii(type);
  if (!store::isCategoryType(upper)) {
    return false;  // a file row of an unknown type has no index to delete
  }
  const std::string name = store::CategoryQueries(m_orbCode).categoryName(upper);
  if (m_interaction.ask(MessageKind::Information,
                        "將清除附件類別 " + name + " 已設定的索引資料，是否繼續? ", {},
                        Buttons::YesCancel) != Answer::Yes) {
    return false;
  }
  try {
    store::IndexQueries(m_orbWin).deleteCategory(ban, upper);
    return true;
  } catch (const Error& error) {
    m_interaction.showMessage(MessageKind::Error, error.what());
    return false;
  }
}

}  // namespace athup::index
