#include "index/parser/record_format.h"

#include "common/errors.h"
#include "index/parser/parser_messages.h"

namespace athup::index {

RecordFormat::RecordFormat() : m_fieldDefs(*this) {}

RecordFormat::~RecordFormat() = default;

void RecordFormat::setRecordFormatName(std::string name) {
  if (name == m_recordFormatName) return;
  m_fieldDefs.renameFormat(m_recordFormatName, name);
  m_recordFormatName = std::move(name);
}

const RecordField& RecordFormat::fieldByName(std::string_view name) const {
  const int index = m_fieldDefs.indexOf(name);
  if (index < 0) throw Error(badFieldNameMessage(name));
  return *m_fields[static_cast<std::size_t>(index)];
}

const RecordField& RecordFormat::field(int index) const {
  if (index < 0 || index >= fieldCount()) throw Error(badFieldIndexMessage(index));
  return *m_fields[static_cast<std::size_t>(index)];
}

void RecordFormat::rebuildFields() {
  m_fields.clear();
  for (int i = 0; i < m_fieldDefs.count(); ++i) {
    m_fields.push_back(std::make_unique<RecordField>(*this, m_fieldDefs.item(i)));
  }
}

}  // namespace athup::index
