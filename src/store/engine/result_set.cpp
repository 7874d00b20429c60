#include "store/engine/result_set.h"

#include <map>

#include "common/errors.h"
#include "store/engine/table_files.h"

namespace athup::store {

ResultSet::ResultSet(std::vector<std::string> fieldNames, std::vector<std::vector<Value>> rows)
    : m_fieldNames(std::move(fieldNames)), m_rows(std::move(rows)) {
  // A join's SELECT * repeats names (BAN of both tables); later ones become BAN_1, BAN_2 so each
  // field can still be reached by name while the first keeps the plain name.
  std::map<std::string, int> seen;
  for (auto& name : m_fieldNames) {
    const std::string key = upperAscii(name);
    const int count = seen[key]++;
    if (count > 0) {
      std::string renamed = name + "_" + std::to_string(count);
      while (seen.contains(upperAscii(renamed))) {
        renamed += "_";
      }
      seen[upperAscii(renamed)] = 1;
      name = std::move(renamed);
    }
  }
}

std::string ResultSet::fieldNamesText() const {
  std::string text;
  for (const auto& name : m_fieldNames) {
    if (!text.empty()) {
      text += ';';
    }
    text += name;
  }
  return text;
}

bool ResultSet::hasField(std::string_view name) const {
  const std::string key = upperAscii(name);
  for (const auto& field : m_fieldNames) {
    if (upperAscii(field) == key) {
      return true;
    }
  }
  return false;
}

void ResultSet::next() {
  if (m_current < m_rows.size()) {
    ++m_current;
  }
}

void ResultSet::setRecNo(std::size_t recNo) {
  if (recNo < 1 || recNo > m_rows.size()) {
    throw Error("Record number " + std::to_string(recNo) + " is out of range");
  }
  m_current = recNo - 1;
}

std::size_t ResultSet::fieldIndex(std::string_view field) const {
  const std::string key = upperAscii(field);
  for (std::size_t i = 0; i < m_fieldNames.size(); ++i) {
    if (upperAscii(m_fieldNames[i]) == key) {
      return i;
    }
  }
  throw Error("Field '" + std::string(field) + "' not found");
}

const Value& ResultSet::value(std::string_view field) const {
  const std::size_t index = fieldIndex(field);
  if (eof()) {
    throw Error("No current record");
  }
  return m_rows[m_current][index];
}

}  // namespace athup::store
