#pragma once

#include <string>

#include "index/parser/parsing_field_def.h"

namespace athup::index {

class TCustomInfoParsing;

// A field of the current record: links the parser with one definition, holds nothing else.
// Values are the raw Big5 bytes of the record unless the accessor says otherwise.
class TParsingField {
 public:
  TParsingField(const TCustomInfoParsing& parser, const TParsingFieldDef& def)
      : m_parser(parser), m_def(def) {}

  [[nodiscard]] const TParsingFieldDef& FieldDef() const { return m_def; }

  // The bytes of the record at the field's place (shorter or empty where the record ends early).
  [[nodiscard]] std::string RawText() const;
  // RawText without its fill characters when the definition filters them.
  [[nodiscard]] std::string AsString() const;
  // AsString converted from Big5 to UTF-8.
  [[nodiscard]] std::string AsUtf8() const;
  // AsString as a number with four decimals; 0 when it is not one.
  [[nodiscard]] double AsCurrency() const;
  // True when AsString is empty or the field has no width.
  [[nodiscard]] bool IsNull() const;

 private:
  const TCustomInfoParsing& m_parser;
  const TParsingFieldDef& m_def;
};

}  // namespace athup::index
