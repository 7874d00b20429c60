#include "store/catalogue/filing_program_tables.h"

#include <stdexcept>

#include "store/engine/table_files.h"

namespace athup::store {

namespace {

ColumnDefinition text(std::string name, std::size_t width) {
  return {std::move(name), ColumnKind::Char, width};
}

const std::vector<TableDefinition>& definitions() {
  static const std::vector<TableDefinition> tables = {
      {std::string(kApplyerTable),
       {text("BAN", 8), text("BAN_NM_X30", 60), text("VAT_LOSN_X9", 9), text("HSN_CD", 1),
        text("VAT_FLG_MODE", 1), text("TOTAL_PAID_MK", 1), text("DCRD_MK", 1),
        text("PS_TO_HEAD_MK", 1), text("HEAD_BAN", 8)}},
      {std::string(kAthCodeTable), {text("CODE", 3), text("CODE_NM", 60)}},
      {std::string(kCodeTable), {text("KIND", 10), text("ID", 20), text("DESCRIPTION", 120)}},
      {std::string(kErrorTable), {text("ERR_CD", 10), text("ERR_MSG", 240)}},
      {std::string(kInvoWordTable), {text("INVO_YM", 5), text("INVO_WORD", 2), text("INVO_TP", 2)}},
      {std::string(kAgentContactTable),
       {text("AGENT_BAN", 8), text("CONTACT_NM", 60), text("TEL_NO", 20), text("EMAIL", 100)}},
      {std::string(kLastUploadTable),
       {text("BAN", 8), text("DATA_YYMM_X5", 5), text("HSN_CD", 1), text("T02_CRC", 20),
        text("T08_CRC", 20), text("TET_CRC", 20), text("UPD_SUCCESS_NO", 40),
        text("FLG_DATE_X7", 7)}},
  };
  return tables;
}

}  // namespace

const std::vector<std::string_view>& codeFolderTables() {
  static const std::vector<std::string_view> tables = {
      kApplyerTable, kAthCodeTable, kCodeTable, kErrorTable, kInvoWordTable, kAgentContactTable};
  return tables;
}

const std::vector<std::string_view>& filingProgramPeriodTables() {
  static const std::vector<std::string_view> tables = {kLastUploadTable};
  return tables;
}

const TableDefinition& filingProgramTableDefinition(std::string_view table) {
  const std::string key = upperAscii(table);
  for (const auto& definition : definitions()) {
    if (upperAscii(definition.name) == key) {
      return definition;
    }
  }
  throw std::invalid_argument("not a table of the filing program: " + std::string(table));
}

void createFilingProgramTable(Database& database, std::string_view table) {
  const TableDefinition& definition = filingProgramTableDefinition(table);
  database.execute(createTableStatement(definition, table));
}

}  // namespace athup::store
