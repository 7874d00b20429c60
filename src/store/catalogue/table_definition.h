#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace athup::store {

// Column kinds of the shared tables: fixed-width text (width in Big5 bytes), Paradox number
// (8-byte floating point) and memo (text of any length).
enum class ColumnKind { Char, Numeric, Memo };

struct ColumnDefinition {
  std::string name;
  ColumnKind kind = ColumnKind::Char;
  std::size_t width = 0;  // Char only
};

struct TableDefinition {
  std::string name;
  std::vector<ColumnDefinition> columns;
};

// The column's type as the CREATE TABLE and ALTER TABLE statements write it:
// "CHAR(8)", "Numeric", "BLOB(240)".
[[nodiscard]] std::string columnTypeText(const ColumnDefinition& column);

// "CREATE TABLE <tableName> (BAN CHAR(8), ...)" with the columns in their order.
[[nodiscard]] std::string createTableStatement(const TableDefinition& table,
                                               std::string_view tableName);

}  // namespace athup::store
