#include "index/parser/parsing_field.h"

#include <algorithm>

#include "common/big5.h"
#include "index/parser/currency_text.h"
#include "index/parser/custom_info_parsing.h"

namespace athup::index {

std::string TParsingField::RawText() const {
  const std::string& record = m_parser.RecordText();
  const auto start = static_cast<std::size_t>(m_def.StartPos() - 1);
  if (start >= record.size()) return {};
  return record.substr(start, static_cast<std::size_t>(m_def.Size()));
}

std::string TParsingField::AsString() const {
  std::string value = RawText();
  if (!m_def.AutoFilterFillChar()) return value;
  const char fill = m_def.FillChar();
  if (m_def.Alignment() == TParsingAlignment::paRight) {
    const auto first = value.find_first_not_of(fill);  // npos: nothing but fill
    value.erase(0, first == std::string::npos ? value.size() : first);
  } else {
    value.erase(std::remove(value.begin(), value.end(), fill), value.end());
  }
  return value;
}

std::string TParsingField::AsUtf8() const {
  return common::Big5ToUtf8(AsString());
}

double TParsingField::AsCurrency() const {
  return textToCurrency(AsString());
}

bool TParsingField::IsNull() const {
  return m_def.Size() == 0 || AsString().empty();
}

}  // namespace athup::index
