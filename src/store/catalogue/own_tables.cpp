#include "store/catalogue/own_tables.h"

#include <stdexcept>

#include "common/errors.h"
#include "common/run_log.h"
#include "store/engine/table_files.h"

namespace athup::store {

namespace {

ColumnDefinition text(std::string name, std::size_t width) {
  return {std::move(name), ColumnKind::Char, width};
}
ColumnDefinition number(std::string name) {
  return {std::move(name), ColumnKind::Numeric, 0};
}
ColumnDefinition memo(std::string name) {
  return {std::move(name), ColumnKind::Memo, 0};
}

const std::vector<TableDefinition>& definitions() {
  static const std::vector<TableDefinition> tables = {
      {std::string(kAthFileTable),
       {text("BAN", 8), text("FILE_SEQ", 10), text("SUB_SEQ", 4), text("FILE_NM", 30),
        text("FILE_SUB_NM", 4), text("FILE_PATH_NM", 240), number("FILE_SIZE"), text("FILE_TP", 4),
        text("FILE_CRC", 20)}},
      {std::string(kAthT02Table),
       {text("BAN", 8), text("HSN_CD", 1), text("VAT_LOSN_X9", 9), text("DATA_YYMM_X5", 5),
        text("INVO_YM", 5), text("INVO_TRACK", 10), text("BUYER_BAN", 8), text("EXPORT_MODE", 1),
        text("PCTS_MODE", 1), text("BILL_OF_SIGHT_TP", 2), text("BILL_OF_SIGHT_NO", 14),
        number("ZTX_S_AMT"), text("FGN_EXCH_DATE", 7), text("FILE_SEQ", 10), memo("ORI_DATA"),
        text("T02_CRC", 20)}},
      {std::string(kAthT08Table),
       {text("BL_YR", 3), text("BL_MM", 2), text("HSN_CD", 1), text("BAN", 8),
        text("VAT_LOSN_X9", 9), text("INVO_DATE", 7), text("INVO_TRACK_NO", 14),
        text("FA_REF_NM", 150), number("FA_REF_QTY"), number("FA_REF_AMT"), number("FA_REF_TAX"),
        memo("UES_NM"), text("FILE_SEQ", 10), memo("ORI_DATA_1"), memo("ORI_DATA_2"),
        memo("ORI_DATA_3"), text("T08_CRC", 20)}},
      {std::string(kAthStatusTable),
       {text("BAN", 8), text("FILE_CD", 2), text("STATUS_DATA", 220)}},
      {std::string(kAthTetTable),
       {text("BAN", 8), text("HSN_CD", 1), text("VAT_LOSN_X9", 9), text("DATA_YYMM_X5", 5),
        text("DATA_TP", 1), text("FLG_TMS", 4), text("TOTAL_PAID_MK", 1), text("FILE_SEQ", 10),
        text("TET_CRC", 20)}},
  };
  return tables;
}

// The definition as first created: the index tables of T02 and T08 got their CRC column later,
// and the migrations add it, so a fresh table goes through the same path as an old one.
TableDefinition createdDefinition(char selector) {
  const std::size_t index = static_cast<std::size_t>(selector - 'A');
  TableDefinition table = definitions().at(index);
  if (selector == 'B' || selector == 'C') {
    table.columns.pop_back();
  }
  return table;
}

void addCrcColumn(Database& orbWin, std::string_view table, std::string_view column) {
  const std::string fileName = tableFileName(table);
  const ResultSet columns = orbWin.query("Select * From " + fileName + " Where BAN = \"\"");
  if (columns.fieldNamesText().find(column) == std::string::npos) {
    orbWin.execute("ALTER TABLE \"" + fileName + "\" ADD " + std::string(column) + " Char(20)");
  }
}

}  // namespace

const TableDefinition& ownTableDefinition(std::string_view table) {
  const std::string key = upperAscii(table);
  for (const auto& definition : definitions()) {
    if (definition.name == key) {
      return definition;
    }
  }
  throw std::invalid_argument("not an own table: " + std::string(table));
}

bool createOwnTable(Database& orbWin, char selector, const CatalogueLog& log) {
  if (selector < 'A' || selector > 'E') {
    throw std::invalid_argument("CreateAttachmentTable: unknown selector");
  }
  const TableDefinition table = createdDefinition(selector);
  // The return-header table has always been named by its file in this statement.
  const std::string name = selector == 'E' ? "\"" + tableFileName(table.name) + "\"" : table.name;
  bool created = true;
  try {
    orbWin.execute(createTableStatement(table, name));
  } catch (const Error&) {
    // Reported by the caller's check for the table file, with the path the user can act on.
    created = false;
  }
  common::appendRunLog(log.runLogFile, "End of CreateTable", log.clock);
  return created;
}

void addT02Crc(Database& orbWin) {
  addCrcColumn(orbWin, kAthT02Table, "T02_CRC");
}

void addT08Crc(Database& orbWin) {
  addCrcColumn(orbWin, kAthT08Table, "T08_CRC");
}

std::vector<std::filesystem::path> preparePeriodTables(Database& orbWin, const CatalogueLog& log) {
  for (std::size_t i = 0; i < kOwnPeriodTables.size(); ++i) {
    if (!orbWin.tableExists(kOwnPeriodTables[i])) {
      (void)createOwnTable(orbWin, static_cast<char>('A' + i), log);
    }
  }
  std::vector<std::filesystem::path> missing;
  for (const auto table : kOwnPeriodTables) {
    if (!orbWin.tableExists(table)) {
      missing.push_back(orbWin.folder() / tableFileName(table));
    }
  }
  return missing;
}

void migrateOwnTables(Database& orbWin) {
  if (orbWin.tableExists(kAthT02Table)) {
    addT02Crc(orbWin);
  }
  if (orbWin.tableExists(kAthT08Table)) {
    addT08Crc(orbWin);
  }
}

}  // namespace athup::store
