#pragma once

#include <string>
#include <string_view>

namespace athup::index {

// A signed zoned number of the fixed-asset list: the last character carries the last digit and
// the sign ("0".."9" and "{" positive digits, "A".."I" +1..+9, "}" -0, "J".."R" -1..-9).
struct SignedZoned {
  double value = 0;
  // The characters before the last were not all digits; the value was still read from them.
  bool leadingNotDigits = false;
};

// Reads a signed zoned number; an all-blank text is 0. When the leading part is not all digits
// but still reads as a whole number (blanks around it), the result says so. When it reads as no
// number at all, or the last character is no zoned digit, raises athup::Error
// 資料內含"<text>":非數值資料型態！ (the text shown as UTF-8).
[[nodiscard]] SignedZoned parseSignedZoned(std::string_view text);

// Whether the characters before the last are all digits (an all-blank text counts as such).
[[nodiscard]] bool hasDigitLeadingPart(std::string_view text);

// The message shown for a signed zoned number whose leading part is not all digits.
[[nodiscard]] std::string nonNumericFieldMessage(std::string_view text);

}  // namespace athup::index
