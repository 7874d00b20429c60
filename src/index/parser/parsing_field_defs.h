#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "index/parser/parsing_field_def.h"

namespace athup::index {

class TCustomInfoParsing;

// The ordered field definitions of a record format, owned here. Adding or removing one rebuilds
// the parser's live fields (references to fields taken before are then stale).
class TParsingFieldDefs {
 public:
  explicit TParsingFieldDefs(TCustomInfoParsing& parser);
  TParsingFieldDefs(const TParsingFieldDefs&) = delete;
  TParsingFieldDefs& operator=(const TParsingFieldDefs&) = delete;

  // A new definition named RecordFormatName + "_" + its index ("Untitled_0").
  TParsingFieldDef& Add();
  // A new definition with its usual settings in one call.
  TParsingFieldDef& add(std::string name, int size,
                        TParsingAlignment alignment = TParsingAlignment::paLeft,
                        char fillChar = ' ', bool autoFilterFillChar = true);
  void Delete(int index);
  void Clear();

  [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
  // An index out of range raises athup::Error 錯誤的欄位索引"<index>".
  [[nodiscard]] TParsingFieldDef& Items(int index);
  [[nodiscard]] const TParsingFieldDef& Items(int index) const;
  // -1 when no definition has exactly that name.
  [[nodiscard]] int IndexOf(std::string_view name) const;

  // The sum of the widths: the record length.
  [[nodiscard]] int RecordLength() const;
  [[nodiscard]] int startOf(int index) const;
  [[nodiscard]] int indexOf(const TParsingFieldDef* def) const;

  // Renames "<old>_..." definitions to "<new>_<index>" when the record format is renamed.
  void renameFormat(const std::string& oldName, const std::string& newName);

  // A width changed: starts are computed again on next use.
  void layoutChanged() { m_startsValid = false; }

 private:
  void structureChanged();
  void computeStarts() const;

  TCustomInfoParsing& m_parser;
  std::vector<std::unique_ptr<TParsingFieldDef>> m_items;
  mutable std::vector<int> m_starts;  // one more entry than items: the last is 1 + record length
  mutable bool m_startsValid = false;
};

}  // namespace athup::index
