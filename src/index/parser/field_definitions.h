#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "index/parser/field_definition.h"

namespace athup::index {

class RecordFormat;

// The ordered field definitions of a record format, owned here. Adding or removing one rebuilds
// the parser's live fields (references to fields taken before are then stale).
class FieldDefinitions {
 public:
  explicit FieldDefinitions(RecordFormat& parser);
  FieldDefinitions(const FieldDefinitions&) = delete;
  FieldDefinitions& operator=(const FieldDefinitions&) = delete;

  // A new definition named RecordFormatName + "_" + its index ("Untitled_0").
  FieldDefinition& add();
  // A new definition with its usual settings in one call.
  FieldDefinition& add(std::string name, int size, FieldAlignment alignment = FieldAlignment::Left,
                       char fillChar = ' ', bool autoFilterFillChar = true);
  void remove(int index);
  void clear();

  [[nodiscard]] int count() const { return static_cast<int>(m_items.size()); }
  // An index out of range raises athup::Error 錯誤的欄位索引"<index>".
  [[nodiscard]] FieldDefinition& item(int index);
  [[nodiscard]] const FieldDefinition& item(int index) const;
  // -1 when no definition has exactly that name.
  [[nodiscard]] int indexOf(std::string_view name) const;

  // The sum of the widths: the record length.
  [[nodiscard]] int recordLength() const;
  [[nodiscard]] int startOf(int index) const;
  [[nodiscard]] int indexOf(const FieldDefinition* def) const;

  // Renames "<old>_..." definitions to "<new>_<index>" when the record format is renamed.
  void renameFormat(const std::string& oldName, const std::string& newName);

  // A width changed: starts are computed again on next use.
  void layoutChanged() { m_startsValid = false; }

 private:
  void structureChanged();
  void computeStarts() const;

  RecordFormat& m_parser;
  std::vector<std::unique_ptr<FieldDefinition>> m_items;
  mutable std::vector<int> m_starts;  // one more entry than items: the last is 1 + record length
  mutable bool m_startsValid = false;
};

}  // namespace athup::index
