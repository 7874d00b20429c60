#include "store/catalogue/table_definition.h"

namespace athup::store {

std::string columnTypeText(const ColumnDefinition& column) {
  switch (column.kind) {
    case ColumnKind::Char:
      return "CHAR(" + std::to_string(column.width) + ")";
    case ColumnKind::Numeric:
      return "Numeric";
    case ColumnKind::Memo:
      return "BLOB(240)";
  }
  return {};
}

std::string createTableStatement(const TableDefinition& table, std::string_view tableName) {
  std::string sql = "CREATE TABLE " + std::string(tableName) + " (";
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    if (i > 0) {
      sql += ", ";
    }
    sql += table.columns[i].name + " " + columnTypeText(table.columns[i]);
  }
  return sql + ")";
}

}  // namespace athup::store
