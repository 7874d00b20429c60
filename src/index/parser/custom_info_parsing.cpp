#include "index/parser/custom_info_parsing.h"

#include "common/errors.h"
#include "index/parser/parser_messages.h"

namespace athup::index {

TCustomInfoParsing::TCustomInfoParsing() : m_fieldDefs(*this) {}

TCustomInfoParsing::~TCustomInfoParsing() = default;

void TCustomInfoParsing::setRecordFormatName(std::string name) {
  if (name == m_recordFormatName) return;
  m_fieldDefs.renameFormat(m_recordFormatName, name);
  m_recordFormatName = std::move(name);
}

const TParsingField& TCustomInfoParsing::FieldByName(std::string_view name) const {
  const int index = m_fieldDefs.IndexOf(name);
  if (index < 0) throw Error(badFieldNameMessage(name));
  return *m_fields[static_cast<std::size_t>(index)];
}

const TParsingField& TCustomInfoParsing::Fields(int index) const {
  if (index < 0 || index >= FieldCount()) throw Error(badFieldIndexMessage(index));
  return *m_fields[static_cast<std::size_t>(index)];
}

void TCustomInfoParsing::rebuildFields() {
  m_fields.clear();
  for (int i = 0; i < m_fieldDefs.Count(); ++i) {
    m_fields.push_back(std::make_unique<TParsingField>(*this, m_fieldDefs.Items(i)));
  }
}

}  // namespace athup::index
