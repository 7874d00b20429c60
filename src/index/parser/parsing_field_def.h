#pragma once

#include <string>

#include "index/parser/field_type.h"

namespace athup::index {

class TParsingFieldDefs;

enum class TParsingAlignment { paLeft, paRight };

// One field of a record format: a run of Size bytes starting right after the fields before it.
class TParsingFieldDef {
 public:
  TParsingFieldDef(TParsingFieldDefs& owner, std::string name);
  TParsingFieldDef(const TParsingFieldDef&) = delete;
  TParsingFieldDef& operator=(const TParsingFieldDef&) = delete;

  [[nodiscard]] TParsingAlignment Alignment() const { return m_alignment; }
  void setAlignment(TParsingAlignment alignment) { m_alignment = alignment; }

  [[nodiscard]] TFieldType FieldType() const { return m_fieldType; }
  // A type outside the accepted set raises athup::Error and leaves the type as it was.
  void setFieldType(TFieldType type);

  [[nodiscard]] char FillChar() const { return m_fillChar; }
  void setFillChar(char fill) { m_fillChar = fill; }

  // When set, the value as text loses its fill characters: a right-aligned field the leading
  // ones, a left-aligned field every one of them, wherever it stands.
  [[nodiscard]] bool AutoFilterFillChar() const { return m_autoFilterFillChar; }
  void setAutoFilterFillChar(bool on) { m_autoFilterFillChar = on; }

  [[nodiscard]] const std::string& FieldName() const { return m_fieldName; }
  void setFieldName(std::string name) { m_fieldName = std::move(name); }

  // Width in bytes; a negative width counts as 0.
  [[nodiscard]] int Size() const { return m_size; }
  void setSize(int size);

  // 1-based start: 1 + the widths of the fields before it.
  [[nodiscard]] int StartPos() const;
  [[nodiscard]] int Index() const;

  // "BAN <8 ftString>"
  [[nodiscard]] std::string DisplayName() const;

 private:
  TParsingFieldDefs& m_owner;
  TParsingAlignment m_alignment = TParsingAlignment::paLeft;
  TFieldType m_fieldType = TFieldType::ftString;
  char m_fillChar = ' ';
  bool m_autoFilterFillChar = true;
  std::string m_fieldName;
  int m_size = 0;
};

}  // namespace athup::index
