#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "index/parser/parsing_field.h"
#include "index/parser/parsing_field_defs.h"

namespace athup::index {

// A record format and the fields of the current record; the file handling is in TFileParsing.
class TCustomInfoParsing {
 public:
  TCustomInfoParsing();
  virtual ~TCustomInfoParsing();
  TCustomInfoParsing(const TCustomInfoParsing&) = delete;
  TCustomInfoParsing& operator=(const TCustomInfoParsing&) = delete;

  [[nodiscard]] const std::string& RecordFormatName() const { return m_recordFormatName; }
  // Renames the definitions still named after the old format name.
  void setRecordFormatName(std::string name);

  [[nodiscard]] TParsingFieldDefs& FieldDefs() { return m_fieldDefs; }
  [[nodiscard]] const TParsingFieldDefs& FieldDefs() const { return m_fieldDefs; }

  [[nodiscard]] int FieldCount() const { return static_cast<int>(m_fields.size()); }
  // Exact, case-sensitive name; an unknown one raises athup::Error 錯誤的欄位名稱"<name>".
  [[nodiscard]] const TParsingField& FieldByName(std::string_view name) const;
  // An index out of range raises athup::Error 錯誤的欄位索引"<index>".
  [[nodiscard]] const TParsingField& Fields(int index) const;

  // The current record as raw bytes.
  [[nodiscard]] const std::string& RecordText() const { return m_recordText; }

 protected:
  void setRecordText(std::string text) { m_recordText = std::move(text); }

 private:
  friend class TParsingFieldDefs;
  void rebuildFields();

  std::string m_recordFormatName = "Untitled";
  TParsingFieldDefs m_fieldDefs;
  std::vector<std::unique_ptr<TParsingField>> m_fields;
  std::string m_recordText;
};

}  // namespace athup::index
