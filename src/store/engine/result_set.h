#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "store/engine/value.h"

namespace athup::store {

// The rows of one SELECT, read completely when the statement ran, with a cursor over them.
// Field names are as the engine reports them; a name that occurs twice (SELECT * over a join)
// gets "_1", "_2" appended to its later occurrences, and lookups by name ignore case.
class ResultSet {
 public:
  ResultSet() = default;
  ResultSet(std::vector<std::string> fieldNames, std::vector<std::vector<Value>> rows);

  [[nodiscard]] const std::vector<std::string>& fieldNames() const { return m_fieldNames; }
  // The field names joined by ";", the form the column-list checks search in.
  [[nodiscard]] std::string fieldNamesText() const;
  [[nodiscard]] bool hasField(std::string_view name) const;

  [[nodiscard]] std::size_t recordCount() const { return m_rows.size(); }
  [[nodiscard]] bool empty() const { return m_rows.empty(); }

  // Cursor: first() and next() move it; eof() is true past the last row (at once when empty).
  void first() { m_current = 0; }
  void next();
  [[nodiscard]] bool eof() const { return m_current >= m_rows.size(); }
  // 1-based number of the current row; setRecNo outside 1..recordCount raises athup::Error.
  [[nodiscard]] std::size_t recNo() const { return m_current + 1; }
  void setRecNo(std::size_t recNo);

  // Fields of the current row; an unknown name or a cursor at eof raises athup::Error.
  [[nodiscard]] const Value& value(std::string_view field) const;
  [[nodiscard]] std::string text(std::string_view field) const { return value(field).asText(); }
  [[nodiscard]] double number(std::string_view field) const { return value(field).asNumber(); }

  [[nodiscard]] const std::vector<Value>& row(std::size_t index) const { return m_rows.at(index); }

 private:
  [[nodiscard]] std::size_t fieldIndex(std::string_view field) const;

  std::vector<std::string> m_fieldNames;
  std::vector<std::vector<Value>> m_rows;
  std::size_t m_current = 0;
};

}  // namespace athup::store
