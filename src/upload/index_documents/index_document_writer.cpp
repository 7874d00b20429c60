#include "upload/index_documents/index_document_writer.h"

#include <array>
#include <string>

#include "common/atomic_file.h"
#include "common/errors.h"
#include "common/text_helpers.h"
#include "common/xml_escape.h"

namespace athup::upload {

namespace {

// How a column value becomes the text of its element.
enum class FieldForm {
  AsStored,
  Escaped,
  TrimmedEscaped,
  DocumentName,   // FILE_NM + "." + FILE_SUB_NM
  YearOfPeriod,   // the first three characters of a YYYMM text
  MonthOfPeriod,  // characters four and five of it
};

struct Field {
  const char* element;
  const char* column;
  FieldForm form;
};

struct Category {
  const char* code;
  const char* sql;
  std::vector<Field> fields;
  bool joinsReturnUpload = false;
};

// The rows of a category: one per assigned document, so a line with several documents repeats
// its fields. Where two joined tables share a column name, the index table's value is read (the
// result set keeps the first occurrence under the bare name). The order is the import's and the
// assignment's, so the documents read the same on every run.
const std::array<Category, 3>& categories() {
  static const std::array<Category, 3> list = {{
      {"02",
       "SELECT * FROM ORBDB_ATH_T02 A ,ORBDB_ATH_FILE B  WHERE A.BAN=B.BAN AND "
       "A.FILE_SEQ=B.FILE_SEQ AND A.BAN = :BAN ORDER BY A.FILE_SEQ, B.rowid",
       {{"銷售人統一編號", "BAN", FieldForm::AsStored},
        {"銷售人縣市別", "HSN_CD", FieldForm::AsStored},
        {"銷售人稅籍編號", "VAT_LOSN_X9", FieldForm::AsStored},
        {"資料所屬年月", "DATA_YYMM_X5", FieldForm::AsStored},
        {"開立發票年月", "INVO_YM", FieldForm::AsStored},
        {"發票字軌號碼", "INVO_TRACK", FieldForm::AsStored},
        {"買受人統一編號", "BUYER_BAN", FieldForm::AsStored},
        {"外銷方式", "EXPORT_MODE", FieldForm::AsStored},
        {"通關方式", "PCTS_MODE", FieldForm::AsStored},
        {"報單類別或證明文件名稱", "BILL_OF_SIGHT_TP", FieldForm::Escaped},
        {"報單號碼或證明文件號碼", "BILL_OF_SIGHT_NO", FieldForm::Escaped},
        {"金額", "ZTX_S_AMT", FieldForm::AsStored},
        {"輸出或結匯日期", "FGN_EXCH_DATE", FieldForm::AsStored},
        {"影像檔案名稱", nullptr, FieldForm::DocumentName}}},
      {"08",
       "SELECT * FROM ORBDB_ATH_T08 A ,ORBDB_ATH_FILE B  WHERE A.BAN=B.BAN AND "
       "A.FILE_SEQ=B.FILE_SEQ AND A.BAN = :BAN ORDER BY A.FILE_SEQ, B.rowid",
       {{"所屬年度", "BL_YR", FieldForm::AsStored},
        {"所屬月份", "BL_MM", FieldForm::AsStored},
        {"縣市別", "HSN_CD", FieldForm::AsStored},
        {"統一編號", "BAN", FieldForm::AsStored},
        {"稅籍編號", "VAT_LOSN_X9", FieldForm::AsStored},
        {"開立年月日", "INVO_DATE", FieldForm::AsStored},
        {"發票號碼或其他憑證", "INVO_TRACK_NO", FieldForm::AsStored},
        {"內容摘要名稱", "FA_REF_NM", FieldForm::TrimmedEscaped},
        {"內容摘要數量", "FA_REF_QTY", FieldForm::AsStored},
        {"內容摘要金額", "FA_REF_AMT", FieldForm::AsStored},
        {"內容摘要稅額", "FA_REF_TAX", FieldForm::AsStored},
        {"用途", "UES_NM", FieldForm::TrimmedEscaped},
        {"影像檔案名稱", nullptr, FieldForm::DocumentName}}},
      // The declaration date comes from the taxpayer's return upload. Only its first row is
      // joined: a second row of the BAN would otherwise repeat every entry and double the count.
      {"14",
       "SELECT * FROM ORBDB_ATH_TET A ,ORBDB_ATH_FILE B, ORBDB1_LAST_UPLOAD C  WHERE "
       "A.BAN=B.BAN AND A.FILE_SEQ=B.FILE_SEQ AND A.BAN=C.BAN AND A.BAN = :BAN AND C.rowid = "
       "(SELECT MIN(rowid) FROM ORBDB1_LAST_UPLOAD WHERE BAN = :BAN) ORDER BY A.FILE_SEQ, "
       "B.rowid",
       {{"所屬年度", "DATA_YYMM_X5", FieldForm::YearOfPeriod},
        {"所屬月份", "DATA_YYMM_X5", FieldForm::MonthOfPeriod},
        {"縣市別", "HSN_CD", FieldForm::AsStored},
        {"統一編號", "BAN", FieldForm::AsStored},
        {"稅籍編號", "VAT_LOSN_X9", FieldForm::AsStored},
        {"細稅別", "DATA_TP", FieldForm::AsStored},
        {"總繳代號", "TOTAL_PAID_MK", FieldForm::AsStored},
        {"申報年月日", "FLG_DATE_X7", FieldForm::AsStored},
        {"影像檔案名稱", nullptr, FieldForm::DocumentName}},
       true},
  }};
  return list;
}

std::string fieldText(const store::ResultSet& rows, const Field& field) {
  switch (field.form) {
    case FieldForm::AsStored:
      return rows.text(field.column);
    case FieldForm::Escaped:
      return common::xmlEscaped(rows.text(field.column), common::XmlApostrophe::Escaped);
    case FieldForm::TrimmedEscaped:
      return common::xmlEscaped(common::trimBlanks(rows.text(field.column)),
                                common::XmlApostrophe::Escaped);
    case FieldForm::DocumentName:
      return rows.text("FILE_NM") + "." + rows.text("FILE_SUB_NM");
    case FieldForm::YearOfPeriod:
      return rows.text(field.column).substr(0, 3);
    case FieldForm::MonthOfPeriod: {
      const std::string period = rows.text(field.column);
      return period.size() > 3 ? period.substr(3, 2) : std::string();
    }
  }
  return {};
}

void addLine(std::string& text, std::string_view line) {
  text += line;
  text += "\r\n";
}

void addElement(std::string& text, std::string_view element, std::string_view value) {
  text += '<';
  text += element;
  text += '>';
  text += value;
  text += "</";
  text += element;
  text += ">\r\n";
}

std::string documentText(const Category& category, store::ResultSet& rows, std::string_view ban,
                         std::string_view period, std::string_view serial, std::string_view date) {
  std::string text;
  addLine(text, R"(<?xml version="1.0" encoding="UTF-8"?>)");
  addLine(text, "<附件索引>");
  addElement(text, "資料年月", period);
  addElement(text, "資料類別", category.code);
  addElement(text, "統一編號", ban);
  addLine(text, "<明細索引>");
  for (rows.first(); !rows.eof(); rows.next()) {
    addLine(text, "<細項內容>");
    for (const auto& field : category.fields) {
      addElement(text, field.element, fieldText(rows, field));
    }
    addLine(text, "</細項內容>");
  }
  addLine(text, "</明細索引>");
  addElement(text, "明細筆數", std::to_string(rows.recordCount()));
  addElement(text, "上傳序號", serial);
  addElement(text, "上傳日期", date);
  addLine(text, "</附件索引>");
  return text;
}

}  // namespace

std::vector<std::filesystem::path> writeIndexDocuments(
    store::Database& orbWin, std::string_view ban, const std::filesystem::path& folder,
    std::string_view period, std::string_view serial, std::string_view date) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) {
    throw Error("目的目錄不存在，請先建立!");
  }
  std::vector<std::filesystem::path> written;
  // A taxpayer who never uploaded a return online (one filing on media, say) may have no
  // return-upload table at all: its join then has no rows, rather than failing every category.
  const bool hasReturnUploads = orbWin.tableExists("ORBDB1_LAST_UPLOAD");
  for (const auto& category : categories()) {
    if (category.joinsReturnUpload && !hasReturnUploads) {
      continue;
    }
    store::ResultSet rows = orbWin.query(category.sql, {{"BAN", std::string(ban)}});
    if (rows.empty()) {
      continue;
    }
    // Text is UTF-8 in memory already, so it is written as it is, without a byte-order mark.
    const std::filesystem::path file = folder / (std::string(ban) + "_" + category.code + ".xml");
    common::writeFileAtomically(file, documentText(category, rows, ban, period, serial, date));
    written.push_back(file);
  }
  return written;
}

}  // namespace athup::upload
