#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Number checks and decoding for the fields of filing files.
namespace athup::common {

// The business administration number check: exactly 8 digits, weights 1 2 1 2 1 2 4 1, each
// product adding its tens and units digit; valid when the sum S is a multiple of 10, or when the
// 7th digit is 7 and S + 1 is (its product 28 may count as 1 instead of 10).
[[nodiscard]] bool isValidBan(std::string_view ban);

// A decoded number field and, when the field was not clean, the warning the flow shows the user
// ("檔案內數值欄位: <field> ，含有非數值型態字元，請修正後再執行審核作業 !!"); empty otherwise.
struct DecodedNumber {
  std::int64_t value = 0;
  std::string warning;
};

// Decodes a zoned-decimal field whose last character carries the last digit and the sign:
// '0'..'9' and '{', 'A'..'I' positive; '}', 'J'..'R' negative. A last character outside these
// gives 0, and so does an empty field.
// When the characters before the last are not all digits but read as a whole number once leading
// blanks are skipped (an optional '+' or '-' and digits, as "  12" or "-0012"), the result carries
// the warning, and the value decoded from them (a leading '-' turns the sign over). Otherwise
// (including a number beyond 64 bits) throws athup::Error with the "non-numeric data" text.
[[nodiscard]] DecodedNumber decodeSignedNumber(std::string_view field);

}  // namespace athup::common
