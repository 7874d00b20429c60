#pragma once

#include <string>

#include "index/parser/field_definition.h"

namespace athup::index {

class RecordFormat;

// A field of the current record: links the parser with one definition, holds nothing else.
// Values are the raw Big5 bytes of the record unless the accessor says otherwise.
class RecordField {
 public:
  RecordField(const RecordFormat& parser, const FieldDefinition& def)
      : m_parser(parser), m_def(def) {}

  [[nodiscard]] const FieldDefinition& definition() const { return m_def; }

  // The bytes of the record at the field's place (shorter or empty where the record ends early).
  [[nodiscard]] std::string rawText() const;
  // RawText without its fill characters when the definition filters them.
  [[nodiscard]] std::string asString() const;
  // AsString converted from Big5 to UTF-8.
  [[nodiscard]] std::string asUtf8() const;
  // AsString as a number with four decimals; 0 when it is not one.
  [[nodiscard]] double asCurrency() const;
  // True when AsString is empty or the field has no width.
  [[nodiscard]] bool isNull() const;

 private:
  const RecordFormat& m_parser;
  const FieldDefinition& m_def;
};

}  // namespace athup::index
