#pragma once

#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

// CHAR(n) widths are Big5 bytes. SQLite does not enforce declared widths, so every attached table
// gets temporary triggers (private to the connection, nothing is written into the table file)
// that refuse a value wider than its column, naming the table and column.
namespace athup::store {

// Registers the SQL function the triggers call; once per connection.
void registerWidthFunction(sqlite3* db);

// The width of a declared CHAR(n) / VARCHAR(n) type; 0 for any other type.
[[nodiscard]] std::size_t declaredCharWidth(std::string_view declaredType);

// The message of a refused value.
[[nodiscard]] std::string widthErrorText(std::string_view table, std::string_view column,
                                         std::size_t width);

// Statements that (re)create and drop the triggers of the table `table` in attachment `schema`.
// `columns` are (name, declared type) pairs in table order.
[[nodiscard]] std::vector<std::string> widthGuardStatements(
    std::string_view schema, std::string_view table,
    const std::vector<std::pair<std::string, std::string>>& columns);
[[nodiscard]] std::vector<std::string> dropWidthGuardStatements(std::string_view schema);

}  // namespace athup::store
