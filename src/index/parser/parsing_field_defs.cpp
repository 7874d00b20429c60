#include "index/parser/parsing_field_defs.h"

#include <algorithm>

#include "common/errors.h"
#include "index/parser/custom_info_parsing.h"
#include "index/parser/parser_messages.h"

namespace athup::index {

TParsingFieldDefs::TParsingFieldDefs(TCustomInfoParsing& parser) : m_parser(parser) {}

TParsingFieldDef& TParsingFieldDefs::Add() {
  auto name = m_parser.RecordFormatName() + "_" + std::to_string(m_items.size());
  m_items.push_back(std::make_unique<TParsingFieldDef>(*this, std::move(name)));
  structureChanged();
  return *m_items.back();
}

TParsingFieldDef& TParsingFieldDefs::add(std::string name, int size, TParsingAlignment alignment,
                                         char fillChar, bool autoFilterFillChar) {
  TParsingFieldDef& def = Add();
  def.setFieldName(std::move(name));
  def.setSize(size);
  def.setAlignment(alignment);
  def.setFillChar(fillChar);
  def.setAutoFilterFillChar(autoFilterFillChar);
  return def;
}

void TParsingFieldDefs::Delete(int index) {
  (void)Items(index);  // range check with the usual text
  m_items.erase(m_items.begin() + index);
  structureChanged();
}

void TParsingFieldDefs::Clear() {
  m_items.clear();
  structureChanged();
}

TParsingFieldDef& TParsingFieldDefs::Items(int index) {
  if (index < 0 || index >= Count()) throw Error(badFieldIndexMessage(index));
  return *m_items[static_cast<std::size_t>(index)];
}

const TParsingFieldDef& TParsingFieldDefs::Items(int index) const {
  if (index < 0 || index >= Count()) throw Error(badFieldIndexMessage(index));
  return *m_items[static_cast<std::size_t>(index)];
}

int TParsingFieldDefs::IndexOf(std::string_view name) const {
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i]->FieldName() == name) return static_cast<int>(i);
  }
  return -1;
}

int TParsingFieldDefs::indexOf(const TParsingFieldDef* def) const {
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i].get() == def) return static_cast<int>(i);
  }
  return -1;
}

void TParsingFieldDefs::computeStarts() const {
  m_starts.assign(m_items.size() + 1, 1);
  // Widths are summed in 64 bits: a format of absurd widths must not wrap into small starts.
  long long position = 1;
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    m_starts[i] = static_cast<int>(std::min<long long>(position, 0x7FFFFFFF));
    position += m_items[i]->Size();
  }
  m_starts.back() = static_cast<int>(std::min<long long>(position, 0x7FFFFFFF));
  m_startsValid = true;
}

int TParsingFieldDefs::startOf(int index) const {
  if (!m_startsValid) computeStarts();
  if (index < 0 || index >= Count()) return 1;
  return m_starts[static_cast<std::size_t>(index)];
}

int TParsingFieldDefs::RecordLength() const {
  if (!m_startsValid) computeStarts();
  return m_starts.back() - 1;
}

void TParsingFieldDefs::renameFormat(const std::string& oldName, const std::string& newName) {
  const std::string prefix = oldName + "_";
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i]->FieldName().starts_with(prefix)) {
      m_items[i]->setFieldName(newName + "_" + std::to_string(i));
    }
  }
}

void TParsingFieldDefs::structureChanged() {
  m_startsValid = false;
  m_parser.rebuildFields();
}

}  // namespace athup::index
