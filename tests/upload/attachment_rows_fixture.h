#pragma once

#include <map>
#include <string>

#include "index/index_fixture.h"

namespace athup::upload::testing {

namespace fs = std::filesystem;

// The index fixture with helpers that write index rows and assigned documents directly, so a test
// states only the columns it is about.
class AttachmentRowsFixture : public index::testing::IndexFixture {
 protected:
  using Columns = std::map<std::string, store::Value>;

  // One index row of the table; `columns` replaces the defaults of the same name.
  void addIndexRow(const std::string& table, const std::string& ban, const std::string& fileSeq,
                   const Columns& columns = {}) {
    Columns row = defaultsOf(table);
    row["BAN"] = ban;
    row["FILE_SEQ"] = fileSeq;
    for (const auto& [name, value] : columns) row[name] = value;
    std::string names;
    std::string values;
    store::Params params;
    for (const auto& [name, value] : row) {
      names += (names.empty() ? "" : ", ") + name;
      values += (values.empty() ? ":" : ", :") + name;
      params.push_back({name, value});
    }
    orbWin.execute("INSERT INTO " + table + " (" + names + ") VALUES (" + values + ")", params);
  }

  // A document of the given bytes assigned to an index row, with its true checksum unless one is
  // given; returns its path.
  fs::path attach(const std::string& ban, const std::string& fileSeq, const std::string& name,
                  const std::string& bytes, const std::string& crc = {}) {
    const fs::path path = dir.write("docs/" + ban + "/" + name + ".pdf", bytes);
    orbWin.execute(
        "INSERT INTO ORBDB_ATH_FILE (BAN, FILE_SEQ, SUB_SEQ, FILE_NM, FILE_SUB_NM, FILE_PATH_NM, "
        "FILE_SIZE, FILE_TP, FILE_CRC) VALUES (:BAN, :SEQ, '0', :NM, 'pdf', :PATH, :SIZE, :TP, "
        ":CRC)",
        {{"BAN", ban},
         {"SEQ", fileSeq},
         {"NM", name},
         {"PATH", path.string()},
         {"SIZE", static_cast<double>(bytes.size())},
         {"TP", fileSeq.substr(0, 3)},
         {"CRC", crc.empty() ? crcOf(path) : crc}});
    return path;
  }

  void recordDeclarationDate(const std::string& ban, const std::string& date) {
    orbWin.execute(
        "INSERT INTO ORBDB1_LAST_UPLOAD (BAN, DATA_YYMM_X5, HSN_CD, FLG_DATE_X7) VALUES (:BAN, "
        ":P, 'A', :D)",
        {{"BAN", ban}, {"P", index::testing::kPeriod}, {"D", date}});
  }

 private:
  static Columns defaultsOf(const std::string& table) {
    if (table == "ORBDB_ATH_T02") {
      return {{"HSN_CD", "A"},
              {"VAT_LOSN_X9", "123456789"},
              {"DATA_YYMM_X5", "11302"},
              {"INVO_YM", "11301"},
              {"INVO_TRACK", "AB12345678"},
              {"BUYER_BAN", "22222222"},
              {"EXPORT_MODE", "1"},
              {"PCTS_MODE", "2"},
              {"BILL_OF_SIGHT_TP", "D5"},
              {"BILL_OF_SIGHT_NO", "AA1"},
              {"ZTX_S_AMT", 1000.0},
              {"FGN_EXCH_DATE", "1130215"}};
    }
    if (table == "ORBDB_ATH_T08") {
      return {{"BL_YR", "113"},         {"BL_MM", "02"},
              {"HSN_CD", "A"},          {"VAT_LOSN_X9", "123456789"},
              {"INVO_DATE", "1130201"}, {"INVO_TRACK_NO", "AB12345678"},
              {"FA_REF_NM", "車床"},    {"FA_REF_QTY", 2.0},
              {"FA_REF_AMT", 50000.0},  {"FA_REF_TAX", 2500.0},
              {"UES_NM", "生產"}};
    }
    return {{"HSN_CD", "A"},           {"VAT_LOSN_X9", "123456789"},
            {"DATA_YYMM_X5", "11302"}, {"DATA_TP", "1"},
            {"FLG_TMS", "1"},          {"TOTAL_PAID_MK", "0"}};
  }
};

}  // namespace athup::upload::testing
