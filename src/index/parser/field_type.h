#pragma once

#include <string>

namespace athup::index {

// Field types of a record format. They only label a field: values are read as text or as a
// number by the caller's choice.
enum class FieldType {
  ftUnknown,
  ftString,
  ftSmallint,
  ftInteger,
  ftWord,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftBytes,
  ftVarBytes,
  ftAutoInc,
  ftBlob,
  ftMemo,
  ftGraphic,
  ftFmtMemo,
  ftParadoxOle,
  ftDBaseOle,
  ftTypedBinary,
  ftCursor,
  ftFixedChar,
  ftWideString,
  ftLargeint,
};

// The type's name as written in code ("ftString").
[[nodiscard]] std::string fieldTypeName(FieldType type);

// Whether a record format may declare a field of this type.
[[nodiscard]] bool isAcceptedFieldType(FieldType type);

}  // namespace athup::index
