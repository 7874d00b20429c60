#include "index/parser/field_definitions.h"

#include <algorithm>

#include "common/errors.h"
#include "index/parser/parser_messages.h"
#include "index/parser/record_format.h"

namespace athup::index {

FieldDefinitions::FieldDefinitions(RecordFormat& parser) : m_parser(parser) {}

FieldDefinition& FieldDefinitions::add() {
  auto name = m_parser.recordFormatName() + "_" + std::to_string(m_items.size());
  m_items.push_back(std::make_unique<FieldDefinition>(*this, std::move(name)));
  structureChanged();
  return *m_items.back();
}

FieldDefinition& FieldDefinitions::add(std::string name, int size, FieldAlignment alignment,
                                       char fillChar, bool autoFilterFillChar) {
  FieldDefinition& def = add();
  def.setFieldName(std::move(name));
  def.setSize(size);
  def.setAlignment(alignment);
  def.setFillChar(fillChar);
  def.setAutoFilterFillChar(autoFilterFillChar);
  return def;
}

void FieldDefinitions::remove(int index) {
  (void)item(index);  // range check with the usual text
  m_items.erase(m_items.begin() + index);
  structureChanged();
}

void FieldDefinitions::clear() {
  m_items.clear();
  structureChanged();
}

FieldDefinition& FieldDefinitions::item(int index) {
  if (index < 0 || index >= count()) throw Error(badFieldIndexMessage(index));
  return *m_items[static_cast<std::size_t>(index)];
}

const FieldDefinition& FieldDefinitions::item(int index) const {
  if (index < 0 || index >= count()) throw Error(badFieldIndexMessage(index));
  return *m_items[static_cast<std::size_t>(index)];
}

int FieldDefinitions::indexOf(std::string_view name) const {
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i]->fieldName() == name) return static_cast<int>(i);
  }
  return -1;
}

int FieldDefinitions::indexOf(const FieldDefinition* def) const {
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i].get() == def) return static_cast<int>(i);
  }
  return -1;
}

void FieldDefinitions::computeStarts() const {
  m_starts.assign(m_items.size() + 1, 1);
  // Widths are summed in 64 bits: a format of absurd widths must not wrap into small starts.
  long long position = 1;
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    m_starts[i] = static_cast<int>(std::min<long long>(position, 0x7FFFFFFF));
    position += m_items[i]->size();
  }
  m_starts.back() = static_cast<int>(std::min<long long>(position, 0x7FFFFFFF));
  m_startsValid = true;
}

int FieldDefinitions::startOf(int index) const {
  if (!m_startsValid) computeStarts();
  if (index < 0 || index >= count()) return 1;
  return m_starts[static_cast<std::size_t>(index)];
}

int FieldDefinitions::recordLength() const {
  if (!m_startsValid) computeStarts();
  return m_starts.back() - 1;
}

void FieldDefinitions::renameFormat(const std::string& oldName, const std::string& newName) {
  const std::string prefix = oldName + "_";
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i]->fieldName().starts_with(prefix)) {
      m_items[i]->setFieldName(newName + "_" + std::to_string(i));
    }
  }
}

void FieldDefinitions::structureChanged() {
  m_startsValid = false;
  m_parser.rebuildFields();
}

}  // namespace athup::index
