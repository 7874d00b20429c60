#include "index/parser/field_type.h"

#include <array>

namespace athup::index {

std::string fieldTypeName(FieldType type) {
  static constexpr std::array<const char*, 26> kNames = {
      "ftUnknown",    "ftString",     "ftSmallint", "ftInteger",     "ftWord",   "ftBoolean",
      "ftFloat",      "ftCurrency",   "ftBCD",      "ftDate",        "ftTime",   "ftDateTime",
      "ftBytes",      "ftVarBytes",   "ftAutoInc",  "ftBlob",        "ftMemo",   "ftGraphic",
      "ftFmtMemo",    "ftParadoxOle", "ftDBaseOle", "ftTypedBinary", "ftCursor", "ftFixedChar",
      "ftWideString", "ftLargeint"};
  const auto index = static_cast<std::size_t>(type);
  return index < kNames.size() ? kNames[index] : "ftUnknown";
}

bool isAcceptedFieldType(FieldType type) {
  switch (type) {
    case FieldType::ftString:
    case FieldType::ftSmallint:
    case FieldType::ftInteger:
    case FieldType::ftWord:
    case FieldType::ftBoolean:
    case FieldType::ftFloat:
    case FieldType::ftCurrency:
    case FieldType::ftDate:
    case FieldType::ftTime:
    case FieldType::ftDateTime:
    case FieldType::ftWideString:
    case FieldType::ftLargeint:
      return true;
    default:
      return false;
  }
}

}  // namespace athup::index
