#include "store/engine/width_guard.h"

#include <sqlite3.h>

#include <exception>

#include "common/ascii.h"
#include "common/big5.h"
#include "store/engine/table_files.h"

namespace athup::store {

namespace {

constexpr const char* kWidthFunction = "athup_big5_width";

void big5WidthFunction(sqlite3_context* context, int /*argc*/, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_int64(context, 0);
    return;
  }
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
  const int length = sqlite3_value_bytes(argv[0]);
  try {
    const std::string_view utf8(text == nullptr ? "" : text, static_cast<std::size_t>(length));
    sqlite3_result_int64(context, static_cast<sqlite3_int64>(common::big5Width(utf8)));
  } catch (const std::exception& error) {
    sqlite3_result_error(context, error.what(), -1);
  }
}

std::string quoteIdentifier(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') {
      out += '"';
    }
  }
  return out + '"';
}

std::string quoteText(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') {
      out += '\'';
    }
  }
  return out + '\'';
}

std::string triggerName(std::string_view schema, std::string_view event) {
  return "athup_width_" + std::string(schema) + "_" + std::string(event);
}

}  // namespace

void registerWidthFunction(sqlite3* db) {
  sqlite3_create_function_v2(db, kWidthFunction, 1,
                             SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                             big5WidthFunction, nullptr, nullptr, nullptr);
}

std::size_t declaredCharWidth(std::string_view declaredType) {
  const std::string type = upperAscii(declaredType);
  std::size_t open = std::string::npos;
  if (type.starts_with("CHAR")) {
    open = 4;
  } else if (type.starts_with("VARCHAR")) {
    open = 7;
  } else {
    return 0;
  }
  while (open < type.size() && type[open] == ' ') {
    ++open;
  }
  if (open >= type.size() || type[open] != '(') {
    return 0;
  }
  std::size_t width = 0;
  std::size_t pos = open + 1;
  while (pos < type.size() && common::isAsciiDigit(type[pos])) {
    width = width * 10 + static_cast<std::size_t>(type[pos] - '0');
    ++pos;
  }
  return pos < type.size() && type[pos] == ')' ? width : 0;
}

std::string widthErrorText(std::string_view table, std::string_view column, std::size_t width) {
  return "資料長度超過欄位寬度: " + std::string(table) + "." + std::string(column) + " (最多 " +
         std::to_string(width) + " 位元組)";
}

std::vector<std::string> dropWidthGuardStatements(std::string_view schema) {
  return {"DROP TRIGGER IF EXISTS temp." + quoteIdentifier(triggerName(schema, "insert")),
          "DROP TRIGGER IF EXISTS temp." + quoteIdentifier(triggerName(schema, "update"))};
}

std::vector<std::string> widthGuardStatements(
    std::string_view schema, std::string_view table,
    const std::vector<std::pair<std::string, std::string>>& columns) {
  std::vector<std::string> statements = dropWidthGuardStatements(schema);
  std::string checks;
  for (const auto& [column, type] : columns) {
    const std::size_t width = declaredCharWidth(type);
    if (width == 0) {
      continue;
    }
    checks += " SELECT RAISE(ABORT, " + quoteText(widthErrorText(table, column, width)) +
              ") WHERE " + kWidthFunction + "(NEW." + quoteIdentifier(column) + ") > " +
              std::to_string(width) + ";";
  }
  if (checks.empty()) {
    return statements;
  }
  const std::string target = quoteIdentifier(schema) + "." + quoteIdentifier(table);
  for (const char* event : {"insert", "update"}) {
    statements.push_back("CREATE TEMP TRIGGER " + quoteIdentifier(triggerName(schema, event)) +
                         " BEFORE " + upperAscii(event) + " ON " + target + " BEGIN" + checks +
                         " END");
  }
  return statements;
}

}  // namespace athup::store
