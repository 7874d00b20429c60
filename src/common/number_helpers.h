#pragma once

#include <cstdint>
#include <string_view>

#include "common/interaction.h"

// Number checks and decoding for the fields of filing files.
namespace athup::common {

// The business administration number check: exactly 8 digits, weights 1 2 1 2 1 2 4 1, each
// product adding its tens and units digit; valid when the sum S is a multiple of 10, or when the
// 7th digit is 7 and S + 1 is (its product 28 may count as 1 instead of 10).
[[nodiscard]] bool isValidBan(std::string_view ban);

// Decodes a zoned-decimal field whose last character carries the last digit and the sign:
// '0'..'9' and '{', 'A'..'I' positive; '}', 'J'..'R' negative. A last character outside these
// gives 0, and so does an empty field.
// When the characters before the last are not all digits but read as a number once leading
// blanks are skipped, the "non-numeric characters in the file" message is shown through `ui` and
// the value decoded from them is returned. Otherwise (including a number beyond 64 bits) throws
// athup::Error with the "non-numeric data" text.
[[nodiscard]] std::int64_t decodeSignedNumber(std::string_view field, Interaction& ui);

}  // namespace athup::common
