#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "index/parser/field_definitions.h"
#include "index/parser/record_field.h"

namespace athup::index {

// A record format and the fields of the current record; the file handling is in RecordReader.
class RecordFormat {
 public:
  RecordFormat();
  virtual ~RecordFormat();
  RecordFormat(const RecordFormat&) = delete;
  RecordFormat& operator=(const RecordFormat&) = delete;

  [[nodiscard]] const std::string& recordFormatName() const { return m_recordFormatName; }
  // Renames the definitions still named after the old format name.
  void setRecordFormatName(std::string name);

  [[nodiscard]] FieldDefinitions& fieldDefinitions() { return m_fieldDefs; }
  [[nodiscard]] const FieldDefinitions& fieldDefinitions() const { return m_fieldDefs; }

  [[nodiscard]] int fieldCount() const { return static_cast<int>(m_fields.size()); }
  // Exact, case-sensitive name; an unknown one raises athup::Error 錯誤的欄位名稱"<name>".
  [[nodiscard]] const RecordField& fieldByName(std::string_view name) const;
  // An index out of range raises athup::Error 錯誤的欄位索引"<index>".
  [[nodiscard]] const RecordField& field(int index) const;

  // The current record as raw bytes.
  [[nodiscard]] const std::string& recordText() const { return m_recordText; }

 protected:
  void setRecordText(std::string text) { m_recordText = std::move(text); }

 private:
  friend class FieldDefinitions;
  void rebuildFields();

  std::string m_recordFormatName = "Untitled";
  FieldDefinitions m_fieldDefs;
  std::vector<std::unique_ptr<RecordField>> m_fields;
  std::string m_recordText;
};

}  // namespace athup::index
