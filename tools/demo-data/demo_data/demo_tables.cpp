#include "demo_data/demo_tables.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/catalogue/filing_program_tables.h"
#include "store/engine/database.h"

namespace athup::demodata {
namespace {

using Row = std::vector<std::pair<std::string, std::string>>;

// Empties the table, or creates it when the folder has none.
void freshTable(store::Database& database, std::string_view table) {
  if (database.tableExists(table)) {
    database.execute("DELETE FROM " + std::string(table));
  } else {
    store::createFilingProgramTable(database, table);
  }
}

void insertRows(store::Database& database, std::string_view table, const std::vector<Row>& rows) {
  auto transaction = database.transaction({table});
  for (const Row& row : rows) {
    std::string columns;
    std::string names;
    store::Params params;
    for (const auto& [column, value] : row) {
      columns += (columns.empty() ? "" : ", ") + column;
      names += (names.empty() ? ":" : ", :") + column;
      params.push_back({column, store::Value(value)});
    }
    database.execute(
        "INSERT INTO " + std::string(table) + " (" + columns + ") VALUES (" + names + ")", params);
  }
  transaction.commit();
}

TableCount writeTable(store::Database& database, std::string_view table,
                      const std::vector<Row>& rows) {
  freshTable(database, table);
  if (!rows.empty()) insertRows(database, table, rows);
  return {database.tableFile(table), rows.size()};
}

std::vector<Row> athCodeRows() {
  return {
      {{"CODE", "T02"}, {"CODE_NM", "非經海關之零稅率銷售額"}},
      {{"CODE", "T08"}, {"CODE_NM", "固定資產退稅清單"}},
      {{"CODE", "TET"}, {"CODE_NM", "納保法聲明書"}},
  };
}

// Descriptions of kind "CT": the county or city of each HSN_CD.
std::vector<Row> codeRows() {
  const std::vector<std::pair<std::string, std::string>> counties = {
      {"A", "臺北市"}, {"B", "臺中市"}, {"C", "基隆市"}, {"D", "臺南市"}, {"E", "高雄市"},
      {"F", "新北市"}, {"G", "宜蘭縣"}, {"H", "桃園市"}, {"I", "嘉義市"}, {"J", "新竹縣"},
      {"K", "苗栗縣"}, {"M", "南投縣"}, {"N", "彰化縣"}, {"O", "新竹市"}, {"P", "雲林縣"},
      {"Q", "嘉義縣"}, {"T", "屏東縣"}, {"U", "花蓮縣"}, {"V", "臺東縣"}, {"W", "金門縣"},
      {"X", "澎湖縣"}, {"Z", "連江縣"}};
  std::vector<Row> rows;
  for (const auto& [id, name] : counties) {
    rows.push_back({{"KIND", "CT"}, {"ID", id}, {"DESCRIPTION", name}});
  }
  return rows;
}

std::vector<Row> applyerRows(const Scenario& scenario) {
  std::vector<Row> rows;
  for (const ApplyerRow& a : scenario.applyers) {
    rows.push_back({{"BAN", a.BAN},
                    {"BAN_NM_X30", a.BAN_NM_X30},
                    {"VAT_LOSN_X9", a.VAT_LOSN_X9},
                    {"HSN_CD", a.HSN_CD},
                    {"VAT_FLG_MODE", a.VAT_FLG_MODE},
                    {"TOTAL_PAID_MK", a.TOTAL_PAID_MK},
                    {"DCRD_MK", a.DCRD_MK},
                    {"PS_TO_HEAD_MK", a.PS_TO_HEAD_MK},
                    {"HEAD_BAN", a.HEAD_BAN}});
  }
  return rows;
}

}  // namespace

std::vector<TableCount> writeCodeTables(const std::filesystem::path& codeFolder,
                                        const Scenario& scenario) {
  std::filesystem::create_directories(codeFolder);
  store::Database database;
  database.open("ORBCODE", codeFolder);
  std::vector<TableCount> written;
  written.push_back(writeTable(database, store::kApplyerTable, applyerRows(scenario)));
  written.push_back(writeTable(database, store::kAthCodeTable, athCodeRows()));
  written.push_back(writeTable(database, store::kCodeTable, codeRows()));
  // present but empty: the program only checks that they exist
  for (std::string_view table :
       {store::kErrorTable, store::kInvoWordTable, store::kAgentContactTable}) {
    written.push_back(writeTable(database, table, {}));
  }
  return written;
}

TableCount writeAthCodeTable(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  store::Database database;
  database.open("ATHCODE", folder);
  return writeTable(database, store::kAthCodeTable, athCodeRows());
}

TableCount writeLastUpload(const std::filesystem::path& periodFolder,
                           const std::vector<LastUploadRow>& rows) {
  std::filesystem::create_directories(periodFolder);
  store::Database database;
  database.open("ORBWIN", periodFolder);
  std::vector<Row> values;
  for (const LastUploadRow& r : rows) {
    values.push_back({{"BAN", r.BAN},
                      {"DATA_YYMM_X5", r.DATA_YYMM_X5},
                      {"HSN_CD", r.HSN_CD},
                      {"T02_CRC", r.T02_CRC},
                      {"T08_CRC", r.T08_CRC},
                      {"TET_CRC", r.TET_CRC},
                      {"UPD_SUCCESS_NO", r.UPD_SUCCESS_NO},
                      {"FLG_DATE_X7", r.FLG_DATE_X7}});
  }
  return writeTable(database, store::kLastUploadTable, values);
}

}  // namespace athup::demodata
