#include "index/parser/record_field.h"

#include <algorithm>

#include "common/big5.h"
#include "index/parser/currency_text.h"
#include "index/parser/record_format.h"

namespace athup::index {

std::string RecordField::rawText() const {
  const std::string& record = m_parser.recordText();
  const auto start = static_cast<std::size_t>(m_def.startPosition() - 1);
  if (start >= record.size()) return {};
  return record.substr(start, static_cast<std::size_t>(m_def.size()));
}

std::string RecordField::asString() const {
  std::string value = rawText();
  if (!m_def.autoFilterFillChar()) return value;
  const char fill = m_def.fillChar();
  if (m_def.alignment() == FieldAlignment::Right) {
    const auto first = value.find_first_not_of(fill);  // npos: nothing but fill
    value.erase(0, first == std::string::npos ? value.size() : first);
  } else {
    value.erase(std::remove(value.begin(), value.end(), fill), value.end());
  }
  return value;
}

std::string RecordField::asUtf8() const {
  return common::big5ToUtf8(asString());
}

double RecordField::asCurrency() const {
  return textToCurrency(asString());
}

bool RecordField::isNull() const {
  return m_def.size() == 0 || asString().empty();
}

}  // namespace athup::index
