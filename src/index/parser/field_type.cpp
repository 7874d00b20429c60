#include "index/parser/field_type.h"

#include <array>

namespace athup::index {

std::string fieldTypeName(TFieldType type) {
  static constexpr std::array<const char*, 26> kNames = {
      "ftUnknown",    "ftString",     "ftSmallint", "ftInteger",     "ftWord",   "ftBoolean",
      "ftFloat",      "ftCurrency",   "ftBCD",      "ftDate",        "ftTime",   "ftDateTime",
      "ftBytes",      "ftVarBytes",   "ftAutoInc",  "ftBlob",        "ftMemo",   "ftGraphic",
      "ftFmtMemo",    "ftParadoxOle", "ftDBaseOle", "ftTypedBinary", "ftCursor", "ftFixedChar",
      "ftWideString", "ftLargeint"};
  const auto index = static_cast<std::size_t>(type);
  return index < kNames.size() ? kNames[index] : "ftUnknown";
}

bool isAcceptedFieldType(TFieldType type) {
  switch (type) {
    case TFieldType::ftString:
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftWord:
    case TFieldType::ftBoolean:
    case TFieldType::ftFloat:
    case TFieldType::ftCurrency:
    case TFieldType::ftDate:
    case TFieldType::ftTime:
    case TFieldType::ftDateTime:
    case TFieldType::ftWideString:
    case TFieldType::ftLargeint:
      return true;
    default:
      return false;
  }
}

}  // namespace athup::index
