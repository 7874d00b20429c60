#pragma once

#include <string>

#include "index/parser/field_type.h"

namespace athup::index {

class FieldDefinitions;

enum class FieldAlignment { Left, Right };

// One field of a record format: a run of Size bytes starting right after the fields before it.
class FieldDefinition {
 public:
  FieldDefinition(FieldDefinitions& owner, std::string name);
  FieldDefinition(const FieldDefinition&) = delete;
  FieldDefinition& operator=(const FieldDefinition&) = delete;

  [[nodiscard]] FieldAlignment alignment() const { return m_alignment; }
  void setAlignment(FieldAlignment alignment) { m_alignment = alignment; }

  [[nodiscard]] FieldType fieldType() const { return m_fieldType; }
  // A type outside the accepted set raises athup::Error and leaves the type as it was.
  void setFieldType(FieldType type);

  [[nodiscard]] char fillChar() const { return m_fillChar; }
  void setFillChar(char fill) { m_fillChar = fill; }

  // When set, the value as text loses its fill characters: a right-aligned field the leading
  // ones, a left-aligned field every one of them, wherever it stands.
  [[nodiscard]] bool autoFilterFillChar() const { return m_autoFilterFillChar; }
  void setAutoFilterFillChar(bool on) { m_autoFilterFillChar = on; }

  [[nodiscard]] const std::string& fieldName() const { return m_fieldName; }
  void setFieldName(std::string name) { m_fieldName = std::move(name); }

  // Width in bytes; a negative width counts as 0.
  [[nodiscard]] int size() const { return m_size; }
  void setSize(int size);

  // 1-based start: 1 + the widths of the fields before it.
  [[nodiscard]] int startPosition() const;
  [[nodiscard]] int index() const;

  // "BAN <8 ftString>"
  [[nodiscard]] std::string displayName() const;

 private:
  FieldDefinitions& m_owner;
  FieldAlignment m_alignment = FieldAlignment::Left;
  FieldType m_fieldType = FieldType::ftString;
  char m_fillChar = ' ';
  bool m_autoFilterFillChar = true;
  std::string m_fieldName;
  int m_size = 0;
};

}  // namespace athup::index
