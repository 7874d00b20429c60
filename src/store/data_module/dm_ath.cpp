#include "store/data_module/dm_ath.h"

#include <system_error>

#include "common/big5.h"
#include "common/file_helpers.h"
#include "common/text_helpers.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/catalogue/own_tables.h"
#include "security/archive/inflate_file.h"
#include "store/data_module/version_text.h"
#include "store/engine/lock_files.h"
#include "store/engine/table_files.h"

namespace athup::store {

namespace fs = std::filesystem;

namespace {

constexpr const char* kTableMissing = "找不到資料檔:";
constexpr const char* kTaxpayerMissing = "找不到營業人建檔資料";
constexpr const char* kTempFolderFailed = "無法建立暫存檔目錄";
constexpr const char* kNotUploadedFile = "申報檔位置的檔案不是申報上傳的檔案，請重新輸入!";
constexpr const char* kNoReturnUpload = "請先執行營業稅申報上傳後，再執行附件上傳的設定!";

std::string trimmed(std::string_view text) {
  return common::trimBlanks(text);
}

std::string indexTableOf(std::string_view type) {
  if (type == "T02") {
    return std::string(kAthT02Table);
  }
  if (type == "T08") {
    return std::string(kAthT08Table);
  }
  if (type == "TET") {
    return std::string(kAthTetTable);
  }
  return {};
}

std::string crcColumnOf(std::string_view type) {
  if (type == "T02" || type == "T08" || type == "TET") {
    return std::string(type) + "_CRC";
  }
  return {};
}

// The first value of a one-row aggregate; SUM over no rows is NULL and reads as 0.
double firstNumber(const ResultSet& result) {
  if (result.empty() || result.fieldNames().empty()) {
    return 0.0;
  }
  return result.row(0).front().asNumber();
}

}  // namespace

TdmATH::TdmATH(Database& orbWin, Database& orbCode, DataModuleSettings settings, Interaction& ui)
    : m_orbWin(orbWin), m_orbCode(orbCode), m_settings(std::move(settings)), m_ui(ui) {}

fs::path TdmATH::tempFolder() const {
  return m_settings.exeDir / "TMP";
}

void TdmATH::DataModuleCreate() {
  removeStaleLockFiles(m_settings.workingFolder);

  // ATH_DB reaches the code folder by the path of ORBCODE.
  m_athDb.open("ATH_DB", m_orbCode.folder());

  const fs::path codeFolder = resolveFolderIgnoringCase(m_settings.dbPath, "CODE");
  for (const std::string_view table :
       {kCodeTable, kErrorTable, kApplyerTable, kInvoWordTable, kAgentContactTable}) {
    if (findTableFile(codeFolder, table).empty()) {
      m_ui.showMessage(
          MessageKind::Plain,
          kTableMissing + common::utf8FromPath(m_settings.dbPath / "CODE" / tableFileName(table)));
    }
  }

  // Opening the taxpayer master: a missing table fails here with the engine's message.
  (void)m_orbCode.query("SELECT * FROM \"" + tableFileName(kApplyerFileTable) + "\" WHERE 1 = 0");

  std::error_code error;
  fs::create_directories(tempFolder(), error);
  if (!fs::is_directory(tempFolder(), error)) {
    m_ui.showMessage(MessageKind::Plain, kTempFolderFailed);
  }
  m_resultLines.clear();
}

std::optional<TaxpayerRecord> TdmATH::FindTaxpayer(std::string_view ban) {
  // The master has no key: with a BAN twice, the first row in table order counts.
  const ResultSet rows = m_orbCode.query(
      "SELECT * FROM \"" + tableFileName(kApplyerFileTable) + "\" WHERE BAN = :BAN ORDER BY rowid",
      {{"BAN", std::string(ban)}});
  if (rows.empty()) {
    return std::nullopt;
  }
  auto field = [&rows](std::string_view name, std::size_t width) {
    return common::cutToBig5Width(rows.text(name), width);
  };
  TaxpayerRecord rec;
  rec.BAN = common::cutToBig5Width(ban, 8);
  rec.VAT_LOSN_X9 = field("VAT_LOSN_X9", 9);
  rec.VAT_FLG_MODE = field("VAT_FLG_MODE", 1);
  rec.TOTAL_PAID_MK = field("TOTAL_PAID_MK", 1);
  rec.DCRD_MK = field("DCRD_MK", 1);
  rec.PS_TO_HEAD_MK = field("PS_TO_HEAD_MK", 1);
  rec.HEAD_BAN = field("HEAD_BAN", 8);
  rec.HSN_CD = field("HSN_CD", 1);
  rec.BAN_NM_X30 = field("BAN_NM_X30", 60);
  return rec;
}

std::optional<TaxpayerRecord> TdmATH::FindTaxpayerOrReport(std::string_view ban) {
  auto rec = FindTaxpayer(ban);
  if (!rec) {
    m_ui.showStatus(StatusKind::Note, kTaxpayerMissing);
    m_ui.showMessage(MessageKind::Plain, kTaxpayerMissing);
  }
  return rec;
}

std::string TdmATH::CategoryName(std::string_view code) {
  const ResultSet rows =
      m_orbCode.query("SELECT CODE_NM FROM ORBDB1_ATH_CODE WHERE CODE = :CODE ORDER BY rowid",
                      {{"CODE", std::string(code)}});
  return rows.empty() ? std::string() : rows.text("CODE_NM");
}

double TdmATH::FileSizeTotal(std::string_view ban, std::string_view fileSeq,
                             std::string_view fileTp) {
  if (trimmed(ban).empty()) {
    return 0.0;
  }
  std::string sql = "SELECT SUM(FILE_SIZE) TOTAL_SIZE FROM ORBDB_ATH_FILE WHERE BAN = :BAN";
  Params params{{"BAN", std::string(ban)}};
  if (!trimmed(fileSeq).empty()) {
    sql += " AND FILE_SEQ = :FILE_SEQ";
    params.push_back({"FILE_SEQ", std::string(fileSeq)});
  }
  if (!trimmed(fileTp).empty()) {
    sql += " AND FILE_TP = :FILE_TP";
    params.push_back({"FILE_TP", std::string(fileTp)});
  }
  return firstNumber(m_orbWin.query(sql, params));
}

double TdmATH::FileSizeTotalExcept(std::string_view ban, std::string_view fileSeq) {
  if (trimmed(ban).empty()) {
    return 0.0;
  }
  return firstNumber(m_orbWin.query(
      "SELECT SUM(FILE_SIZE) TOTAL_SIZE FROM ORBDB_ATH_FILE WHERE BAN = :BAN AND FILE_SEQ <> "
      ":FILE_SEQ",
      {{"BAN", std::string(ban)}, {"FILE_SEQ", std::string(fileSeq)}}));
}

double TdmATH::FileCount(std::string_view ban, std::string_view fileTp) {
  return firstNumber(m_orbWin.query(
      "SELECT COUNT(*) FILE_COUNT FROM ORBDB_ATH_FILE WHERE BAN = :BAN AND FILE_TP = :FILE_TP",
      {{"BAN", std::string(ban)}, {"FILE_TP", std::string(fileTp)}}));
}

double TdmATH::RowsWithoutFiles(std::string_view ban, std::string_view type) {
  const std::string table = indexTableOf(type);
  if (table.empty()) {
    return 0.0;
  }
  // A file row with an empty key would make NOT IN unknown for every index row and hide the
  // rows that lack files, so such rows are left out of the sub-select.
  return firstNumber(m_orbWin.query(
      "SELECT COUNT(*) ROW_COUNT FROM " + table +
          " WHERE BAN = :BAN AND BAN||FILE_SEQ NOT IN "
          "(SELECT BAN||FILE_SEQ FROM ORBDB_ATH_FILE WHERE BAN||FILE_SEQ IS NOT NULL)",
      {{"BAN", std::string(ban)}}));
}

std::string TdmATH::LastUploadCrc(std::string_view ban, std::string_view type,
                                  std::string_view period) {
  const std::string column = crcColumnOf(type);
  if (column.empty()) {
    return {};
  }
  const ResultSet rows = m_orbWin.query(
      "SELECT * FROM ORBDB1_LAST_UPLOAD WHERE BAN = :BAN AND DATA_YYMM_X5 = :DATA_YYMM_X5 "
      "ORDER BY rowid",
      {{"BAN", std::string(ban)}, {"DATA_YYMM_X5", std::string(period)}});
  return rows.empty() ? std::string() : trimmed(rows.text(column));
}

std::string TdmATH::LastUploadSuccessNo(std::string_view ban, std::string_view period) {
  if (ban.empty()) {
    return {};
  }
  const ResultSet rows = m_orbWin.query(
      "SELECT UPD_SUCCESS_NO FROM ORBDB1_LAST_UPLOAD WHERE BAN = :BAN AND DATA_YYMM_X5 = "
      ":DATA_YYMM_X5 ORDER BY rowid",
      {{"BAN", std::string(ban)}, {"DATA_YYMM_X5", std::string(period)}});
  return rows.empty() ? std::string() : rows.text("UPD_SUCCESS_NO");
}

bool TdmATH::CheckAgainstLastUpload(std::string_view ban, std::string_view type,
                                    const fs::path& path, bool show, std::string_view period) {
  const std::string stored = LastUploadCrc(ban, type, period);
  const std::string actual = trimmed(m_crcCheck.paddedChecksumText(path));
  if (!stored.empty()) {
    if (actual == stored) {
      return true;
    }
    if (show) {
      m_ui.showMessage(MessageKind::Plain, kNotUploadedFile);
    }
    return false;
  }
  if (show) {
    m_ui.showMessage(MessageKind::Plain, kNoReturnUpload);
  }
  return false;
}

std::string TdmATH::versionNumberText() const {
  return store::versionNumberText(m_settings.version);
}

void TdmATH::inflateFile(const fs::path& source, const fs::path& destination) {
  security::inflateFile(source, destination);
}

}  // namespace athup::store
